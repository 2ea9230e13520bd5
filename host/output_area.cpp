#include "host/output_area.h"

#include <QApplication>
#include <QEvent>
#include <QPlainTextEdit>
#include <QTextCursor>
#include <utility>

#include "platform/qt/memo_text.h"
#include "platform/qt/output_chunks.h"

// Writes the waiting output when the area, or any window (the area may be
// in a program's form), is shown or restored.
class OutputArea::ShowWatch : public QObject {
 public:
  explicit ShowWatch(OutputArea& area) : area_(area) { qApp->installEventFilter(this); }
  ~ShowWatch() override { qApp->removeEventFilter(this); }
  ShowWatch(const ShowWatch&) = delete;
  ShowWatch& operator=(const ShowWatch&) = delete;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    const QEvent::Type type = event->type();
    if ((type == QEvent::Show || type == QEvent::WindowStateChange) && area_.HasPending()) {
      area_.FlushIfShown();
    }
    return QObject::eventFilter(watched, event);
  }

 private:
  OutputArea& area_;
};

OutputArea::OutputArea(QPlainTextEdit& memo)
    : memo_(memo), watch_(std::make_unique<ShowWatch>(*this)) {}

OutputArea::~OutputArea() = default;

void OutputArea::Append(std::u16string_view text) {
  vell::qt::SplitOutput(
      text, [this](QStringView chunk) { pending_.Add(chunk); },
      [this] {
        pending_.Clear();
        memo_.clear();
      });
}

bool OutputArea::Shown() const { return memo_.isVisible() && !memo_.window()->isMinimized(); }

void OutputArea::FlushIfShown() {
  if (HasPending() && Shown()) WritePending();
}

// Output goes where the caret is, and the caret follows it.
void OutputArea::WritePending() {
  QTextCursor cursor = memo_.textCursor();
  pending_.Drain([&cursor](const QString& text) { cursor.insertText(text); });
  memo_.setTextCursor(cursor);
}

void OutputArea::Clear() {
  pending_.Clear();
  memo_.clear();
}

std::u16string OutputArea::Text() {
  Flush();
  return vell::qt::MemoText(memo_);
}
