// The INI text rules of the Windows profile functions
// (GetPrivateProfileStringA / WritePrivateProfileStringA, as Wine implements
// them), over the bytes of one file. Used wherever the tool's settings files
// are read or written without Windows: the in-memory PC of the tests and
// kvrPack on Linux.
//
// Reading:
//  - lines end at LF (a CR before it is white space); white space (space, tab,
//    CR, LF, VT, FF, ^Z) around every line is ignored; a UTF-8 BOM is skipped;
//  - "[name]" starts a section: the name is the text between '[' and the last
//    ']' with the blanks around it removed ("[ T ]" is section "T"); a line
//    "[" without ']' is an ordinary line;
//  - any other line is a key: the name is the text before the first '=' with
//    the blanks before '=' removed, the value the text after it with the blanks
//    after '=' removed. Nothing starts a comment inside a value (';' is kept);
//  - section and key names match without regard to ASCII letter case, the
//    requested names trimmed of blanks; only the first section of a name is
//    searched, and its first key of the name counts (a key line without '='
//    then gives the empty text);
//  - the value ends at a 0 byte; a value enclosed in matching quotes ("..." or
//    '...', at least two characters) comes back without them; at most 1023
//    bytes come back (if the value after the opening quote is longer than
//    1024, the closing quote is not removed either, it has been cut off).
// Writing sets the first matching key's line to "name=value" (the value's
// leading blanks removed), else inserts "key=value" after the section's last
// line, else appends "[section]" and the key at the end; every other byte of
// the file is kept.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kvr {

// One line of a profile file, as the profile functions see it. The views
// point into the bytes that were parsed.
struct ProfileLine {
  std::size_t begin = 0;  // first byte of the line
  std::size_t end = 0;    // one past its last byte before the LF (or the file's end)
  std::size_t next = 0;   // first byte of the following line
  bool blank = false;
  bool section = false;
  std::string_view name;                  // section or key name
  std::optional<std::string_view> value;  // key value as stored; none without '='
};

std::vector<ProfileLine> ParseProfileText(std::string_view bytes);

// True when the two names are the same to the profile functions.
bool SameProfileName(std::string_view a, std::string_view b);

// What the profile read hands back for a value as stored in the file.
std::string ProfileReturnedValue(std::string_view stored);

// The value of [section] key in these bytes, or the empty text.
std::string ReadProfileValue(std::string_view bytes, std::string_view section,
                             std::string_view key);

// The bytes with [section] key set to `value`.
std::string WriteProfileValue(std::string bytes, std::string_view section, std::string_view key,
                              std::string_view value);

}  // namespace kvr
