#include "tests/fuzz/fuzz_input.h"

#include <string_view>

#include "platform/text_codec.h"

using namespace vell;

std::u16string FuzzBytesToText(const uint8_t* data, size_t size) {
  std::u16string text =
      vell::text::Utf8ToWide(std::string_view(reinterpret_cast<const char*>(data), size));
  const size_t nul = text.find(u'\0');
  if (nul != std::u16string::npos) text.resize(nul);
  return text;
}
