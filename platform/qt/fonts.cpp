#include "platform/qt/fonts.h"

#include <QFontDatabase>
#include <QStringList>

#include "platform/qt/japanese_texts.h"

namespace vell::qt {

namespace {

QString FixedFallback() { return QFontDatabase::systemFont(QFontDatabase::FixedFont).family(); }

bool IsGothic(const QString& family) {
  return family == jp::Q(jp::kMemoFontFamily) ||
         family.compare(u"MS Gothic", Qt::CaseInsensitive) == 0;
}

}  // namespace

void InstallFontSubstitutions() {
  static bool installed = false;
  if (installed) return;
  installed = true;
  const QStringList gothic{QStringLiteral("IPAGothic"), FixedFallback(),
                           QStringLiteral("monospace")};
  QFont::insertSubstitutions(jp::Q(jp::kMemoFontFamily), gothic);
  QFont::insertSubstitutions(QStringLiteral("MS Gothic"), gothic);
  QFont::insertSubstitutions(QStringLiteral("Tahoma"),
                             {QFontDatabase::systemFont(QFontDatabase::GeneralFont).family(),
                              QStringLiteral("sans-serif")});
}

QFont WindowsFont(const QString& family, int pixelHeight) {
  InstallFontSubstitutions();
  QFont font(family);
  if (IsGothic(family)) {
    font.setStyleHint(QFont::TypeWriter);
    font.setFixedPitch(true);
  }
  if (pixelHeight < 0) pixelHeight = -pixelHeight;
  if (pixelHeight > 0) font.setPixelSize(pixelHeight);
  return font;
}

}  // namespace vell::qt
