// The application: the main window and its message loop.
#include <QApplication>
#include <QMessageBox>

#include "components/widgets/image_control.h"
#include "host/form_main.h"
#include "platform/guarded.h"

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
  vell::Guarded(
      [] {
        TFormMain form;
        QObject::connect(&form, &TFormMain::closed, qApp, &QCoreApplication::quit,
                         Qt::QueuedConnection);
        QStringList arguments = QCoreApplication::arguments();
        if (!arguments.isEmpty()) arguments[0] = QCoreApplication::applicationFilePath();
        if (form.FormCreate(arguments) == TFormMain::StartResult::Terminate) return;
        form.ShowAsStarted();
        QApplication::exec();
      },
      [](std::u16string_view message) {
        QMessageBox::critical(nullptr, QStringLiteral("Vell"),
                              QString::fromUtf16(message.data(), static_cast<qsizetype>(message.size())));
      });
  return 0;
}
