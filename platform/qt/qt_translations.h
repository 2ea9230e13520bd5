// Qt's own texts (the standard buttons of message boxes, the file and
// printer dialogs) in the window's language, Japanese, from the
// translations that come with Qt. The application's own texts do not go
// through them and stay exactly as they are.
#pragma once

#include <QString>

class QCoreApplication;
class QTranslator;

namespace vell::qt {

// Where Qt's translations are installed.
QString QtTranslationsFolder();

// Installs Qt's Japanese translations from `folder` on the application; the
// translator is the application's child. Null when they are not there: Qt's
// texts then stay English and nothing else changes.
QTranslator* InstallQtTranslations(QCoreApplication& app,
                                   const QString& folder = QtTranslationsFolder());

}  // namespace vell::qt
