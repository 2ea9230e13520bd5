#include "platform/qt/desktop_process_starter.h"

#include <QFile>
#include <QUrl>

#include "platform/qt/dialogs.h"

namespace vell::qt {

bool DesktopProcessStarter::OpenDocument(const process::RunTarget& target) {
  QUrl url;
  if (target.kind == process::RunTarget::Url) {
    url = QUrl(QString::fromStdString(target.path));
  } else if (target.kind == process::RunTarget::Document) {
    url = QUrl::fromLocalFile(QFile::decodeName(QByteArray::fromStdString(target.path)));
  }
  if (!url.isValid() || url.isEmpty()) return false;
  return Dialogs().OpenUrl(url);
}

}  // namespace vell::qt
