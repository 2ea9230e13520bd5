// The one-line input dialog that INPUT shows.
#pragma once

#include <QDialog>

class QLabel;
class QLineEdit;
class QPushButton;

class TFormInput : public QDialog {
  Q_OBJECT

 public:
  // Result codes of the dialog.
  enum Result { ResultNone = 0, ResultOk = 1, ResultCancel = 2, ResultAbort = 3 };

  explicit TFormInput(QWidget* parent = nullptr);

  // Caption "INPUT", the prompt, an empty edit.
  void Prepare(const QString& prompt);
  QString Answer() const;

  QLabel* LabelMessage = nullptr;
  QLineEdit* EditInput = nullptr;
  QPushButton* Button1 = nullptr;
  QPushButton* Button2 = nullptr;

 protected:
  void showEvent(QShowEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;

 private:
  // Enter accepts like OK, Esc closes with the cancel code, whatever control
  // has the focus. True when the key was taken.
  bool FormKeyDown(int key);
};
