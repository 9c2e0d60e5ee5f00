// One problem found in a settings file, with the key it concerns.
#pragma once

#include <ostream>
#include <string>
#include <vector>

namespace kvr::pack {

struct Problem {
  std::string key;  // empty when the problem concerns the file as a whole
  std::string text;
};

// One line per problem on `err`: "FILE: KEY: text" (or "FILE: text").
inline void ReportProblems(std::ostream& err, const std::string& file,
                           const std::vector<Problem>& problems) {
  for (const Problem& problem : problems) {
    err << file << ": ";
    if (!problem.key.empty()) err << problem.key << ": ";
    err << problem.text << '\n';
  }
}

}  // namespace kvr::pack
