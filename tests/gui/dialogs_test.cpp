// The real message dialogs behind the seam: which answer each key gives.
#include "platform/qt/dialogs.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>

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

}  // namespace

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
