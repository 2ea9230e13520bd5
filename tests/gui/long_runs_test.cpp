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

std::u16string Decimal(int n) {
  const std::string digits = std::to_string(n);
  return std::u16string(digits.begin(), digits.end());
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

// Only lines long enough to hold a long run are read, yet a run is found
// wherever it is: among many short lines printed at once, or grown by a
// second PRINT from a line the area already holds. Lines just short of the
// limit, however many follow each other, are not one run.
TEST(LongRuns, TheOutputAreaFindsARunAmongManyLines) {
  WindowFixture w;
  QPlainTextEdit& out = *w.form->MemoOut;
  // S holds a run one short of the limit.
  w.Run(
      u"GLOBAL S\nDIM I\nS = \"\"\n"
      u"FOR (I = 1, I < " + Decimal(vell::qt::kLongRun) +
      u", I = I + 1) { S = S + \"x\" }\n"
      u"FOR (I = 0, I < 50, I = I + 1) { PRINT S, \"\\n\" }\nPRINT S");
  EXPECT_EQ(out.document()->blockCount(), 51);
  EXPECT_EQ(Wrap(out), QTextOption::WrapAtWordBoundaryOrAnywhere);
  // The last line grows by one character.
  w.Run(u"PRINT \"y\"");
  EXPECT_EQ(Wrap(out), QTextOption::WrapAnywhere);

  w.form->MenuProgClsClick();
  ASSERT_EQ(Wrap(out), QTextOption::WrapAtWordBoundaryOrAnywhere);
  // One long line in the middle of a single PRINT of many short ones.
  w.Run(
      u"DIM L, I\nL = \"\"\nFOR (I = 0, I < 500, I = I + 1) { L = L + \"a short line\\n\" }\n"
      u"PRINT L, S, \"zz\\n\", L");
  EXPECT_EQ(out.document()->blockCount(), 1002);
  EXPECT_EQ(Wrap(out), QTextOption::WrapAnywhere);
}
