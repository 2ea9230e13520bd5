// The boxes a running program asks through: the message box of the message
// request and the input dialog of INPUT, both with the way to end the program.
#pragma once

#include <QString>

#include "core/interpreter.h"

class QWidget;
class TFormInput;

class ProgramDialogs {
 public:
  // windowClosed tells whether the main window has closed for good.
  ProgramDialogs(QWidget& window, TFormInput& formInput, const bool& windowClosed)
      : window_(window), formInput_(formInput), windowClosed_(windowClosed) {}

  // Yes, No and Abort: 1 for Yes, else 0. Abort asks whether to end the
  // program, unless the text reports the error that ended it.
  int Message(vell::Interpreter& interp, const QString& text);
  // The text typed; empty when the program is ended instead.
  QString Input(vell::Interpreter& interp, const QString& prompt);
  // Asks whether to end the program; true (and the run ended) for OK.
  bool ConfirmEnd(vell::Interpreter& interp);

 private:
  QWidget& window_;
  TFormInput& formInput_;
  const bool& windowClosed_;
  int inputDepth_ = 0;
};
