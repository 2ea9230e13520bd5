#include "components/widgets/item_lines.h"

namespace vell {

QStringList LinesOfText(const QString& text) {
  QStringList lines;
  const qsizetype size = text.size();
  const QChar* data = text.constData();
  qsizetype start = 0;
  for (qsizetype i = 0; i < size; ++i) {
    const char16_t c = data[i].unicode();
    if (c != u'\r' && c != u'\n') continue;
    lines.append(QString(data + start, i - start));
    if (c == u'\r' && i + 1 < size && data[i + 1] == u'\n') ++i;
    start = i + 1;
  }
  if (start < size) lines.append(QString(data + start, size - start));
  return lines;
}

QString TextOfLines(const QStringList& lines) {
  qsizetype total = 0;
  for (const QString& line : lines) total += line.size() + 1;
  QString text;
  text.reserve(total);
  for (const QString& line : lines) {
    text += line;
    text += u'\n';
  }
  return text;
}

}  // namespace vell
