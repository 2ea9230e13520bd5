#include "platform/qt/long_runs.h"

#include <QPlainTextEdit>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextOption>
#include <algorithm>

namespace vell::qt {
namespace {

// Whether the characters from `from` to `to` hold kLongRun characters in a
// row that are not white space (line breaks included). A run never crosses
// a line break, so only lines at least kLongRun long are read: appending
// many short lines copies nothing.
bool HasLongRun(QTextDocument& document, int from, int to) {
  const int last = document.characterCount() - 1;
  from = std::clamp(from, 0, last);
  to = std::clamp(to, from, last);
  if (to - from < kLongRun) return false;
  for (QTextBlock block = document.findBlock(from); block.isValid() && block.position() < to;
       block = block.next()) {
    // The part of the line (its break left out) within from..to.
    const int start = std::max(from, block.position());
    const int end = std::min(to, block.position() + block.length() - 1);
    if (end - start < kLongRun) continue;
    int run = 0;
    const QString text = block.text();
    for (const QChar c : QStringView(text).sliced(start - block.position(), end - start)) {
      if (c.isSpace()) {
        run = 0;
      } else if (++run >= kLongRun) {
        return true;
      }
    }
  }
  return false;
}

}  // namespace

void WrapLongRunsAnywhere(QPlainTextEdit& edit) {
  QTextDocument* document = edit.document();
  // The change is seen before the document's layout lays it out, so a new
  // long run is never laid out word by word.
  QObject::connect(document, &QTextDocument::contentsChange, &edit,
                   [document](int from, int removed, int added) {
                     QTextOption option = document->defaultTextOption();
                     const bool anywhere = option.wrapMode() == QTextOption::WrapAnywhere;
                     bool wanted = anywhere;
                     if (!anywhere) {
                       wanted = HasLongRun(*document, from - kLongRun, from + added + kLongRun);
                     } else if (removed > 0) {
                       wanted = HasLongRun(*document, 0, document->characterCount());
                     }
                     if (wanted == anywhere) return;
                     option.setWrapMode(wanted ? QTextOption::WrapAnywhere
                                               : QTextOption::WrapAtWordBoundaryOrAnywhere);
                     document->setDefaultTextOption(option);
                   });
}

}  // namespace vell::qt
