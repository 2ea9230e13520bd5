// The host requests as the window performs them: output, messages, input,
// the window's size and the program area.
#include <gtest/gtest.h>

#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include "gui_support.h"
#include "host/component_table_hooks.h"

using namespace vell;

using namespace vell::testing;

namespace {

// Sends a request as the interpreter does: to the window's request dispatcher.
void Request(int kind, const vellvar& a1 = vellvar(0), const vellvar& a2 = vellvar(0),
             const vellvar& a3 = vellvar(0)) {
  Interpreter& interp = *gInterpreter;
  interp.requestSlots[0].SetItem(vellvar(kind));
  interp.requestSlots[1].SetItem(a1);
  interp.requestSlots[2].SetItem(a2);
  interp.requestSlots[3].SetItem(a3);
  SendHostRequest(interp);
}

void Print(std::u16string_view text) { Request(RequestPrint, vellvar(text)); }

}  // namespace

TEST(Dispatcher, OutputChunksAndEscape) {
  WindowFixture w;
  TFormMain& f = *w.form;
  Print(u"a\nb");
  EXPECT_EQ(w.Output(), u"a\r\nb");
  f.MenuProgClsClick();
  Print(u"a\r\nb\r");
  EXPECT_EQ(w.Output(), u"a\r\nb");
  f.MenuProgClsClick();
  Print(u"\r");
  EXPECT_EQ(w.Output(), u"");

  // ESC "*" empties the area; the text gathered before it in the same
  // output survives, what earlier output wrote does not.
  Print(u"old\n");
  Print(u"x\x1b*y");
  EXPECT_EQ(w.Output(), u"xy");
  Print(
      u"\x1b"
      u"A\x1b");
  EXPECT_EQ(w.Output(), u"xyA");
  Print(u"1\n2\x1b*3");
  EXPECT_EQ(w.Output(), u"23");
  Request(RequestPrint, vellvar(42));
  EXPECT_EQ(w.Output(), u"2342");

  // 300 characters without a line break arrive whole.
  f.MenuProgClsClick();
  Print(std::u16string(300, u'z'));
  EXPECT_EQ(w.Output(), std::u16string(300, u'z'));

  // Output goes in at the caret the user placed.
  f.MenuProgClsClick();
  Print(u"ad");
  EXPECT_EQ(w.Output(), u"ad");  // the user can move the caret only once it shows
  QTextCursor cursor = f.MemoOut->textCursor();
  cursor.setPosition(1);
  f.MemoOut->setTextCursor(cursor);
  Print(u"bc");
  EXPECT_EQ(w.Output(), u"abcd");

  // Through a running program, output between pumps lands in order.
  f.MenuProgClsClick();
  w.Run(u"DIM I\nFOR (I = 0, I < 2000, I = I + 1) { PRINT \"x\" }\nPRINT \"\\nend\"");
  const std::u16string out = w.Output();
  ASSERT_EQ(out.size(), 2000u + 5u);
  EXPECT_EQ(out.substr(0, 12), u"xxxxxxxxxxxx");
  EXPECT_EQ(out.substr(out.size() - 5), u"\r\nend");
}

TEST(Dispatcher, MessageAnswersAndAbortConfirmation) {
  WindowFixture w;
  Interpreter& interp = *gInterpreter;
  using vell::qt::MessageAnswer;
  auto ask = [&](MessageAnswer answer, int runState) {
    w.dialogs.messageAnswers.push_back(answer);
    interp.runState = runState;
    interp.requestSlots[0].SetItem(vellvar(RequestMessage));
    interp.requestSlots[1].SetItem(vellvar(u"question"));
    SendHostRequest(interp);
    return interp.requestSlots[0].ItemInt();
  };
  EXPECT_EQ(ask(MessageAnswer::Yes, 0), 1);
  EXPECT_EQ(ask(MessageAnswer::No, 0), 0);
  EXPECT_TRUE(w.dialogs.confirmations.empty());

  w.dialogs.confirmAnswers.push_back(false);  // Cancel: the program goes on
  EXPECT_EQ(ask(MessageAnswer::Abort, 0), 0);
  EXPECT_EQ(interp.runState, 0);
  w.dialogs.confirmAnswers.push_back(true);  // OK: it stops silently
  EXPECT_EQ(ask(MessageAnswer::Abort, 0), 0);
  EXPECT_EQ(interp.runState, StateEnd);
  ASSERT_EQ(w.dialogs.confirmations.size(), 2u);
  EXPECT_EQ(w.dialogs.confirmations[0], QString::fromUtf16(u"プログラムを終了しますか？ "));

  // Abort on an error report asks nothing.
  EXPECT_EQ(ask(MessageAnswer::Abort, ErrorSyntax), 0);
  EXPECT_EQ(w.dialogs.confirmations.size(), 2u);
  EXPECT_EQ(w.dialogs.messages.back(), QStringLiteral("question"));
}

