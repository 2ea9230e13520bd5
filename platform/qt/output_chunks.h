// How program output reaches an edit: in chunks that end at a line break or
// when 254 characters are gathered.
#pragma once

#include <QString>
#include <QStringView>
#include <string_view>

namespace vell::qt {

inline constexpr int kOutputChunkCapacity = 254;

// Splits program output into those chunks: CR is dropped, LF ends a line and
// writes the chunk, a chunk is written when it is full, ESC "*" calls clear
// (the chunk gathered so far survives it and is written afterwards), any
// other ESC is dropped. The text ends at its first NUL. Where the chunks
// end shows only in what a clear keeps: a text without ESC is written as one.
template <class Write, class Clear>
void SplitOutput(std::u16string_view text, Write write, Clear clear) {
  // Without an ESC nothing is cleared, so where the chunks end does not
  // matter: the text goes in as one, its CRs left out.
  size_t end = 0;
  bool carriageReturns = false;
  for (; end < text.size(); ++end) {
    const char16_t c = text[end];
    if (c == 0) break;
    if (c == 27) {
      end = std::u16string_view::npos;
      break;
    }
    if (c == u'\r') carriageReturns = true;
  }
  if (end != std::u16string_view::npos) {
    if (end == 0) return;
    const QStringView whole(text.data(), qsizetype(end));
    if (!carriageReturns) {
      write(whole);
      return;
    }
    QString kept = whole.toString();
    kept.remove(QLatin1Char('\r'));
    if (!kept.isEmpty()) write(QStringView(kept));
    return;
  }
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
      write(QStringView(chunk));
      chunk.clear();
    }
  }
  if (!chunk.isEmpty()) write(QStringView(chunk));
}

}  // namespace vell::qt
