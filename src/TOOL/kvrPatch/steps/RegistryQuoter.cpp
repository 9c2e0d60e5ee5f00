#include "steps/RegistryQuoter.h"

#include <optional>
#include <string_view>

#include "settings/TextRules.h"

namespace kvr {
namespace {

constexpr std::size_t kQueryCapacity = 1024;
// The quoted text, terminator included, must fit this many bytes.
constexpr std::size_t kQuotedCapacity = 1024;

// Quotes one value. False on any failure; the key is closed on every path.
bool QuoteEntry(const RegistryEntry& entry, Registry& registry) {
  const std::optional<RootKey> root = RootKeyNamed(entry.hive.view());
  if (!root) return false;
  const std::unique_ptr<RegistryKey> key = registry.open(*root, entry.keyPath.c_str());
  if (!key) return false;
  const std::optional<RegistryValue> value = key->query(entry.valueName.c_str(), kQueryCapacity);
  if (!value) return false;

  // Only text values are quoted: writing text into a number, binary or list
  // value would destroy it.
  if (value->type != kRegSz && value->type != kRegExpandSz) return false;

  // The text is the data up to its first NUL.
  const std::string_view data(reinterpret_cast<const char*>(value->data.data()),
                              value->data.size());
  const std::string_view text = data.substr(0, data.find('\0'));
  const std::size_t length = text.size();
  if (text.empty()) return true;

  const bool quoteFront = text.front() != '"';
  // The last character is tested after the opening quote may have been added,
  // so a lone double quote counts as quoted at both ends.
  const bool quoteBack = text.back() != '"';
  if (!quoteFront && !quoteBack) return true;

  // A text that does not fit with its quotes is refused, never cut.
  const std::size_t quotedLength = length + (quoteFront ? 1 : 0) + (quoteBack ? 1 : 0);
  if (quotedLength > kQuotedCapacity - 1) return false;
  FixedText<kQuotedCapacity> quoted;
  if (quoteFront) quoted.append("\"");
  quoted.append(text);
  if (quoteBack) quoted.append("\"");
  // Written with the type it had; the length counts no terminator.
  return key->set(entry.valueName.c_str(), value->type, quoted.c_str(), quoted.size());
}

}  // namespace

std::optional<RootKey> RootKeyNamed(std::string_view hive) {
  if (hive == "HKEY_CLASSES_ROOT") return RootKey::kClassesRoot;
  if (hive == "HKEY_CURRENT_USER") return RootKey::kCurrentUser;
  if (hive == "HKEY_LOCAL_MACHINE") return RootKey::kLocalMachine;
  if (hive == "HKEY_USERS") return RootKey::kUsers;
  return std::nullopt;
}

Outcome RegistryQuoter(const RunContext& context, Registry& registry,
                       FixedText<1024>& failedValue) {
  return CatchAtEdge([&]() -> Outcome {
    for (const RegistryEntry& entry : context.registries) {
      if (ParseSettingsNumber(entry.mode.view()) != 0) continue;
      if (!QuoteEntry(entry, registry)) {
        failedValue.assign(entry.hive.view());
        failedValue.append("\\");
        failedValue.append(entry.keyPath.view());
        failedValue.append("\\");
        failedValue.append(entry.valueName.view());
        return outcome::kRegistryFailed;
      }
    }
    return outcome::kSuccess;
  });
}

}  // namespace kvr
