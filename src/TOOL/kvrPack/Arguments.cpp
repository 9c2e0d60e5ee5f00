#include "Arguments.h"

namespace kvr::pack {

std::optional<std::string> Arguments::value(const std::string& name) const {
  const auto found = values.find(name);
  if (found == values.end() || found->second.empty()) return std::nullopt;
  return found->second.back();
}

std::vector<std::string> Arguments::all(const std::string& name) const {
  const auto found = values.find(name);
  return found == values.end() ? std::vector<std::string>() : found->second;
}

std::optional<Arguments> ParseArguments(const std::vector<std::string>& args,
                                        const std::set<std::string>& valueOptions,
                                        const std::set<std::string>& flagOptions,
                                        std::string& error) {
  Arguments parsed;
  bool optionsEnded = false;
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& arg = args[i];
    if (optionsEnded || arg.size() < 2 || arg.compare(0, 2, "--") != 0) {
      parsed.positional.push_back(arg);
    } else if (arg == "--") {
      optionsEnded = true;
    } else if (valueOptions.count(arg)) {
      if (i + 1 >= args.size()) {
        error = "option " + arg + " needs a value";
        return std::nullopt;
      }
      parsed.values[arg].push_back(args[++i]);
    } else if (flagOptions.count(arg)) {
      parsed.flags.insert(arg);
    } else {
      error = "unknown option " + arg;
      return std::nullopt;
    }
  }
  return parsed;
}

}  // namespace kvr::pack
