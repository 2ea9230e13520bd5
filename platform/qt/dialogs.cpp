#include "platform/qt/dialogs.h"

#include <QComboBox>
#include <QDesktopServices>
#include <QDialog>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>
#include <QPrintDialog>
#include <QPushButton>
#include <QStringList>

namespace vell::qt {

namespace {

DialogSeam gDefaultSeam;
DialogSeam* gSeam = &gDefaultSeam;

// The list of filter choices of Qt's own dialog (native dialogs have none).
QComboBox* FilterChoices(const QFileDialog& dialog) {
  return dialog.findChild<QComboBox*>(QStringLiteral("fileTypeCombo"));
}

void Prepare(QFileDialog& dialog, const FileDialogSetup& setup) {
  if (!setup.title.isEmpty()) dialog.setWindowTitle(setup.title);
  if (!setup.initialDir.isEmpty()) dialog.setDirectory(setup.initialDir);
  const QStringList filters = QtNameFilters(setup.filter);
  if (!filters.isEmpty()) {
    // Each choice shows its text alone, as the filter gives it; the
    // patterns only select the files.
    dialog.setOption(QFileDialog::HideNameFilterDetails);
    dialog.setNameFilters(filters);
    const int index = setup.filterIndex - 1;
    if (index >= 0 && index < filters.size()) {
      dialog.selectNameFilter(filters[index]);
      // Qt finds a choice by its text: of choices with the same text it
      // takes the first, so the one asked for is chosen by its place.
      QComboBox* choices = FilterChoices(dialog);
      if (choices != nullptr && choices->count() == filters.size() &&
          choices->currentIndex() != index) {
        choices->setCurrentIndex(index);
        emit choices->activated(index);
      }
    }
  }
  dialog.setDefaultSuffix(setup.defaultExt);
  if (!setup.fileName.isEmpty()) {
    QFileInfo info(setup.fileName);
    if (info.isAbsolute()) dialog.setDirectory(info.absolutePath());
    dialog.selectFile(info.fileName());
  }
}

std::optional<QString> RunFileDialog(QWidget* parent, const FileDialogSetup& setup,
                                     int* chosenFilter, QFileDialog::AcceptMode mode) {
  QFileDialog dialog(parent);
  dialog.setAcceptMode(mode);
  dialog.setFileMode(mode == QFileDialog::AcceptOpen ? QFileDialog::ExistingFile
                                                     : QFileDialog::AnyFile);
  Prepare(dialog, setup);
  if (Dialogs().ExecDialog(dialog) != QDialog::Accepted) return std::nullopt;
  const QStringList files = dialog.selectedFiles();
  if (files.isEmpty()) return std::nullopt;
  if (chosenFilter) {
    // Qt's own dialog names the choice by its text alone, which several
    // choices may share: its place in the list tells which it is.
    const QStringList filters = QtNameFilters(setup.filter);
    const QComboBox* choices = FilterChoices(dialog);
    const int index = choices != nullptr && choices->count() == filters.size()
                          ? choices->currentIndex()
                          : static_cast<int>(filters.indexOf(dialog.selectedNameFilter()));
    *chosenFilter = index < 0 ? setup.filterIndex : index + 1;
  }
  return files.first();
}

}  // namespace

MessageAnswer DialogSeam::AskYesNoAbort(QWidget* parent, const QString& caption,
                                        const QString& text) {
  QMessageBox box(QMessageBox::NoIcon, caption, text,
                  QMessageBox::Yes | QMessageBox::No | QMessageBox::Abort, parent);
  box.setTextFormat(Qt::PlainText);
  box.setEscapeButton(QMessageBox::No);
  box.setDefaultButton(QMessageBox::Yes);
  ExecDialog(box);
  const auto* clicked = box.clickedButton();
  if (clicked == box.button(QMessageBox::Yes)) return MessageAnswer::Yes;
  if (clicked == box.button(QMessageBox::Abort)) return MessageAnswer::Abort;
  return MessageAnswer::No;
}

bool DialogSeam::OkCancel(QWidget* parent, int icon, const QString& caption, const QString& text) {
  QMessageBox box(static_cast<QMessageBox::Icon>(icon), caption, text,
                  QMessageBox::Ok | QMessageBox::Cancel, parent);
  box.setTextFormat(Qt::PlainText);
  box.setEscapeButton(QMessageBox::Cancel);
  box.setDefaultButton(QMessageBox::Ok);
  ExecDialog(box);
  return box.clickedButton() == box.button(QMessageBox::Ok);
}

bool DialogSeam::ConfirmOkCancel(QWidget* parent, const QString& caption, const QString& text) {
  return OkCancel(parent, QMessageBox::Warning, caption, text);
}

bool DialogSeam::AskOkCancel(QWidget* parent, const QString& caption, const QString& text) {
  return OkCancel(parent, QMessageBox::Information, caption, text);
}

void DialogSeam::ShowWarning(QWidget* parent, const QString& caption, const QString& text) {
  QMessageBox box(QMessageBox::Warning, caption, text, QMessageBox::Ok, parent);
  box.setTextFormat(Qt::PlainText);
  ExecDialog(box);
}

void DialogSeam::ShowInformation(QWidget* parent, const QString& caption, const QString& text) {
  QMessageBox box(QMessageBox::Information, caption, text, QMessageBox::Ok, parent);
  box.setTextFormat(Qt::PlainText);
  ExecDialog(box);
}

std::optional<QString> DialogSeam::GetOpenFileName(QWidget* parent, const FileDialogSetup& setup,
                                                   int* chosenFilter) {
  return RunFileDialog(parent, setup, chosenFilter, QFileDialog::AcceptOpen);
}

std::optional<QString> DialogSeam::GetSaveFileName(QWidget* parent, const FileDialogSetup& setup,
                                                   int* chosenFilter) {
  return RunFileDialog(parent, setup, chosenFilter, QFileDialog::AcceptSave);
}

bool DialogSeam::SetUpPrinter(QWidget* parent, QPrinter& printer) {
  QPrintDialog dialog(&printer, parent);
  return Dialogs().ExecDialog(dialog) == QDialog::Accepted;
}

int DialogSeam::ExecDialog(QDialog& dialog) { return dialog.exec(); }

bool DialogSeam::OpenUrl(const QUrl& url) { return QDesktopServices::openUrl(url); }

DialogSeam& Dialogs() { return *gSeam; }

DialogSeam* SetDialogs(DialogSeam* seam) {
  DialogSeam* previous = gSeam;
  gSeam = seam ? seam : &gDefaultSeam;
  return previous;
}

QStringList QtNameFilters(const QString& windowsFilter) {
  QStringList result;
  const QStringList parts = windowsFilter.split(u'|');
  for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
    QStringList patterns;
    for (QString pattern : parts[i + 1].split(u';', Qt::SkipEmptyParts)) {
      pattern = pattern.trimmed();
      if (pattern == u"*.*") pattern = QStringLiteral("*");
      if (!pattern.isEmpty()) patterns << pattern;
    }
    if (patterns.isEmpty()) patterns << QStringLiteral("*");
    QString text = parts[i];
    // A ')' or '(' in the text would confuse Qt's "text (patterns)" parser
    // only when it ends the text; the patterns go last in their own brackets.
    result << text + QStringLiteral(" (") + patterns.join(u' ') + u')';
  }
  return result;
}

QString LiteralWindowTitle(const QString& text) {
  QString title = text;
  title.replace(QStringLiteral("[*]"), QStringLiteral("[*][*]"));
  return title;
}

}  // namespace vell::qt
