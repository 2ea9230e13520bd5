// Lines holding a long run without a place to break: both memos show them
// exactly and wrap them anywhere, and return to word wrapping when the run
// is gone.
#include <gtest/gtest.h>

#include <QTextBlock>
#include <QTextLayout>
#include <string>

#include "gui_support.h"
#include "platform/qt/long_runs.h"

using namespace vell::testing;

namespace {

QTextOption::WrapMode Wrap(const QPlainTextEdit& edit) {
  return edit.document()->defaultTextOption().wrapMode();
}

}  // namespace

TEST(LongRuns, TheProgramAreaWrapsALongRunAnywhere) {
  WindowFixture w;
  QPlainTextEdit& prog = *w.form->MemoProg;
  EXPECT_EQ(Wrap(prog), QTextOption::WrapAtWordBoundaryOrAnywhere);
  const std::u16string literal(200000, u'x');
  const std::u16string program = u"PRINT LEN(\"" + literal + u"\")\r\nPRINT \"two words\"";
  vell::qt::SetMemoText(prog, program);
  EXPECT_EQ(Wrap(prog), QTextOption::WrapAnywhere);
  EXPECT_EQ(vell::qt::MemoText(prog), program);
  w.form->show();
  QCoreApplication::processEvents();
  EXPECT_GT(prog.document()->firstBlock().layout()->lineCount(), 1);

  // Runs short of the limit, however many, keep word wrapping.
  std::u16string words;
  for (int i = 0; i < 100; ++i) words += std::u16string(vell::qt::kLongRun - 1, u'w') + u' ';
  vell::qt::SetMemoText(prog, words);
  EXPECT_EQ(Wrap(prog), QTextOption::WrapAtWordBoundaryOrAnywhere);
  // A run that grows past the limit by typing switches; deleting it switches back.
  QTextCursor cursor(prog.document());
  cursor.setPosition(vell::qt::kLongRun - 1);
  cursor.insertText(QStringLiteral("w"));
  EXPECT_EQ(Wrap(prog), QTextOption::WrapAnywhere);
  cursor.deletePreviousChar();
  EXPECT_EQ(Wrap(prog), QTextOption::WrapAtWordBoundaryOrAnywhere);
  EXPECT_EQ(vell::qt::MemoText(prog), words);
}

TEST(LongRuns, TheOutputAreaShowsALongLineExactlyAndWrapsItAnywhere) {
  WindowFixture w;
  QPlainTextEdit& out = *w.form->MemoOut;
  // 2^17 characters without a break, printed in one PRINT, after a short line.
  const std::u16string output = w.Run(
      u"DIM I, S\nS = \"x\"\nFOR (I = 0, I < 17, I = I + 1) { S = S + S }\n"
      u"PRINT \"first line\\n\", S, \"!\"");
  EXPECT_EQ(output, u"first line\r\n" + std::u16string(1 << 17, u'x') + u"!");
  EXPECT_EQ(Wrap(out), QTextOption::WrapAnywhere);
  // The caret stays at the end: the next output follows the text.
  EXPECT_EQ(w.Run(u"PRINT \"?\""), output + u"?");
  // Clearing the area brings word wrapping back.
  w.form->MenuProgClsClick();
  EXPECT_EQ(Wrap(out), QTextOption::WrapAtWordBoundaryOrAnywhere);
}
