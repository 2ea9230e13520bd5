// How program output reaches an edit: in chunks that end at a line break or
// when 254 characters are gathered.
#pragma once

#include <QString>
#include <string_view>

namespace vell::qt {

inline constexpr int kOutputChunkCapacity = 254;

// Splits program output into those chunks: CR is dropped, LF ends a line and
// writes the chunk, a chunk is written when it is full, ESC "*" calls clear
// (the chunk gathered so far survives it and is written afterwards), any
// other ESC is dropped. The text ends at its first NUL.
template <class Write, class Clear>
void SplitOutput(std::u16string_view text, Write write, Clear clear) {
  QString chunk;
  chunk.reserve(kOutputChunkCapacity + 2);
  for (size_t i = 0; i < text.size(); ++i) {
    const char16_t c = text[i];
    if (c == 0) break;
    if (c == u'\r') continue;
    if (c == 27) {
      if (i + 1 < text.size() && text[i + 1] == u'*') {
        clear();
        ++i;
      }
      continue;
    }
    chunk += QChar(c);
    if (c == u'\n' || chunk.size() >= kOutputChunkCapacity) {
      write(chunk);
      chunk.clear();
    }
  }
  if (!chunk.isEmpty()) write(chunk);
}

}  // namespace vell::qt
