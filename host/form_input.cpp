#include "host/form_input.h"

#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>

#include "platform/qt/fonts.h"
#include "platform/qt/japanese_texts.h"

TFormInput::TFormInput(QWidget* parent) : QDialog(parent) {
  setObjectName(QStringLiteral("FormInput"));
  setWindowTitle(QStringLiteral("INPUT"));
  setFont(vell::qt::WindowsFont(QStringLiteral("Tahoma"), -13));
  setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint |
                 Qt::WindowCloseButtonHint);
  setFixedSize(272, 84);

  LabelMessage = new QLabel(this);
  LabelMessage->setObjectName(QStringLiteral("LabelMessage"));
  LabelMessage->setGeometry(8, 0, 80, 16);
  LabelMessage->setTextFormat(Qt::PlainText);

  EditInput = new QLineEdit(this);
  EditInput->setObjectName(QStringLiteral("EditInput"));
  EditInput->setGeometry(8, 22, 256, 24);

  Button1 = new QPushButton(QStringLiteral("OK"), this);
  Button1->setObjectName(QStringLiteral("Button1"));
  Button1->setGeometry(56, 52, 75, 25);
  Button1->setAutoDefault(false);

  Button2 = new QPushButton(vell::jp::Q(vell::jp::kAbortButton), this);
  Button2->setObjectName(QStringLiteral("Button2"));
  Button2->setGeometry(145, 51, 75, 25);
  Button2->setAutoDefault(false);

  setTabOrder(EditInput, Button1);
  setTabOrder(Button1, Button2);
  connect(Button1, &QPushButton::clicked, this, [this] { done(ResultOk); });
  connect(Button2, &QPushButton::clicked, this, [this] { done(ResultAbort); });
  for (QWidget* child : {static_cast<QWidget*>(EditInput), static_cast<QWidget*>(Button1),
                         static_cast<QWidget*>(Button2)}) {
    child->installEventFilter(this);
  }
}

void TFormInput::Prepare(const QString& prompt) {
  setWindowTitle(QStringLiteral("INPUT"));
  LabelMessage->setText(prompt);
  // The label grows with its prompt, as far as the dialog reaches.
  LabelMessage->adjustSize();
  LabelMessage->resize(qBound(80, LabelMessage->width(), width() - 8), 16);
  EditInput->clear();
}

QString TFormInput::Answer() const { return EditInput->text(); }

void TFormInput::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  if (QScreen* screen = this->screen() ? this->screen() : QGuiApplication::primaryScreen()) {
    QRect frame = frameGeometry();
    frame.moveCenter(screen->availableGeometry().center());
    move(frame.topLeft());
  }
  EditInput->setFocus(Qt::ActiveWindowFocusReason);
}

bool TFormInput::FormKeyDown(int key) {
  if (key == Qt::Key_Return || key == Qt::Key_Enter) {
    done(ResultOk);
    return true;
  }
  if (key == Qt::Key_Escape) {
    done(ResultCancel);
    return true;
  }
  return false;
}

bool TFormInput::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::KeyPress && FormKeyDown(static_cast<QKeyEvent*>(event)->key())) {
    return true;
  }
  return QDialog::eventFilter(watched, event);
}

void TFormInput::keyPressEvent(QKeyEvent* event) {
  if (FormKeyDown(event->key())) return;
  QDialog::keyPressEvent(event);
}
