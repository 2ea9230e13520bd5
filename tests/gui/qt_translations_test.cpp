// Qt's own texts in Japanese from the translations that come with Qt, the
// window's own texts untouched, and English where the translations are
// missing.
#include "platform/qt/qt_translations.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QMenu>
#include <QMessageBox>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTranslator>

#include "gui_support.h"
#include "platform/qt/japanese_texts.h"

using namespace vell::testing;

namespace {

QString ButtonText(QMessageBox::StandardButton which) {
  QMessageBox box(QMessageBox::NoIcon, QStringLiteral("Vell"), QStringLiteral("q"),
                  QMessageBox::Yes | QMessageBox::No | QMessageBox::Abort);
  return box.button(which)->text();
}

}  // namespace

TEST(QtTranslations, StandardButtonsSpeakJapaneseWhereInstalled) {
  QTranslator* translator = vell::qt::InstallQtTranslations(*qApp);
  ASSERT_NE(translator, nullptr) << "no qtbase_ja in "
                                 << vell::qt::QtTranslationsFolder().toStdString();
  EXPECT_EQ(ButtonText(QMessageBox::Yes), QString::fromUtf16(u"はい(&Y)"));
  EXPECT_EQ(ButtonText(QMessageBox::No), QString::fromUtf16(u"いいえ(&N)"));
  EXPECT_EQ(ButtonText(QMessageBox::Abort), QString::fromUtf16(u"中止"));
  {  // The window's own captions stay exactly as they are.
    WindowFixture w;
    EXPECT_EQ(w.form->MenuFile->title(), vell::jp::Q(vell::jp::kMenuFile));
    EXPECT_EQ(w.form->FormInput->Button1->text(), QStringLiteral("OK"));
    EXPECT_EQ(w.form->FormInput->Button2->text(), vell::jp::Q(vell::jp::kAbortButton));
  }
  QCoreApplication::removeTranslator(translator);
  delete translator;

  // Where they are missing, Qt's texts stay English.
  QTemporaryDir empty;
  EXPECT_EQ(vell::qt::InstallQtTranslations(*qApp, empty.path()), nullptr);
  EXPECT_EQ(ButtonText(QMessageBox::Yes), QStringLiteral("&Yes"));
  EXPECT_EQ(ButtonText(QMessageBox::Abort), QStringLiteral("Abort"));
}
