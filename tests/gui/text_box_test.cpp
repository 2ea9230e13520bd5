// The text box edit: its text as programs see it, the selection counted with
// CR LF line breaks, program output, and its files.
#include <gtest/gtest.h>
#include <unistd.h>

#include <QDeadlineTimer>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBlock>
#include <climits>
#include <filesystem>

#include "platform/qt/memo_edit.h"
#include "tests/support/files.h"

namespace {

std::string Utf16Le(std::u16string_view text) {
  std::string bytes;
  for (char16_t c : text) {
    bytes += static_cast<char>(c & 0xFF);
    bytes += static_cast<char>(c >> 8);
  }
  return bytes;
}

std::filesystem::path P(const QTemporaryDir& dir, const char* name) {
  return std::filesystem::path(dir.filePath(QString::fromLatin1(name)).toStdString());
}

}  // namespace

TEST(TextBox, LineBreakConversion) {
  EXPECT_EQ(vell::qt::ToCrLfText(u"a\nb\n"), u"a\r\nb\r\n");
  // A text with a CR anywhere is taken as it is.
  EXPECT_EQ(vell::qt::ToCrLfText(u"a\rb\nc"), u"a\rb\nc");

  MemoEdit edit;
  edit.SetText(vell::qt::ToCrLfText(u"a\nb"));
  EXPECT_EQ(edit.document()->blockCount(), 2);
  EXPECT_EQ(edit.ProgramText(), u"a\nb");
}

TEST(TextBox, ALoneReturnIsKeptAsOneCharacter) {
  MemoEdit edit;
  edit.SetProgramText(u"a\rb\r\nc\r");
  EXPECT_EQ(edit.document()->blockCount(), 2);
  EXPECT_EQ(edit.document()->firstBlock().text(), QStringLiteral("a\u240Db"));
  EXPECT_EQ(edit.Text(), u"a\rb\r\nc\r");
  // The control picture itself, given by a program, is no CR.
  edit.SetProgramText(u"\u240D\r");
  EXPECT_EQ(edit.Text(), u"\u240D\r");
  // Nor is what is typed beside a kept CR, in its format.
  edit.SetProgramText(u"a\r");
  edit.SetSelStart(2);
  QKeyEvent key(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, QStringLiteral("\u240Dz"));
  QCoreApplication::sendEvent(&edit, &key);
  EXPECT_EQ(edit.Text(), u"a\r\u240Dz");

  // SELTEXT keeps a lone CR as one undo step.
  edit.SetProgramText(u"ab");
  edit.SetSelStart(1);
  edit.SetSelText(u"x\ry\nz");
  EXPECT_EQ(edit.Text(), u"ax\ry\r\nzb");
  edit.undo();
  EXPECT_EQ(edit.Text(), u"ab");
}

TEST(TextBox, SelectionCountsLineBreaksAsTwo) {
  MemoEdit edit;
  edit.SetText(u"ab\r\ncd\r\nef");
  // Read: a selection across a line break.
  QTextCursor cursor = edit.textCursor();
  cursor.setPosition(1);
  cursor.setPosition(4, QTextCursor::KeepAnchor);  // "b", break, "c"
  edit.setTextCursor(cursor);
  EXPECT_EQ(edit.SelStart(), 1);
  EXPECT_EQ(edit.SelLength(), 4);
  EXPECT_EQ(edit.SelText(), u"b\nc");

  // Write: positions in CR LF units come back the same.
  edit.SetSelStart(4);
  EXPECT_EQ(edit.textCursor().position(), 3);
  EXPECT_EQ(edit.SelLength(), 0);
  edit.SetSelLength(4);
  EXPECT_EQ(edit.SelText(), u"cd\n");
  EXPECT_EQ(edit.SelStart(), 4);
  EXPECT_EQ(edit.SelLength(), 4);

  // Inside a CR LF pair: the end of that line.
  edit.SetSelStart(3);
  EXPECT_EQ(edit.SelStart(), 2);

  // A negative length selects backwards, from the start's left.
  edit.SetSelStart(8);
  edit.SetSelLength(-4);
  EXPECT_EQ(edit.SelStart(), 4);
  EXPECT_EQ(edit.SelText(), u"cd\n");
}

