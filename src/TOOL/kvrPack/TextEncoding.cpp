#include "TextEncoding.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <iconv.h>

#include <cerrno>
#endif

namespace kvr::pack {

#ifdef _WIN32

namespace {

UINT CodePageOf(TextEncoding encoding) {
  switch (encoding) {
    case TextEncoding::kUtf8:
      return CP_UTF8;
    case TextEncoding::kShiftJis:
      return 932;
    case TextEncoding::kAnsi:
      return GetACP();
  }
  return CP_UTF8;
}

}  // namespace

std::optional<std::string> ConvertText(std::string_view text, TextEncoding from, TextEncoding to) {
  if (text.empty()) return std::string();
  const UINT fromPage = CodePageOf(from);
  const UINT toPage = CodePageOf(to);
  const int inLength = static_cast<int>(text.size());
  const int wideLength =
      MultiByteToWideChar(fromPage, MB_ERR_INVALID_CHARS, text.data(), inLength, nullptr, 0);
  if (wideLength <= 0) return std::nullopt;
  std::wstring wide(static_cast<std::size_t>(wideLength), L'\0');
  MultiByteToWideChar(fromPage, MB_ERR_INVALID_CHARS, text.data(), inLength, wide.data(),
                      wideLength);

  // UTF-8 represents every character; for the others a default character
  // means the text had no exact counterpart.
  const bool toUtf8 = toPage == CP_UTF8;
  const DWORD flags = toUtf8 ? 0 : WC_NO_BEST_FIT_CHARS;
  BOOL usedDefault = FALSE;
  BOOL* const usedDefaultOut = toUtf8 ? nullptr : &usedDefault;
  const int outLength = WideCharToMultiByte(toPage, flags, wide.data(), wideLength, nullptr, 0,
                                            nullptr, usedDefaultOut);
  if (outLength <= 0 || usedDefault) return std::nullopt;
  std::string out(static_cast<std::size_t>(outLength), '\0');
  WideCharToMultiByte(toPage, flags, wide.data(), wideLength, out.data(), outLength, nullptr,
                      usedDefaultOut);
  return out;
}

#else

namespace {

const char* IconvName(TextEncoding encoding) {
  return encoding == TextEncoding::kShiftJis ? "CP932" : "UTF-8";
}

}  // namespace

std::optional<std::string> ConvertText(std::string_view text, TextEncoding from, TextEncoding to) {
  if (text.empty()) return std::string();
  // UTF-8 to UTF-8 still goes through the converter, which refuses bytes that
  // are not UTF-8.
  iconv_t converter = iconv_open(IconvName(to), IconvName(from));
  if (converter == reinterpret_cast<iconv_t>(-1)) return std::nullopt;
  std::string out;
  char* in = const_cast<char*>(text.data());
  std::size_t inLeft = text.size();
  char block[256];
  bool exact = true;
  while (inLeft > 0) {
    char* o = block;
    std::size_t outLeft = sizeof block;
    const std::size_t result = iconv(converter, &in, &inLeft, &o, &outLeft);
    out.append(block, sizeof block - outLeft);
    if (result == static_cast<std::size_t>(-1) ? errno != E2BIG : result != 0) {
      exact = false;  // invalid or incomplete input, or no exact counterpart
      break;
    }
  }
  iconv_close(converter);
  if (!exact) return std::nullopt;
  return out;
}

#endif

}  // namespace kvr::pack
