#include <gtest/gtest.h>

#include <functional>
#include <vector>

#include "FakeDesktop.h"
#include "FakeSystem.h"
#include "steps/ProductCloser.h"

namespace kvr {
namespace {

using fake::FakeDesktop;
using fake::Sjis;

const std::string kCreator = Sjis("インストーラ生成ソフト");
const std::string kSecureCreator = Sjis("セキュリティ強化版インストーラ生成ソフト");
const std::string kLogManager = Sjis("ログ情報管理");
const std::string kLogLogin = Sjis("ログ情報管理 ログイン");

std::vector<std::uint32_t> Seconds(int ones, bool settle) {
  std::vector<std::uint32_t> sleeps(static_cast<std::size_t>(ones), 1000);
  if (settle) sleeps.push_back(3000);
  return sleeps;
}

class ProductCloserTest : public ::testing::Test {
 protected:
  fake::FakeClock clock;
  FakeDesktop desktop{clock};
};

struct WindowCase {
  const char* name;
  std::function<void(FakeDesktop&)> script;
  Outcome expected;
  std::size_t lookups;
  std::vector<std::uint32_t> sleeps;
  std::size_t posts;
};

TEST_F(ProductCloserTest, ClosesOneWindowInVirtualTime) {
  const WindowCase cases[] = {
      {"not running", [](FakeDesktop&) {}, 0, 2, Seconds(0, true), 0},
      {"quits at once", [](FakeDesktop& d) { d.quitsAfterPost(d.open("KOVRA", "Kovra"), 0); }, 0, 3,
       Seconds(1, true), 1},
      {"gone at the third lookup of the rounds",
       [](FakeDesktop& d) { d.quitsAfterPost(d.open("KOVRA", "Kovra"), 2500); }, 0, 5,
       Seconds(3, true), 1},
      {"gone in the last round",
       [](FakeDesktop& d) { d.quitsAfterPost(d.open("KOVRA", "Kovra"), 9999); }, 0, 12,
       Seconds(10, true), 1},
      {"ignores WM_QUIT", [](FakeDesktop& d) { d.open("KOVRA", "Kovra"); }, 4, 12,
       Seconds(10, false), 1},
      {"class matched without regard to case", [](FakeDesktop& d) { d.open("kovra", ""); }, 4, 12,
       Seconds(10, false), 1},
      {"absent at first, present at the final lookup",
       [](FakeDesktop& d) {
         d.beforeLookup = [&d](std::size_t n) {
           if (n == 1) d.open("KOVRA", "Kovra");
         };
       },
       4, 2, Seconds(0, false), 0},
      {"gone, then another opens before the final lookup",
       [](FakeDesktop& d) {
         d.quitsAfterPost(d.open("KOVRA", "first"), 1500);
         d.beforeLookup = [&d](std::size_t n) {
           if (n == 3) d.open("KOVRA", "second");
         };
       },
       4, 4, Seconds(2, false), 1},
  };
  for (const WindowCase& test : cases) {
    SCOPED_TRACE(test.name);
    fake::FakeClock clock;
    FakeDesktop desktop(clock);
    test.script(desktop);
    EXPECT_EQ(CloseProductWindow("KOVRA", desktop, clock), test.expected);
    EXPECT_EQ(desktop.lookups(), std::vector<std::string>(test.lookups, "class KOVRA"));
    EXPECT_EQ(clock.sleeps, test.sleeps);
    // Only the window found first is asked to quit, once.
    ASSERT_EQ(desktop.posts().size(), test.posts);
  }
}

TEST_F(ProductCloserTest, MainProductIsLookedUpByClassForKinds0And1) {
  for (const char* kind : {"0", "1x"}) {
    SCOPED_TRACE(kind);
    fake::FakeClock clock;
    FakeDesktop desktop(clock);
    const WindowId window = desktop.open("KOVRA", "");
    desktop.quitsAfterPost(window, 0);
    RunContext context;
    context.target.assign(kind);
    EXPECT_EQ(ProductCloser(context, desktop, clock), 0);
    EXPECT_EQ(desktop.posts(), std::vector<WindowId>{window});
    EXPECT_EQ(desktop.lookups(), std::vector<std::string>(3, "class KOVRA"));
    EXPECT_EQ(clock.sleeps, Seconds(1, true));
  }
}

TEST_F(ProductCloserTest, BothTitlesAreHandledInOrderWhenNeitherIsOpen) {
  struct {
    const char* kind;
    std::string first, second;
  } kinds[] = {{"2", kCreator, kSecureCreator}, {"3", kLogManager, kLogLogin}};
  for (const auto& k : kinds) {
    SCOPED_TRACE(k.kind);
    fake::FakeClock clock;
    FakeDesktop desktop(clock);
    RunContext context;
    context.target.assign(k.kind);
    EXPECT_EQ(ProductCloser(context, desktop, clock), 0);
    const std::vector<std::string> expected = {"title " + k.first, "title " + k.first,
                                               "title " + k.second, "title " + k.second};
    EXPECT_EQ(desktop.lookups(), expected);
    EXPECT_EQ(clock.sleeps, (std::vector<std::uint32_t>{3000, 3000}));
  }
}

TEST_F(ProductCloserTest, FirstTitleStayingStillHandlesTheSecond) {
  desktop.open("AnyClass", kCreator);  // ignores WM_QUIT
  RunContext context;
  context.target.assign("2");
  EXPECT_EQ(ProductCloser(context, desktop, clock), 4);
  EXPECT_EQ(desktop.lookups().size(), 12u + 2u);
  EXPECT_EQ(desktop.lookups().back(), "title " + kSecureCreator);
  EXPECT_EQ(clock.totalSleptMs(), 13000u);
}

TEST_F(ProductCloserTest, SecondTitleStayingGivesFour) {
  desktop.open("AnyClass", kSecureCreator);
  RunContext context;
  context.target.assign("2");
  EXPECT_EQ(ProductCloser(context, desktop, clock), 4);
  EXPECT_EQ(desktop.posts().size(), 1u);
}

TEST_F(ProductCloserTest, LoginTitleMatchesOnlyWithTheAsciiSpace) {
  desktop.open("AnyClass", Sjis("ログ情報管理　ログイン"));  // double-byte space
  RunContext context;
  context.target.assign("3");
  EXPECT_EQ(ProductCloser(context, desktop, clock), 0);
  EXPECT_TRUE(desktop.posts().empty());

  const WindowId login = desktop.open("AnyClass", kLogLogin);
  desktop.quitsAfterPost(login, 0);
  EXPECT_EQ(ProductCloser(context, desktop, clock), 0);
  EXPECT_EQ(desktop.posts(), std::vector<WindowId>{login});
}

TEST_F(ProductCloserTest, OtherKindsLookUpNothing) {
  for (const char* kind : {"", "4", "A"}) {
    SCOPED_TRACE(kind);
    desktop.open("KOVRA", kCreator);
    RunContext context;
    context.target.assign(kind);
    EXPECT_EQ(ProductCloser(context, desktop, clock), 0);
    EXPECT_TRUE(desktop.lookups().empty());
    EXPECT_TRUE(clock.sleeps.empty());
  }
}

}  // namespace
}  // namespace kvr