TEST(Dispatcher, InputDialogResults) {
  WindowFixture w;
  auto& d = w.dialogs;
  // Esc shows the dialog again with an empty edit; then OK with a text that
  // needs quoting in the generated assignment.
  d.inputSteps.push_back(ScriptedDialogs::Result(TFormInput::ResultCancel));
  d.inputSteps.push_back(ScriptedDialogs::Result(TFormInput::ResultNone));
  d.inputSteps.push_back(ScriptedDialogs::Type(QStringLiteral("say \"hi\" \\n")));
  EXPECT_EQ(w.Run(u"DIM A\nINPUT \"name?\", A\nPRINT A"), u"say \"hi\" \\n");
  ASSERT_EQ(d.prompts.size(), 3u);
  EXPECT_EQ(d.prompts[2], QStringLiteral("name?"));
  EXPECT_EQ(d.inputDialogs[0], w.form->FormInput);

  // "中止" then Cancel asks again; "中止" then OK ends the program silently.
  w.form->MenuProgClsClick();
  d.inputSteps.push_back(ScriptedDialogs::Result(TFormInput::ResultAbort));
  d.confirmAnswers.push_back(false);
  d.inputSteps.push_back(ScriptedDialogs::Result(TFormInput::ResultAbort));
  d.confirmAnswers.push_back(true);
  EXPECT_EQ(w.Run(u"DIM A\nINPUT A\nPRINT \"after\""), u"");
  EXPECT_EQ(d.confirmations.size(), 2u);
  EXPECT_TRUE(d.messages.empty());
  EXPECT_EQ(gInterpreter->runState, StateEnd);

  // An INPUT while the dialog is open gets a second dialog; each INPUT keeps
  // its own answer although the nested one overwrote the slots.
  w.form->MenuProgClsClick();
  d.inputDialogs.clear();
  d.inputSteps.push_back([&](TFormInput& outer) {
    outer.EditInput->setText(QStringLiteral("outer"));
    Interpreter& interp = *gInterpreter;
    interp.requestSlots[0].SetItem(vellvar(RequestInput));
    interp.requestSlots[1].SetItem(vellvar(u"inner?"));
    SendHostRequest(interp);
    EXPECT_EQ(std::u16string(interp.requestSlots[0].ItemWideText()), u"inner");
    return static_cast<int>(TFormInput::ResultOk);
  });
  d.inputSteps.push_back(ScriptedDialogs::Type(QStringLiteral("inner")));
  EXPECT_EQ(w.Run(u"DIM A\nINPUT \"outer?\", A\nPRINT A"), u"outer");
  ASSERT_EQ(d.inputDialogs.size(), 2u);
  EXPECT_NE(d.inputDialogs[0], d.inputDialogs[1]);
}

TEST(Dispatcher, InputDialogKeys) {
  TFormInput dialog;
  dialog.Prepare(QStringLiteral("prompt"));
  dialog.show();
  // Enter accepts from any control, the abort button included.
  QTest::keyClicks(dialog.EditInput, QStringLiteral("abc"));
  QTest::keyClick(dialog.Button2, Qt::Key_Return);
  EXPECT_EQ(dialog.result(), TFormInput::ResultOk);
  EXPECT_EQ(dialog.Answer(), QStringLiteral("abc"));
  dialog.show();
  QTest::keyClick(dialog.EditInput, Qt::Key_Escape);
  EXPECT_EQ(dialog.result(), TFormInput::ResultCancel);
  EXPECT_FALSE(dialog.isVisible());
  dialog.show();
  dialog.Button2->click();
  EXPECT_EQ(dialog.result(), TFormInput::ResultAbort);
  dialog.Prepare(QStringLiteral("again"));
  EXPECT_TRUE(dialog.EditInput->text().isEmpty());
}

