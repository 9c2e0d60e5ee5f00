// The command line of one kvrPack command: positional arguments, options that
// take a value ("--name VALUE", repeatable) and flags ("--name"). "--" ends
// the options, so a positional argument may start with "--".
#pragma once

#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

namespace kvr::pack {

struct Arguments {
  std::vector<std::string> positional;
  std::map<std::string, std::vector<std::string>> values;
  std::set<std::string> flags;

  bool flag(const std::string& name) const { return flags.count(name) != 0; }
  // The last value given for the option, or nullopt.
  std::optional<std::string> value(const std::string& name) const;
  std::vector<std::string> all(const std::string& name) const;
};

// Parses `args` for a command that knows these options. An option not known,
// or one without its value, gives nullopt and a message in `error`.
std::optional<Arguments> ParseArguments(const std::vector<std::string>& args,
                                        const std::set<std::string>& valueOptions,
                                        const std::set<std::string>& flagOptions,
                                        std::string& error);

}  // namespace kvr::pack
