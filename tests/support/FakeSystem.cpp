#include "FakeSystem.h"

#include <iconv.h>

#include <stdexcept>

#include "res/MessageTable.h"

namespace kvr::fake {

std::string Sjis(const std::string& utf8) {
  iconv_t cd = iconv_open("CP932", "UTF-8");
  if (cd == reinterpret_cast<iconv_t>(-1)) throw std::runtime_error("no CP932 converter");
  std::string out(utf8.size() * 2 + 4, '\0');
  char* in = const_cast<char*>(utf8.data());
  std::size_t inLeft = utf8.size();
  char* o = out.data();
  std::size_t outLeft = out.size();
  const std::size_t r = iconv(cd, &in, &inLeft, &o, &outLeft);
  iconv_close(cd);
  if (r == static_cast<std::size_t>(-1)) throw std::runtime_error("not CP932 text: " + utf8);
  out.resize(out.size() - outLeft);
  return out;
}

MutexResult FakeProcess::takeNamedMutex(const char* name) {
  if (mutexFails) return MutexResult::kFailed;
  if (existingMutexes.count(name)) return MutexResult::kAlreadyExists;
  existingMutexes.insert(name);
  mutexesTaken.push_back(name);
  return MutexResult::kCreated;
}

std::size_t FakeProcess::charLength(const char* text) {
  const auto lead = static_cast<unsigned char>(text[0]);
  if (lead == 0) return 0;
  const bool isLead =
      codePage == 932 && ((lead >= 0x81 && lead <= 0x9F) || (lead >= 0xE0 && lead <= 0xFC));
  return isLead && text[1] != '\0' ? 2 : 1;
}

std::string FakeMessages::catalogueText(unsigned id) const {
  for (const auto& row : kMessageTable)
    if (row.id == id) return process_.uiLanguage == 1041 ? Sjis(row.japanese) : row.english;
  return std::string();
}

std::string FakeMessages::loadString(unsigned id, std::size_t capacity) {
  loads.push_back(id);
  std::string text = catalogueText(id);
  if (capacity == 0) return std::string();
  if (text.size() > capacity - 1) text.resize(capacity - 1);
  return text;
}

int FakeMessages::showBox(const char* text, const char* caption, std::uint32_t style) {
  ShownBox box{text, caption, style};
  shown.push_back(box);
  if (whileShown) whileShown(box);
  if (answers.empty()) return box::kIdOk;
  const int answer = answers.front();
  answers.pop_front();
  return answer;
}

}  // namespace kvr::fake