TEST(Dispatcher, WindowSizeAndProgramArea) {
  WindowFixture w;
  TFormMain& f = *w.form;
  f.show();
  const int progHeight = f.MemoProg->height();

  Request(RequestWindow, vellvar(1), vellvar(300), vellvar(200));
  EXPECT_EQ(f.MemoOut->size(), QSize(300, 200));
  EXPECT_EQ(f.MemoProg->height(), progHeight);

  // Hiding the program area shrinks the window by its height; the output
  // area keeps its size; showing it again restores the height.
  const int before = f.height();
  Request(RequestWindow, vellvar(20), vellvar(0));
  EXPECT_TRUE(f.MemoProg->isHidden());
  EXPECT_FALSE(f.MenuProgDisp->isChecked());
  EXPECT_EQ(f.height(), before - progHeight);
  Request(RequestWindow, vellvar(1), vellvar(320), vellvar(150));
  EXPECT_EQ(f.MemoOut->size(), QSize(320, 150));
  f.MenuProgDisp->trigger();  // the menu item shows it again
  EXPECT_FALSE(f.MemoProg->isHidden());
  EXPECT_TRUE(f.MenuProgDisp->isChecked());
  EXPECT_EQ(f.MemoProg->height(), progHeight);
  EXPECT_EQ(f.MemoOut->height(), 150);

  // Sizes beyond the desktop are held within it.
  Request(RequestWindow, vellvar(100000), vellvar(100000));
  const QRect desktop = f.screen()->availableGeometry();
  EXPECT_LE(f.width(), desktop.width());
  EXPECT_LE(f.height(), desktop.height());
  Request(RequestWindow, vellvar(1), vellvar(-5), vellvar(-5));
  EXPECT_GE(f.MemoOut->width(), 0);

  // Other operations and unknown kinds change nothing.
  const QSize size = f.size();
  Request(RequestWindow, vellvar(3), vellvar(1));
  Request(8, vellvar(1));
  EXPECT_EQ(f.size(), size);
}

namespace {

// A component table that records what reaches it.
class RecordingTable : public ComponentTableHooks {
 public:
  explicit RecordingTable(TFormMain& form) : form_(form) {}
  void HandleHostRequest(Interpreter& interp) override {
    outputSeen.push_back(form_.MemoOut->toPlainText().toStdU16String());
    operations.push_back(interp.requestSlots[1].ItemInt());
    interp.requestSlots[1].SetItem(vellvar(ResultDone));
  }
  void DestroyAllComponents() override { ++destroyed; }
  void InstallDefaults(Interpreter&) override {}
  bool StartComponents() override { return true; }
  void EndComponents() override {}
  void RunEnded() override {}

  std::vector<std::u16string> outputSeen;
  std::vector<int> operations;
  int destroyed = 0;

 private:
  TFormMain& form_;
};

}  // namespace

TEST(Dispatcher, ComponentRequestsGoToTheInstalledTableAfterTheOutput) {
  WindowFixture w;
  RecordingTable table(*w.form);
  w.form->InstallComponentTable(&table);
  // Output held back between pumps is in the area when the table sees the
  // request, and the table's answer comes back.
  w.Run(u"PRINT \"before\\n\"");
  Interpreter& interp = *gInterpreter;
  interp.requestSlots[0].SetItem(vellvar(RequestPrint));
  interp.requestSlots[1].SetItem(vellvar(u"held"));
  SendHostRequest(interp);
  interp.requestSlots[0].SetItem(vellvar(RequestComponent));
  interp.requestSlots[1].SetItem(vellvar(ComponentGet));
  SendHostRequest(interp);
  ASSERT_EQ(table.operations, std::vector<int>{ComponentGet});
  EXPECT_EQ(table.outputSeen[0], u"before\nheld");
  EXPECT_EQ(interp.requestSlots[1].ItemInt(), ResultDone);
  // Clear output releases the program's components through the table.
  w.form->MenuProgClsClick();
  EXPECT_EQ(table.destroyed, 1);
  w.form->InstallComponentTable(nullptr);
}
