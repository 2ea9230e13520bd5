// The commands that reach the window, run as programs in it: CLS, SCREEN,
// DISPPROGRAM, MSG answered through the dialog seam, and RUN handing a
// document to the desktop's opener.
#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>

#include "gui_support.h"
#include "platform/process_start.h"

using namespace vell;

using namespace vell::testing;

TEST(CommandsInWindow, ClsScreenAndDispProgram) {
  WindowFixture w;
  TFormMain& f = *w.form;
  f.show();
  EXPECT_EQ(w.Run(u"PRINT \"old\\n\"\nCLS\nPRINT \"new\""), u"new");
  // CLS inside one PRINT empties what came before, and is itself a value.
  EXPECT_EQ(w.Run(u"DIM X\nX = CLS\nPRINT \"a\", X, \"b\", LEN(X)"), u"b2");

  const int progHeight = f.MemoProg->height();
  EXPECT_EQ(w.Run(u"CLS\nPRINT SCREEN(300, 200)"), u"200");
  EXPECT_EQ(f.MemoOut->size(), QSize(300, 200));
  EXPECT_EQ(f.MemoProg->height(), progHeight);

  f.MenuProgClsClick();
  const int before = f.height();
  EXPECT_EQ(w.Run(u"PRINT DISPPROGRAM(0)"), u"0");
  EXPECT_TRUE(f.MemoProg->isHidden());
  EXPECT_FALSE(f.MenuProgDisp->isChecked());
  EXPECT_EQ(f.height(), before - progHeight);
  w.Run(u"SCREEN(240, 120)\nDISPPROGRAM(\"1\")");
  EXPECT_FALSE(f.MemoProg->isHidden());
  EXPECT_EQ(f.MemoOut->size(), QSize(240, 120));
}

TEST(CommandsInWindow, MsgAnswers) {
  WindowFixture w;
  ScriptedDialogs& d = w.dialogs;
  d.messageAnswers = {vell::qt::MessageAnswer::Yes, vell::qt::MessageAnswer::No};
  EXPECT_EQ(w.Run(u"PRINT MSG(\"Sure?\"), MSG(42)"), u"10");
  ASSERT_EQ(d.messages.size(), 2u);
  EXPECT_EQ(d.messages[0], QStringLiteral("Sure?"));
  EXPECT_EQ(d.messages[1], QStringLiteral("42"));
  EXPECT_TRUE(d.confirmations.empty());

  // Abort asks whether to end: Cancel goes on with 0 ...
  d.messages.clear();
  d.messageAnswers = {vell::qt::MessageAnswer::Abort};
  d.confirmAnswers = {false};
  w.form->MenuProgClsClick();
  EXPECT_EQ(w.Run(u"PRINT MSG(\"q\"), \"|\"\nPRINT \"on\""), u"0|on");
  EXPECT_EQ(d.confirmations.size(), 1u);

  // ... OK ends the program silently after the MSG statement.
  d.messageAnswers = {vell::qt::MessageAnswer::Abort};
  d.confirmAnswers = {true};
  w.form->MenuProgClsClick();
  EXPECT_EQ(w.Run(u"PRINT MSG(\"q\"), \"|\"\nPRINT \"not reached\""), u"0|");
  EXPECT_EQ(d.confirmations.size(), 2u);
  EXPECT_EQ(d.messages.size(), 2u);  // no error message followed
  EXPECT_EQ(gInterpreter->runState, StateEnd);

  // Abort on an error that a CALC reports asks nothing.
  d.messageAnswers = {vell::qt::MessageAnswer::Abort};
  w.form->MenuProgClsClick();
  w.Run(u"PRINT CALC(\"1/0\")\nPRINT \"not reached\"");
  ASSERT_EQ(d.messages.size(), 3u);
  EXPECT_EQ(d.messages[2], QStringLiteral("\nCALC 1: arithmetic error"));
  EXPECT_EQ(d.confirmations.size(), 2u);
}

TEST(CommandsInWindow, RunOpensDocumentsThroughTheDesktop) {
  WindowFixture w;
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  const QString doc = dir.filePath(QStringLiteral("read me.txt"));
  WriteBytes(doc, "text");
  const std::u16string path = reinterpret_cast<const char16_t*>(doc.utf16());
  EXPECT_EQ(w.Run(u"PRINT RUN(\"" + path +
                  u"\", \"\", 1), RUN(\"https://example.com/a b\"), "
                  u"RUN(\"" +
                  path + u".missing\")"),
            u"110");
  ASSERT_EQ(w.dialogs.openedUrls.size(), 2u);
  EXPECT_EQ(w.dialogs.openedUrls[0], QUrl::fromLocalFile(doc));
  EXPECT_EQ(w.dialogs.openedUrls[1], QUrl(QStringLiteral("https://example.com/a%20b")));
}
