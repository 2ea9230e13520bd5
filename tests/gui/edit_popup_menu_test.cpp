// The memos' edit popup menu: which items are offered on each memo, what
// each does, and that the clicked memo is the one it acts on.
#include "host/edit_popup_menu.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QLineEdit>
#include <QTest>

#include "gui_support.h"

using namespace vell::testing;

namespace {

using Menu = TVellPopupMenu;

// The enabled items, in menu order, as letters: U(ndo) T(cut) C(opy)
// P(aste) D(elete) A(ll selected) N (delete all).
std::string Enabled(Menu& menu) {
  menu.VellPopupMenuPopup();
  std::string letters;
  const std::pair<QAction*, char> items[] = {
      {menu.PMenuUndo, 'U'},   {menu.PMenuCut, 'T'},       {menu.PMenuCopy, 'C'},
      {menu.PMenuPaste, 'P'},  {menu.PMenuDelete, 'D'},    {menu.PMenuSelectAll, 'A'},
      {menu.PMenuDeleteAll, 'N'}};
  for (const auto& [action, letter] : items) {
    if (action->isEnabled()) letters += letter;
  }
  return letters;
}

void SetClipboard(const QString& text) {
  if (text.isEmpty()) {
    QGuiApplication::clipboard()->clear();
  } else {
    QGuiApplication::clipboard()->setText(text);
  }
}

// Selects `length` characters from `start` in the memo.
void Select(QPlainTextEdit& memo, int start, int length) {
  QTextCursor cursor = memo.textCursor();
  cursor.setPosition(start);
  cursor.setPosition(start + length, QTextCursor::KeepAnchor);
  memo.setTextCursor(cursor);
}

struct PopupFixture {
  PopupFixture() {
    w.form->show();
    QApplication::setActiveWindow(w.form.get());
    menu = w.form->VellPopupMenu;
  }
  ~PopupFixture() { SetClipboard(QString()); }
  QPlainTextEdit& Prog() { return *w.form->MemoProg; }
  QPlainTextEdit& Out() { return *w.form->MemoOut; }
  WindowFixture w;
  Menu* menu = nullptr;
};

}  // namespace

TEST(EditPopupMenu, EnabledStatesOnEachMemo) {
  PopupFixture f;
  f.Prog().setFocus();
  SetClipboard(QString());
  EXPECT_EQ(Enabled(*f.menu), "");
  SetClipboard(QStringLiteral("clip"));
  EXPECT_EQ(Enabled(*f.menu), "P");

  f.Prog().insertPlainText(QStringLiteral("hello world"));
  EXPECT_EQ(Enabled(*f.menu), "UPAN");
  Select(f.Prog(), 0, 5);
  EXPECT_EQ(Enabled(*f.menu), "UTCPDAN");
  SetClipboard(QString());
  EXPECT_EQ(Enabled(*f.menu), "UTCDAN");

  // The output area is read-only: Copy and Select all at most.
  f.w.Run(u"PRINT \"output\"");
  f.Out().setFocus();
  SetClipboard(QStringLiteral("clip"));
  EXPECT_EQ(Enabled(*f.menu), "A");
  f.Out().selectAll();
  EXPECT_EQ(Enabled(*f.menu), "CA");
  SetClipboard(QString());
  EXPECT_EQ(Enabled(*f.menu), "CA");
  f.w.form->MenuProgClsClick();  // which gives the program area the focus
  f.Out().setFocus();
  SetClipboard(QStringLiteral("clip"));
  EXPECT_EQ(Enabled(*f.menu), "");

  // Focus on neither memo: nothing to act on.
  auto* other = new QLineEdit(f.w.form.get());
  other->show();
  other->setFocus();
  EXPECT_EQ(f.menu->Target(), nullptr);
  EXPECT_EQ(Enabled(*f.menu), "");
  f.menu->PopupMenuVellProc(Menu::SelectAll);  // no target, no crash
}

