// The real message dialogs behind the seam: which answer each key gives.
#include "platform/qt/dialogs.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QFileDialog>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTemporaryDir>
#include <QTimer>

#include "gui_support.h"
#include "platform/qt/japanese_texts.h"

using namespace vell;

namespace {

// Presses `key` on the modal dialog as soon as it shows; clicks `button`
// instead when it is given.
void AnswerNextDialog(Qt::Key key, QMessageBox::StandardButton button = QMessageBox::NoButton) {
  auto* timer = new QTimer;
  timer->setInterval(5);
  QObject::connect(timer, &QTimer::timeout, [timer, key, button] {
    QWidget* modal = QApplication::activeModalWidget();
    if (modal == nullptr) return;
    timer->stop();
    timer->deleteLater();
    auto* box = qobject_cast<QMessageBox*>(modal);
    if (button != QMessageBox::NoButton && box) {
      box->button(button)->click();
    } else {
      QTest::keyClick(modal, key);
    }
  });
  timer->start();
}

// The real file dialog, accepted at once: records the filter choices it
// shows and which is chosen, and picks choice `pick` first when it is set.
class FilterProbe : public vell::qt::DialogSeam {
 public:
  QStringList shown;
  int shownChoice = -1;
  int pick = -1;

  int ExecDialog(QDialog& dialog) override {
    auto* choices = dialog.findChild<QComboBox*>(QStringLiteral("fileTypeCombo"));
    EXPECT_NE(choices, nullptr);
    if (choices == nullptr) return QDialog::Rejected;
    shown.clear();
    for (int i = 0; i < choices->count(); ++i) shown << choices->itemText(i);
    shownChoice = choices->currentIndex();
    if (pick >= 0) {  // as the user picks it
      choices->setCurrentIndex(pick);
      emit choices->activated(pick);
    }
    return QDialog::Accepted;
  }
};

}  // namespace

TEST(RealDialogs, FileFilterChoicesShowTheirText) {
  QTemporaryDir dir;
  const QString file = dir.filePath(QStringLiteral("p.vell"));
  vell::testing::WriteBytes(file, "PRINT 1\n");
  FilterProbe probe;
  // The dialogs run through the seam in use.
  vell::qt::DialogSeam* previous = vell::qt::SetDialogs(&probe);
  vell::qt::FileDialogSetup setup;
  setup.fileName = file;
  setup.filter = vell::jp::Q(vell::jp::kProgramFileFilter);
  setup.filterIndex = 2;
  int chosen = 0;
  EXPECT_EQ(probe.GetOpenFileName(nullptr, setup, &chosen), file);
  EXPECT_EQ(probe.shown.join(u'|').toStdString(), "Vellファイル(*.vell)|すべてのファイル(*.*)");
  EXPECT_EQ(probe.shownChoice, 1);
  EXPECT_EQ(chosen, 2);

  // Choices that share their text are told apart by their place.
  setup.filter = QStringLiteral("Text|*.txt|Text|*.log|All|*.*");
  setup.filterIndex = 2;
  EXPECT_TRUE(probe.GetSaveFileName(nullptr, setup, &chosen));
  EXPECT_EQ(probe.shown.join(u'|').toStdString(), "Text|Text|All");
  EXPECT_EQ(probe.shownChoice, 1);
  EXPECT_EQ(chosen, 2);
  probe.pick = 0;
  EXPECT_TRUE(probe.GetSaveFileName(nullptr, setup, &chosen));
  EXPECT_EQ(chosen, 1);
  vell::qt::SetDialogs(previous);
}

TEST(RealDialogs, MessageAnswers) {
  vell::qt::DialogSeam seam;  // the default, real dialogs
  using vell::qt::MessageAnswer;
  AnswerNextDialog(Qt::Key_Escape);
  EXPECT_EQ(seam.AskYesNoAbort(nullptr, QStringLiteral("Vell"), QStringLiteral("q")),
            MessageAnswer::No);
  AnswerNextDialog(Qt::Key_Return);
  EXPECT_EQ(seam.AskYesNoAbort(nullptr, QStringLiteral("Vell"), QStringLiteral("q")),
            MessageAnswer::Yes);
  AnswerNextDialog(Qt::Key_unknown, QMessageBox::Abort);
  EXPECT_EQ(seam.AskYesNoAbort(nullptr, QStringLiteral("Vell"), QStringLiteral("q")),
            MessageAnswer::Abort);
  AnswerNextDialog(Qt::Key_Escape);
  EXPECT_FALSE(seam.ConfirmOkCancel(nullptr, QStringLiteral("Vell"), QStringLiteral("end?")));
  AnswerNextDialog(Qt::Key_Return);
  EXPECT_TRUE(seam.ConfirmOkCancel(nullptr, QStringLiteral("Vell"), QStringLiteral("end?")));
}

TEST(RealDialogs, OkCancelQuestion) {
  vell::qt::DialogSeam seam;
  AnswerNextDialog(Qt::Key_Escape);
  EXPECT_FALSE(seam.AskOkCancel(nullptr, QStringLiteral("Vell"), QStringLiteral("delete?")));
  AnswerNextDialog(Qt::Key_unknown, QMessageBox::Ok);
  EXPECT_TRUE(seam.AskOkCancel(nullptr, QStringLiteral("Vell"), QStringLiteral("delete?")));
}
