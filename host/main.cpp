// The application: the main window and its message loop.
#include <QApplication>
#include <QMessageBox>
#include <cstdio>
#include <optional>

#include "components/widgets/image_control.h"
#include "host/command_line.h"
#include "host/file_association.h"
#include "host/form_main.h"
#include "platform/guarded.h"
#include "platform/qt/display.h"
#include "platform/qt/qt_translations.h"

namespace {

constexpr int kExitDone = 0;
// "/s" or "/u" failed where no window can show why.
constexpr int kExitFileTypeFailed = 1;
// The name Qt is given when the system passed none.
char kFallbackName[] = "vell";

}  // namespace

int main(int argc, char** argv) {
  // Qt sees the program's name alone, so that no parameter is taken as one
  // of its options; the parameters are read from argv below.
  int qtArgc = 1;
  char* qtArgv[] = {argc > 0 && argv[0] != nullptr ? argv[0] : kFallbackName, nullptr};
  const QStringList parameters = vell::host::Parameters(argc, argv);

  // "/s" and "/u" need no window: they are done before any window object
  // exists, so that they work without a display too.
  std::optional<QString> fileTypeError;
  if (const int mode = parameters.isEmpty() ? vell::host::kNoFileTypeSwitch
                                            : vell::host::FileTypeSwitch(parameters.first());
      mode != vell::host::kNoFileTypeSwitch) {
    QCoreApplication core(qtArgc, qtArgv);
    QString error;
    if (vell::host::RegisterFileType(mode, QCoreApplication::applicationFilePath(), error)) {
      return kExitDone;
    }
    if (!vell::qt::DisplayAvailable()) {
      std::fprintf(stderr, "Vell: %s\n", error.toLocal8Bit().constData());
      return kExitFileTypeFailed;
    }
    // The window shows why and starts as without parameters.
    fileTypeError = error;
  }

  QApplication app(qtArgc, qtArgv);
  QApplication::setApplicationName(QStringLiteral("Vell"));
  // Qt's own buttons and dialogs speak the window's language where its
  // translations are installed.
  vell::qt::InstallQtTranslations(app);
  // Program forms may stay open; closing the main window alone ends the
  // application.
  QApplication::setQuitOnLastWindowClosed(false);
  // Images load pictures through Qt's image plugins; say which are missing.
  if (const QStringList missing = vell::MissingPictureDecoders(); !missing.isEmpty()) {
    qWarning("Vell: no picture decoder for %s; images cannot load those files",
             qPrintable(missing.join(QStringLiteral(", "))));
  }
  vell::Guarded(
      [&] {
        TFormMain form;
        QObject::connect(&form, &TFormMain::closed, qApp, &QCoreApplication::quit,
                         Qt::QueuedConnection);
        const QStringList arguments =
            QStringList{QCoreApplication::applicationFilePath()} + parameters;
        if (form.FormCreate(arguments, fileTypeError) == TFormMain::StartResult::Terminate) return;
        form.ShowAsStarted();
        QApplication::exec();
      },
      [](std::u16string_view message) {
        QMessageBox::critical(nullptr, QStringLiteral("Vell"),
                              QString::fromUtf16(message.data(), static_cast<qsizetype>(message.size())));
      });
  return kExitDone;
}
