// Text conversions between UTF-16 and the locale's character set (the "ANSI"
// text of files, the clipboard and other processes), and UTF-8.
//
// The locale's character set is nl_langinfo(CODESET) after
// setlocale(LC_CTYPE, ""); a C, POSIX or plain ASCII locale counts as UTF-8.
// Characters the set cannot hold become '?'; invalid input bytes become U+FFFD.
#pragma once

#include <string>
#include <string_view>

namespace vell::text {

std::string WideToAnsi(std::u16string_view text);
std::u16string AnsiToWide(std::string_view bytes);
// True when the text converts to the locale's character set and back unchanged.
bool AnsiRoundTrips(std::u16string_view text);

std::string WideToUtf8(std::u16string_view text);
std::u16string Utf8ToWide(std::string_view bytes);

// The same conversions with a named character set (e.g. "ISO-8859-1");
// an unknown name converts as UTF-8.
std::string WideToCharset(std::u16string_view text, std::string_view charset);
std::u16string CharsetToWide(std::string_view bytes, std::string_view charset);

// The character set in use, e.g. "UTF-8" or "EUC-JP".
const std::string& AnsiCharset();

// Simple per-unit case mapping of UTF-16 text; the length never changes.
char16_t WideToUpper(char16_t c);
char16_t WideToLower(char16_t c);

}  // namespace vell::text
