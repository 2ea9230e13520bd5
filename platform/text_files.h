// The bytes of text files: read by byte-order mark (UTF-8, UTF-16LE,
// UTF-16BE), else in the locale's character set; written as UTF-16LE with a
// byte-order mark.
#pragma once

#include <string>
#include <string_view>

namespace vell::text {

std::u16string DecodeMarkedText(std::string_view bytes);
std::string EncodeUtf16LeWithMark(std::u16string_view text);

}  // namespace vell::text
