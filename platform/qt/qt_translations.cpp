#include "platform/qt/qt_translations.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QTranslator>
#include <memory>

namespace vell::qt {

namespace {

// qtbase_ja.qm: the texts of Qt's core, GUI and widget modules.
constexpr char kQtTranslations[] = "qtbase_ja";

}  // namespace

QString QtTranslationsFolder() { return QLibraryInfo::path(QLibraryInfo::TranslationsPath); }

QTranslator* InstallQtTranslations(QCoreApplication& app, const QString& folder) {
  auto translator = std::make_unique<QTranslator>(&app);
  if (!translator->load(QLatin1String(kQtTranslations), folder) ||
      !QCoreApplication::installTranslator(translator.get())) {
    return nullptr;
  }
  return translator.release();
}

}  // namespace vell::qt