TEST(TextBox, SelectionOutsideTheTextIsClamped) {
  MemoEdit edit;
  edit.SetText(u"ab\r\ncd");
  edit.SetSelStart(-5);
  EXPECT_EQ(edit.SelStart(), 0);
  edit.SetSelStart(1000);
  EXPECT_EQ(edit.SelStart(), 6);
  edit.SetSelStart(2);
  edit.SetSelLength(INT_MAX);
  EXPECT_EQ(edit.SelLength(), 4);
  edit.SetSelStart(INT_MAX);
  edit.SetSelLength(INT_MIN);
  EXPECT_EQ(edit.SelStart(), 0);
  EXPECT_EQ(edit.SelLength(), 6);
}

TEST(TextBox, SelTextInsertsAtCaretOrReplaces) {
  MemoEdit edit;
  edit.SetText(u"abc");
  edit.SetSelStart(0);
  edit.SetSelLength(0);
  edit.SetSelText(vell::qt::ToCrLfText(u"x\ny"));
  EXPECT_EQ(edit.Text(), u"x\r\nyabc");
  edit.SetSelStart(4);
  edit.SetSelLength(2);
  edit.SetSelText(u"Z");
  EXPECT_EQ(edit.Text(), u"x\r\nyZc");
  EXPECT_EQ(edit.SelLength(), 0);
  EXPECT_EQ(edit.SelStart(), 5);
}

TEST(TextBox, PrintAppendsAsTheOutputAreaDoes) {
  MemoEdit edit;
  edit.AppendOutput(u"one\r\ntwo");
  edit.AppendOutput(u"\n");
  EXPECT_EQ(edit.Text(), u"one\r\ntwo\r\n");
  // ESC "*" empties the edit; what came before it on the same line stays.
  edit.AppendOutput(u"gone\nkept\x1b*\x1bXmore\nend\0ignored");
  EXPECT_EQ(edit.ProgramText(), u"keptXmore\nend");
  // Appended at the caret.
  edit.SetSelStart(0);
  edit.AppendOutput(u">");
  EXPECT_EQ(edit.ProgramText(), u">keptXmore\nend");
}

TEST(TextBox, GatheredOutputArrivesBeforeAnythingElse) {
  MemoEdit edit;
  edit.show();
  edit.AppendOutput(u"a");
  // Events processed: the output is in the document a moment later.
  EXPECT_TRUE(edit.document()->isEmpty());
  QDeadlineTimer deadline(2000);
  while (edit.document()->isEmpty() && !deadline.hasExpired()) QTest::qWait(5);
  EXPECT_EQ(edit.document()->toPlainText(), QStringLiteral("a"));
  // A key typed meanwhile comes after the output, at the caret.
  edit.AppendOutput(u"b");
  QTest::keyClick(&edit, Qt::Key_C);
  EXPECT_EQ(edit.document()->toPlainText(), QStringLiteral("abc"));
  // Setting the text drops output not yet shown.
  edit.AppendOutput(u"lost");
  edit.SetText(u"new");
  QCoreApplication::processEvents();
  EXPECT_EQ(edit.Text(), u"new");
}

