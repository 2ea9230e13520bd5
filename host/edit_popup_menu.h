// The context menu of the main window's two memos: undo, cut, copy, paste,
// delete, select all and delete all, enabled to suit the memo and the
// clipboard. It acts on the memo that has the focus; a right click (or the
// menu key) gives the clicked memo the focus before the menu opens.
#pragma once

#include <QMenu>
#include <QPointer>
#include <vector>

class QAction;
class QPlainTextEdit;

class TVellPopupMenu : public QMenu {
  Q_OBJECT

 public:
  // The commands, in the items' order; each item's data holds its command.
  enum Command { Undo = 0, Cut, Copy, Paste, Delete, SelectAll, DeleteAll };

  // `owner` is the window whose memos the menu serves; it owns the
  // confirmation too.
  explicit TVellPopupMenu(QWidget* owner);

  // Gives `memo` this menu in place of its own.
  void Attach(QPlainTextEdit* memo);
  // The attached memo with the focus in the owner window, or null.
  QPlainTextEdit* Target() const;

  // Sets the items' enabled state for the target (all off without one).
  void VellPopupMenuPopup();
  // Performs `command` on the target.
  void PopupMenuVellProc(Command command);

  QAction* PMenuUndo = nullptr;
  QAction* PMenuCut = nullptr;
  QAction* PMenuCopy = nullptr;
  QAction* PMenuPaste = nullptr;
  QAction* PMenuDelete = nullptr;
  QAction* PMenuSelectAll = nullptr;
  QAction* PMenuDeleteAll = nullptr;

 private:
  void OpenFor(QPlainTextEdit* memo, const QPoint& globalPos);

  QWidget* owner_;
  std::vector<QPointer<QPlainTextEdit>> memos_;
};
