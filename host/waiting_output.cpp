#include "host/waiting_output.h"

#include <algorithm>

namespace {

bool IsLatin1(QStringView text) {
  return std::all_of(text.begin(), text.end(), [](QChar c) { return c.unicode() <= 0xFF; });
}

}  // namespace

void WaitingOutput::Add(QStringView text) {
  if (text.isEmpty()) return;
  const bool latin1 = IsLatin1(text);
  if (pieces_.empty() || !pieces_.back().Takes(text, latin1)) {
    pieces_.emplace_back(latin1, std::max(kPieceSize, text.size()));
  }
  pieces_.back().Append(text);
}

WaitingOutput::Piece::Piece(bool latin1, qsizetype capacity) : latin1_(latin1) {
  if (latin1_) {
    narrow_.reserve(capacity);
  } else {
    wide_.reserve(capacity);
  }
}

bool WaitingOutput::Piece::Takes(QStringView text, bool latin1) const {
  const qsizetype size = latin1_ ? narrow_.size() : wide_.size();
  return (latin1 || !latin1_) && size + text.size() <= kPieceSize;
}

void WaitingOutput::Piece::Append(QStringView text) {
  if (!latin1_) {
    wide_ += text;
    return;
  }
  const qsizetype at = narrow_.size();
  narrow_.resize(at + text.size());
  char* out = narrow_.data() + at;
  for (const QChar c : text) *out++ = char(c.unicode());
}

QString WaitingOutput::Piece::Take() {
  if (!latin1_) return std::exchange(wide_, QString());
  QString text = QString::fromLatin1(narrow_);
  narrow_ = QByteArray();
  return text;
}
