#include "settings/ProfileText.h"

namespace kvr {
namespace {

constexpr std::size_t kReadLimit = 1023;  // a buffer of 1024 with its terminator

bool IsSpace(char c) {
  return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\v' || c == '\f' || c == 0x1A;
}

std::string_view Trim(std::string_view text) {
  while (!text.empty() && IsSpace(text.front())) text.remove_prefix(1);
  while (!text.empty() && IsSpace(text.back())) text.remove_suffix(1);
  return text;
}

std::string_view TrimLeft(std::string_view text) {
  while (!text.empty() && IsSpace(text.front())) text.remove_prefix(1);
  return text;
}

// Lines [first, last) of the first section named `section`; nullopt when none.
struct Span {
  std::size_t first, last;
};
std::optional<Span> FindSection(const std::vector<ProfileLine>& lines, std::string_view section) {
  for (std::size_t i = 0; i < lines.size(); ++i) {
    if (!lines[i].section || lines[i].name.empty() || !SameProfileName(lines[i].name, section))
      continue;
    std::size_t last = i + 1;
    while (last < lines.size() && !lines[last].section) ++last;
    return Span{i + 1, last};
  }
  return std::nullopt;
}

std::optional<std::size_t> FindKey(const std::vector<ProfileLine>& lines, Span span,
                                   std::string_view key) {
  for (std::size_t i = span.first; i < span.last; ++i)
    if (!lines[i].blank && SameProfileName(lines[i].name, key)) return i;
  return std::nullopt;
}

}  // namespace

std::vector<ProfileLine> ParseProfileText(std::string_view bytes) {
  std::vector<ProfileLine> lines;
  std::size_t at = 0;
  if (bytes.substr(0, 3) == "\xEF\xBB\xBF") at = 3;
  while (at < bytes.size()) {
    ProfileLine line;
    line.begin = at;
    const std::size_t lf = bytes.find('\n', at);
    line.end = lf == std::string_view::npos ? bytes.size() : lf;
    line.next = lf == std::string_view::npos ? bytes.size() : lf + 1;
    at = line.next;
    const std::string_view text = Trim(bytes.substr(line.begin, line.end - line.begin));
    if (text.empty()) {
      line.blank = true;
    } else if (text.front() == '[' && text.rfind(']') != std::string_view::npos) {
      line.section = true;
      line.name = Trim(text.substr(1, text.rfind(']') - 1));
    } else {
      const std::size_t eq = text.find('=');
      if (eq == std::string_view::npos) {
        line.name = text;
      } else {
        line.name = Trim(text.substr(0, eq));
        line.value = TrimLeft(text.substr(eq + 1));
      }
    }
    lines.push_back(line);
  }
  return lines;
}

bool SameProfileName(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    char x = a[i], y = b[i];
    if (x >= 'a' && x <= 'z') x = static_cast<char>(x - 'a' + 'A');
    if (y >= 'a' && y <= 'z') y = static_cast<char>(y - 'a' + 'A');
    if (x != y) return false;
  }
  return true;
}

std::string ProfileReturnedValue(std::string_view value) {
  value = value.substr(0, value.find('\0'));
  bool quoted = false;
  if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
      value.back() == value.front()) {
    quoted = true;
    value.remove_prefix(1);
  }
  std::string out(value.substr(0, kReadLimit));
  // The closing quote goes only when the whole value reached the buffer.
  if (quoted && value.size() <= kReadLimit + 1) out.pop_back();
  return out;
}

std::string ReadProfileValue(std::string_view bytes, std::string_view section,
                             std::string_view key) {
  const std::string_view wantedKey = Trim(key);
  if (wantedKey.empty()) return std::string();
  const std::vector<ProfileLine> lines = ParseProfileText(bytes);
  const auto span = FindSection(lines, Trim(section));
  if (!span) return std::string();
  const auto at = FindKey(lines, *span, wantedKey);
  if (!at || !lines[*at].value) return std::string();
  return ProfileReturnedValue(*lines[*at].value);
}

std::string WriteProfileValue(std::string bytes, std::string_view section, std::string_view key,
                              std::string_view value) {
  const std::string_view newValue = TrimLeft(value);
  const std::string_view wantedKey = Trim(key);
  const std::vector<ProfileLine> lines = ParseProfileText(bytes);
  const auto span = FindSection(lines, Trim(section));

  if (span) {
    if (const auto at = FindKey(lines, *span, wantedKey)) {
      const ProfileLine& line = lines[*at];
      std::string text = std::string(line.name) + "=" + std::string(newValue);
      // Keep the line's own CR before its LF.
      std::size_t end = line.end;
      if (end > line.begin && bytes[end - 1] == '\r') --end;
      bytes.replace(line.begin, end - line.begin, text);
      return bytes;
    }
    // After the section's last non-blank line (its header when it has none).
    std::size_t after = span->first - 1;
    for (std::size_t i = span->first; i < span->last; ++i)
      if (!lines[i].blank) after = i;
    const ProfileLine& anchor = lines[after];
    std::string text = std::string(wantedKey) + "=" + std::string(newValue) + "\r\n";
    if (anchor.next == anchor.end) text = "\r\n" + text;  // the file's last line had no LF
    bytes.insert(anchor.next, text);
    return bytes;
  }

  std::string text;
  if (!bytes.empty() && bytes.back() != '\n') text += "\r\n";
  text += "[" + std::string(Trim(section)) + "]\r\n" + std::string(wantedKey) + "=" +
          std::string(newValue) + "\r\n";
  bytes += text;
  return bytes;
}

}  // namespace kvr
