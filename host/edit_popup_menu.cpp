#include "host/edit_popup_menu.h"

#include <QAction>
#include <QClipboard>
#include <QGuiApplication>
#include <QPlainTextEdit>
#include <exception>
#include <new>

#include "platform/qt/dialogs.h"
#include "platform/qt/japanese_texts.h"

namespace jp = vell::jp;

TVellPopupMenu::TVellPopupMenu(QWidget* owner) : QMenu(owner), owner_(owner) {
  setObjectName(QStringLiteral("VellPopupMenu"));
  auto item = [this](const char* name, const char16_t* caption, const char16_t* hint,
                     Command command) {
    QAction* action = addAction(jp::Q(caption));
    action->setObjectName(QString::fromLatin1(name));
    action->setData(static_cast<int>(command));
    // A hint is "short|long": the short text for a tool tip, the long one
    // for the status line.
    const QString text = jp::Q(hint);
    const qsizetype bar = text.indexOf(u'|');
    action->setToolTip(text.left(bar));
    action->setStatusTip(text.mid(bar + 1));
    connect(action, &QAction::triggered, this, [this, command] {
      // Nothing may leave a menu handler into the event loop.
      try {
        PopupMenuVellProc(command);
      } catch (const std::bad_alloc&) {
        vell::qt::Dialogs().ShowWarning(owner_, QStringLiteral("Vell"),
                                        QStringLiteral("cannot allocate memory "));
      } catch (const std::exception& e) {
        vell::qt::Dialogs().ShowWarning(owner_, QStringLiteral("Vell"), QString::fromUtf8(e.what()));
      }
    });
    return action;
  };
  PMenuUndo = item("PMenuUndo", jp::kPopupUndo, jp::kHintUndo, Undo);
  addSeparator()->setObjectName(QStringLiteral("N3"));
  PMenuCut = item("PMenuCut", jp::kPopupCut, jp::kHintCut, Cut);
  PMenuCopy = item("PMenuCopy", jp::kPopupCopy, jp::kHintCopy, Copy);
  PMenuPaste = item("PMenuPaste", jp::kPopupPaste, jp::kHintPaste, Paste);
  PMenuDelete = item("PMenuDelete", jp::kPopupDelete, jp::kHintDelete, Delete);
  addSeparator()->setObjectName(QStringLiteral("N4"));
  PMenuSelectAll = item("PMenuSelectAll", jp::kPopupSelectAll, jp::kHintSelectAll, SelectAll);
  PMenuDeleteAll = item("PMenuDeleteAll", jp::kPopupDeleteAll, jp::kHintDeleteAll, DeleteAll);
  connect(this, &QMenu::aboutToShow, this, &TVellPopupMenu::VellPopupMenuPopup);
}

void TVellPopupMenu::Attach(QPlainTextEdit* memo) {
  memos_.emplace_back(memo);
  memo->setContextMenuPolicy(Qt::CustomContextMenu);
  // The position comes in the memo's viewport coordinates.
  connect(memo, &QWidget::customContextMenuRequested, this, [this, memo](const QPoint& pos) {
    OpenFor(memo, memo->viewport()->mapToGlobal(pos));
  });
}

void TVellPopupMenu::OpenFor(QPlainTextEdit* memo, const QPoint& globalPos) {
  // The menu acts on the focused memo, so the clicked one takes the focus
  // first: otherwise a right click on the output area would offer and act
  // on the program area's text.
  memo->setFocus(Qt::PopupFocusReason);
  popup(globalPos);
}

QPlainTextEdit* TVellPopupMenu::Target() const {
  // The window's focus widget, which stays the memo while this menu is open
  // and also holds when the window is not the active one.
  const QWidget* focused = owner_->window()->focusWidget();
  for (const auto& memo : memos_) {
    if (memo && memo == focused) return memo;
  }
  return nullptr;
}

void TVellPopupMenu::VellPopupMenuPopup() {
  QPlainTextEdit* memo = Target();
  const bool hasMemo = memo != nullptr;
  const bool editable = hasMemo && !memo->isReadOnly();
  const bool selection = hasMemo && memo->textCursor().hasSelection();
  const bool hasText = hasMemo && !memo->document()->isEmpty();
  const QClipboard* clipboard = QGuiApplication::clipboard();
  const bool clipboardText = clipboard != nullptr && !clipboard->text().isEmpty();
  // A read-only memo offers only Copy and Select all.
  PMenuUndo->setEnabled(editable && memo->document()->isUndoAvailable());
  PMenuCut->setEnabled(editable && selection);
  PMenuCopy->setEnabled(selection);
  PMenuPaste->setEnabled(editable && clipboardText);
  PMenuDelete->setEnabled(editable && selection);
  PMenuSelectAll->setEnabled(hasText);
  PMenuDeleteAll->setEnabled(editable && hasText);
}

void TVellPopupMenu::PopupMenuVellProc(Command command) {
  QPlainTextEdit* memo = Target();
  if (memo == nullptr) return;
  // The commands that change the text leave a read-only memo alone, also
  // when they are reached without the menu's enabled states.
  const bool editable = !memo->isReadOnly();
  switch (command) {
    case Undo:
      if (editable) memo->undo();
      break;
    case Cut:
      if (editable) memo->cut();
      break;
    case Copy:
      memo->copy();
      break;
    case Paste:
      if (editable) memo->paste();
      break;
    case Delete:
      if (editable) {
        // Through the memo's cursor, so that Undo brings it back.
        QTextCursor cursor = memo->textCursor();
        cursor.removeSelectedText();
        memo->setTextCursor(cursor);
      }
      break;
    case SelectAll:
      memo->selectAll();
      break;
    case DeleteAll: {
      if (!editable) break;
      // The memo may go while the question is open (a program ends the
      // application meanwhile).
      QPointer<QPlainTextEdit> guarded(memo);
      if (vell::qt::Dialogs().AskOkCancel(owner_, QStringLiteral("Vell"),
                                          jp::Q(jp::kConfirmDeleteAll)) &&
          guarded) {
        memo->selectAll();
        QTextCursor cursor = memo->textCursor();
        cursor.removeSelectedText();
        memo->setTextCursor(cursor);
      }
      break;
    }
  }
}
