#include "platform/text_files.h"

#include <bit>
#include <cstring>

#include "platform/text_codec.h"

namespace vell::text {

namespace {

constexpr bool kLittleEndian = std::endian::native == std::endian::little;

std::u16string DecodeUtf16(std::string_view bytes, bool bigEndian) {
  std::u16string text;
  if (kLittleEndian && !bigEndian) {  // the units as they lie
    text.resize(bytes.size() / 2);
    std::memcpy(text.data(), bytes.data(), text.size() * 2);
    return text;
  }
  text.reserve(bytes.size() / 2);
  for (size_t i = 0; i + 1 < bytes.size(); i += 2) {  // an odd last byte is dropped
    const auto first = static_cast<unsigned char>(bytes[i]);
    const auto second = static_cast<unsigned char>(bytes[i + 1]);
    text += static_cast<char16_t>(bigEndian ? (first << 8 | second) : (second << 8 | first));
  }
  return text;
}

}  // namespace

std::u16string DecodeMarkedText(std::string_view bytes) {
  if (bytes.starts_with("\xEF\xBB\xBF")) return Utf8ToWide(bytes.substr(3));
  if (bytes.starts_with("\xFF\xFE")) return DecodeUtf16(bytes.substr(2), false);
  if (bytes.starts_with("\xFE\xFF")) return DecodeUtf16(bytes.substr(2), true);
  return AnsiToWide(bytes);
}

std::string EncodeUtf16LeWithMark(std::u16string_view text) {
  std::string bytes = "\xFF\xFE";
  if (kLittleEndian) {  // the units as they lie
    bytes.resize(2 + text.size() * 2);
    std::memcpy(bytes.data() + 2, text.data(), text.size() * 2);
    return bytes;
  }
  bytes.reserve(2 + text.size() * 2);
  for (const char16_t c : text) {
    bytes += static_cast<char>(c & 0xFF);
    bytes += static_cast<char>(c >> 8);
  }
  return bytes;
}

}  // namespace vell::text
