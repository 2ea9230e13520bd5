// Every modal dialog of the application goes through one replaceable object,
// so that tests can answer dialogs without a nested event loop blocking them.
#pragma once

#include <QString>
#include <QUrl>
#include <optional>

class QDialog;
class QPrinter;
class QWidget;

namespace vell::qt {

enum class MessageAnswer { Yes, No, Abort };

// The state of an open or save dialog, in the Windows form its users know:
// the filter is "text|pattern|text|pattern", FilterIndex counts from 1.
struct FileDialogSetup {
  QString title;
  QString initialDir;
  QString fileName;
  QString defaultExt;  // without the dot; added to a name that has no extension
  QString filter;
  int filterIndex = 1;
};

class DialogSeam {
 public:
  virtual ~DialogSeam() = default;
  // Yes, No and Abort without an icon; Esc answers No.
  virtual MessageAnswer AskYesNoAbort(QWidget* parent, const QString& caption, const QString& text);
  // OK and Cancel with a warning icon; true for OK.
  virtual bool ConfirmOkCancel(QWidget* parent, const QString& caption, const QString& text);
  // OK and Cancel with an information icon; true for OK.
  virtual bool AskOkCancel(QWidget* parent, const QString& caption, const QString& text);
  virtual void ShowWarning(QWidget* parent, const QString& caption, const QString& text);
  virtual void ShowInformation(QWidget* parent, const QString& caption, const QString& text);
  // The chosen path, or nothing when the dialog was cancelled. `chosenFilter`
  // receives the 1-based index of the filter in use when it is not null.
  virtual std::optional<QString> GetOpenFileName(QWidget* parent, const FileDialogSetup& setup,
                                                 int* chosenFilter = nullptr);
  virtual std::optional<QString> GetSaveFileName(QWidget* parent, const FileDialogSetup& setup,
                                                 int* chosenFilter = nullptr);
  // The printer set-up dialog on `printer`, which takes the choices when
  // the user confirms; true for OK.
  virtual bool SetUpPrinter(QWidget* parent, QPrinter& printer);
  // Runs a dialog the application built itself; returns its result code.
  virtual int ExecDialog(QDialog& dialog);
  // Hands a file to the desktop's viewer; false when none took it.
  virtual bool OpenUrl(const QUrl& url);

 private:
  // `icon` is a QMessageBox::Icon.
  bool OkCancel(QWidget* parent, int icon, const QString& caption, const QString& text);
};

// The seam in use; the default shows real dialogs.
DialogSeam& Dialogs();
// Replaces the seam (null restores the default); returns the previous one.
DialogSeam* SetDialogs(DialogSeam* seam);

// A Windows filter ("text|pattern;pattern|...") as a Qt name filter list
// ("text (pattern pattern)"); "*.*" becomes "*".
QStringList QtNameFilters(const QString& windowsFilter);

// A title for QWidget::setWindowTitle that shows `text` as it is ("[*]" would
// otherwise be taken as the modification mark).
QString LiteralWindowTitle(const QString& text);

}  // namespace vell::qt