TEST(TextBox, MembersChangeTheEditsLayout) {
  MemoEdit edit;
  edit.resize(200, 100);
  edit.SetScrollBars(3);
  EXPECT_EQ(edit.horizontalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
  EXPECT_EQ(edit.lineWrapMode(), QPlainTextEdit::NoWrap);
  edit.SetScrollBars(2);
  EXPECT_EQ(edit.horizontalScrollBarPolicy(), Qt::ScrollBarAlwaysOff);
  EXPECT_EQ(edit.verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
  EXPECT_EQ(edit.lineWrapMode(), QPlainTextEdit::WidgetWidth);
  edit.SetBorderStyle(0);
  EXPECT_EQ(edit.frameShape(), QFrame::NoFrame);

  // The formatting rectangle: 10 in from the left and right, 5 from the top
  // and bottom, and it stays when the edit is resized.
  edit.SetFormatRect(edit.ClientRect().adjusted(10, 5, -10, -5));
  EXPECT_EQ(edit.FormatRect().left(), 10);
  EXPECT_EQ(edit.FormatRect().top(), 5);
  EXPECT_EQ(edit.FormatMargins(), QMargins(10, 5, 10, 5));
  edit.resize(300, 120);
  EXPECT_EQ(edit.FormatRect().left(), 10);
  EXPECT_EQ(edit.ClientRect().right() - edit.FormatRect().right(), 10);
}

TEST(TextBox, EnterBreaksALineOnlyWhenWanted) {
  MemoEdit edit;
  edit.show();
  edit.SetWantReturns(false);
  QTest::keyClicks(&edit, QStringLiteral("ab"));
  QTest::keyClick(&edit, Qt::Key_Return);
  EXPECT_EQ(edit.Text(), u"ab");
  QTest::keyClick(&edit, Qt::Key_Return, Qt::ControlModifier);
  EXPECT_EQ(edit.Text(), u"ab\r\n");
  edit.SetWantReturns(true);
  QTest::keyClick(&edit, Qt::Key_Return);
  EXPECT_EQ(edit.Text(), u"ab\r\n\r\n");
}

TEST(TextBox, SaveFileWritesUtf16LinesWithMark) {
  QTemporaryDir dir;
  MemoEdit edit;
  edit.SetText(u"a\u00e9\r\n\u6f22");
  QString error;
  const QString path = dir.filePath(QStringLiteral("out.txt"));
  ASSERT_TRUE(edit.SaveFile(path, &error)) << error.toStdString();
  EXPECT_EQ(vell::test::FileBytes(path.toStdString()),
            "\xFF\xFE" + Utf16Le(u"a\u00e9\r\n\u6f22\r\n"));

  // A last line that already ends in a break gets no second one; an empty
  // text is the mark alone.
  edit.SetText(u"x\r\n");
  ASSERT_TRUE(edit.SaveFile(path, &error));
  EXPECT_EQ(vell::test::FileBytes(path.toStdString()), "\xFF\xFE" + Utf16Le(u"x\r\n"));
  edit.SetText(u"");
  ASSERT_TRUE(edit.SaveFile(path, &error));
  EXPECT_EQ(vell::test::FileBytes(path.toStdString()), "\xFF\xFE");

  // Loading the file shows the same lines.
  edit.SetText(u"a\u00e9\r\n\u6f22");
  ASSERT_TRUE(edit.SaveFile(path, &error));
  MemoEdit other;
  ASSERT_TRUE(other.LoadFile(path, &error));
  EXPECT_EQ(other.ProgramText(), u"a\u00e9\n\u6f22\n");
}

TEST(TextBox, FailedSaveKeepsTheOldFile) {
  QTemporaryDir dir;
  MemoEdit edit;
  edit.SetText(u"new");
  QString error;
  // A folder where the file should go: refused, the folder untouched.
  const auto folder = P(dir, "folder");
  std::filesystem::create_directory(folder);
  EXPECT_FALSE(edit.SaveFile(QString::fromStdString(folder.string()), &error));
  EXPECT_TRUE(error.startsWith(QStringLiteral("Cannot create file"))) << error.toStdString();
  EXPECT_TRUE(std::filesystem::is_directory(folder));
  // A missing folder.
  error.clear();
  EXPECT_FALSE(edit.SaveFile(dir.filePath(QStringLiteral("none/x.txt")), &error));
  EXPECT_FALSE(error.isEmpty());
  // A read-only file keeps its text (only meaningful without root's rights).
  if (geteuid() != 0) {
    const auto locked = P(dir, "locked.txt");
    vell::test::PutFile(locked, "old");
    std::filesystem::permissions(locked, std::filesystem::perms::owner_read);
    EXPECT_FALSE(edit.SaveFile(QString::fromStdString(locked.string()), &error));
    EXPECT_EQ(vell::test::FileBytes(locked), "old");
  }
}

TEST(TextBox, LoadFileByMarkElseLocale) {
  QTemporaryDir dir;
  MemoEdit edit;
  QString error;
  const auto path = P(dir, "in.txt");
  const QString qpath = QString::fromStdString(path.string());
  // No mark: the locale's character set (the tests run in UTF-8).
  vell::test::PutFile(path, "caf\xC3\xA9\r\nline");
  ASSERT_TRUE(edit.LoadFile(qpath, &error));
  EXPECT_EQ(edit.ProgramText(), u"caf\u00e9\nline");
  // UTF-16BE with its mark.
  vell::test::PutFile(path, std::string("\xFE\xFF\x6F\x22\x00\x0A\x00\x62", 8));
  ASSERT_TRUE(edit.LoadFile(qpath, &error));
  EXPECT_EQ(edit.ProgramText(), u"\u6f22\nb");
  // UTF-8 with its mark.
  vell::test::PutFile(path, "\xEF\xBB\xBF\xE6\xBC\xA2");
  ASSERT_TRUE(edit.LoadFile(qpath, &error));
  EXPECT_EQ(edit.ProgramText(), u"\u6f22");
  // A missing file leaves the text as it was and says why.
  EXPECT_FALSE(edit.LoadFile(dir.filePath(QStringLiteral("missing.txt")), &error));
  EXPECT_TRUE(error.startsWith(QStringLiteral("Cannot open file"))) << error.toStdString();
  EXPECT_EQ(edit.ProgramText(), u"\u6f22");
}