TEST(EditPopupMenu, ClickedMemoTakesTheFocusFirst) {
  PopupFixture f;
  f.w.Run(u"PRINT \"output\"");
  f.Prog().setPlainText(QStringLiteral("program"));
  f.Prog().setFocus();
  ASSERT_EQ(f.menu->Target(), &f.Prog());

  QContextMenuEvent click(QContextMenuEvent::Mouse, QPoint(5, 5), QPoint(5, 5));
  QApplication::sendEvent(f.Out().viewport(), &click);
  EXPECT_EQ(f.w.form->focusWidget(), &f.Out());
  EXPECT_EQ(f.menu->Target(), &f.Out());
  EXPECT_TRUE(WaitFor([&] { return f.menu->isVisible(); }));
  // The states opening the menu set are the output area's.
  EXPECT_FALSE(f.menu->PMenuDeleteAll->isEnabled());
  EXPECT_TRUE(f.menu->PMenuSelectAll->isEnabled());
  f.menu->PMenuSelectAll->trigger();
  EXPECT_EQ(f.Out().textCursor().selectedText(), QStringLiteral("output"));
  EXPECT_FALSE(f.Prog().textCursor().hasSelection());
  f.menu->close();

  QContextMenuEvent key(QContextMenuEvent::Keyboard, QPoint(5, 5), QPoint(5, 5));
  QApplication::sendEvent(f.Prog().viewport(), &key);
  EXPECT_EQ(f.menu->Target(), &f.Prog());
  EXPECT_TRUE(f.menu->PMenuDeleteAll->isEnabled());
  f.menu->close();
}

TEST(EditPopupMenu, EachCommandOnTheProgramArea) {
  PopupFixture f;
  QPlainTextEdit& memo = f.Prog();
  memo.setFocus();
  memo.insertPlainText(QStringLiteral("hello world"));
  Select(memo, 6, 5);

  f.menu->PopupMenuVellProc(Menu::Copy);
  EXPECT_EQ(QGuiApplication::clipboard()->text(), QStringLiteral("world"));
  f.menu->PopupMenuVellProc(Menu::Cut);
  EXPECT_EQ(memo.toPlainText(), QStringLiteral("hello "));
  EXPECT_EQ(QGuiApplication::clipboard()->text(), QStringLiteral("world"));
  f.menu->PopupMenuVellProc(Menu::Undo);
  EXPECT_EQ(memo.toPlainText(), QStringLiteral("hello world"));

  // Paste goes in at the caret.
  QTextCursor caret = memo.textCursor();
  caret.setPosition(5);
  memo.setTextCursor(caret);
  SetClipboard(QStringLiteral(","));
  f.menu->PopupMenuVellProc(Menu::Paste);
  EXPECT_EQ(memo.toPlainText(), QStringLiteral("hello, world"));

  Select(memo, 0, 7);
  f.menu->PopupMenuVellProc(Menu::Delete);
  EXPECT_EQ(memo.toPlainText(), QStringLiteral("world"));
  f.menu->PopupMenuVellProc(Menu::Undo);  // the deletion is on the memo's undo stack
  EXPECT_EQ(memo.toPlainText(), QStringLiteral("hello, world"));

  f.menu->PopupMenuVellProc(Menu::SelectAll);
  EXPECT_EQ(memo.textCursor().selectedText(), QStringLiteral("hello, world"));
  caret.setPosition(0);
  memo.setTextCursor(caret);

  // Delete all asks first; Cancel keeps the text, OK empties the memo.
  f.w.dialogs.confirmAnswers = {false, true};
  f.menu->PopupMenuVellProc(Menu::DeleteAll);
  EXPECT_EQ(memo.toPlainText(), QStringLiteral("hello, world"));
  f.menu->PMenuDeleteAll->trigger();
  EXPECT_TRUE(memo.toPlainText().isEmpty());
  EXPECT_EQ(f.w.dialogs.questions,
            (std::vector<QString>(2, QString::fromUtf16(u"すべてを削除しますか？ "))));
  f.menu->PopupMenuVellProc(Menu::Undo);
  EXPECT_EQ(memo.toPlainText(), QStringLiteral("hello, world"));
}

TEST(EditPopupMenu, OutputAreaIsOnlyReadAndCopied) {
  PopupFixture f;
  f.w.Run(u"PRINT \"line\"");
  QPlainTextEdit& memo = f.Out();
  memo.setFocus();
  memo.selectAll();
  SetClipboard(QStringLiteral("clip"));
  // The changing commands leave it alone even when called directly.
  f.w.dialogs.confirmAnswers = {true};
  for (Menu::Command c : {Menu::Cut, Menu::Paste, Menu::Delete, Menu::DeleteAll, Menu::Undo}) {
    f.menu->PopupMenuVellProc(c);
    EXPECT_EQ(memo.toPlainText(), QStringLiteral("line")) << c;
  }
  EXPECT_TRUE(f.w.dialogs.questions.empty());
  EXPECT_EQ(QGuiApplication::clipboard()->text(), QStringLiteral("clip"));
  f.menu->PopupMenuVellProc(Menu::Copy);
  EXPECT_EQ(QGuiApplication::clipboard()->text(), QStringLiteral("line"));
}
