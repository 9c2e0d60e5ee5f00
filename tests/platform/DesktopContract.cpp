// What the tool relies on from Desktop, checked against the fake and Windows.
#include <gtest/gtest.h>

#include "World.h"

namespace kvr::contract {
namespace {

TEST(DesktopContract, AbsentWindowsAreNotFound) {
  std::unique_ptr<World> world = MakeWorld();
  Desktop& desktop = world->platform().desktop;
  EXPECT_EQ(desktop.findByClass("KvrNoSuchClass"), 0u);
  EXPECT_EQ(desktop.findByTitle("Kvr no such title"), 0u);
}

TEST(DesktopContract, WindowsAreFoundByExactClassOrTitleInAnyLetterCase) {
  std::unique_ptr<World> world = MakeWorld();
  Desktop& desktop = world->platform().desktop;
  world->openWindow("KvrContractClass", "Kvr contract window");

  const WindowId byClass = desktop.findByClass("KvrContractClass");
  EXPECT_NE(byClass, 0u);
  EXPECT_EQ(desktop.findByClass("KVRCONTRACTCLASS"), byClass);
  EXPECT_EQ(desktop.findByTitle("Kvr contract window"), byClass);
  EXPECT_EQ(desktop.findByTitle("kvr CONTRACT window"), byClass);
  EXPECT_EQ(desktop.findByTitle("Kvr contract"), 0u);
  EXPECT_EQ(desktop.findByTitle("Kvr contract window "), 0u);
  EXPECT_EQ(desktop.findByClass("KvrContract"), 0u);
}

}  // namespace
}  // namespace kvr::contract
