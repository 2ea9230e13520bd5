// The application: the main window and its message loop.
#include <QApplication>
#include <QMessageBox>
#include <exception>

#include "components/widgets/image_control.h"
#include "host/form_main.h"

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  QApplication::setApplicationName(QStringLiteral("Vell"));
  // Program forms may stay open; closing the main window alone ends the
  // application.
  QApplication::setQuitOnLastWindowClosed(false);
  // Images load pictures through Qt's image plugins; say which are missing.
  if (const QStringList missing = vell::MissingPictureDecoders(); !missing.isEmpty()) {
    qWarning("Vell: no picture decoder for %s; images cannot load those files",
             qPrintable(missing.join(QStringLiteral(", "))));
  }
  try {
    TFormMain form;
    QObject::connect(&form, &TFormMain::closed, &app, &QCoreApplication::quit,
                     Qt::QueuedConnection);
    QStringList arguments = QCoreApplication::arguments();
    if (!arguments.isEmpty()) arguments[0] = QCoreApplication::applicationFilePath();
    if (form.FormCreate(arguments) == TFormMain::StartResult::Terminate) return 0;
    form.ShowAsStarted();
    QApplication::exec();
  } catch (const std::exception& e) {
    QMessageBox::critical(nullptr, QStringLiteral("Vell"), QString::fromUtf8(e.what()));
  } catch (...) {
    QMessageBox::critical(nullptr, QStringLiteral("Vell"), QString());
  }
  return 0;
}
