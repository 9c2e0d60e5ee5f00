// INI files of the fake PC, read and written with the rules Windows applies
// (GetPrivateProfileStringA / WritePrivateProfileStringA, as Wine implements
// them), on the bytes held by FakeFiles.
//
// Reading:
//  - lines end at LF (a CR before it is white space); white space (space, tab,
//    CR, LF, VT, FF, ^Z) around every line is ignored; a UTF-8 BOM is skipped;
//  - "[name]" starts a section: the name is the text between '[' and the last
//    ']' with the blanks around it removed (Wine 8; "[ T ]" is section "T");
//    a line "[" without ']' is an ordinary line;
//  - any other line is a key: the name is the text before the first '=' with
//    the blanks before '=' removed, the value the text after it with the blanks
//    after '=' removed. Nothing starts a comment inside a value (';' is kept);
//  - section and key names match without regard to ASCII letter case, the
//    requested names trimmed of blanks; only the first section of a name is
//    searched, and its first key of the name counts (a key line without '='
//    then gives the empty text);
//  - the value ends at a 0 byte; a value enclosed in matching quotes ("..." or
//    '...', at least two characters) comes back without them, as Windows and
//    Wine both do; at most 1023 bytes come back (Wine: if the value after the
//    opening quote is longer than 1024, the closing quote is not removed
//    either, it has been cut off);
//  - a missing file (or one held open without sharing), section or key gives
//    the empty text.
// Writing sets the first matching key's line to "name=value" (the value's
// leading blanks removed), else inserts "key=value" after the section's last
// line, else appends "[section]" and the key at the end; every other byte of
// the file is kept. The file goes through FakeFiles::writeAll, so a read-only
// file, one held open or a missing folder fails the write.
#pragma once

#include <string>
#include <vector>

#include "FakeFiles.h"
#include "platform/Platform.h"

namespace kvr::fake {

class FakeProfile : public Profile {
 public:
  explicit FakeProfile(FakeFiles& files) : files_(files) {}
  std::string read(const char* section, const char* key, const char* path) override;
  bool write(const char* section, const char* key, const char* value, const char* path) override;

  // Every call made, one line each ("read SECTION KEY path", "write ...").
  const std::vector<std::string>& log() const { return log_; }
  void clearLog() { log_.clear(); }

 private:
  FakeFiles& files_;
  std::vector<std::string> log_;
};

}  // namespace kvr::fake
