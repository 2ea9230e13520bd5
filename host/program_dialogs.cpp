#include "host/program_dialogs.h"

#include <memory>

#include "host/form_input.h"
#include "platform/qt/dialogs.h"
#include "platform/qt/japanese_texts.h"

namespace jp = vell::jp;

namespace {

QString AppCaption() { return QStringLiteral("Vell"); }

}  // namespace

bool ProgramDialogs::ConfirmEnd(vell::Interpreter& interp) {
  const bool ok =
      vell::qt::Dialogs().ConfirmOkCancel(nullptr, AppCaption(), jp::Q(jp::kConfirmEnd));
  if (ok) vell::SetRunState(interp, vell::StateEnd);
  return ok;
}

int ProgramDialogs::Message(vell::Interpreter& interp, const QString& text) {
  const bool errorReport = vell::RunState(interp) != vell::StateRunning;
  const vell::qt::MessageAnswer answer =
      vell::qt::Dialogs().AskYesNoAbort(&window_, AppCaption(), text);
  if (answer == vell::qt::MessageAnswer::Abort && !errorReport) {
    ConfirmEnd(interp);
    return 0;
  }
  return answer == vell::qt::MessageAnswer::Yes ? 1 : 0;
}

QString ProgramDialogs::Input(vell::Interpreter& interp, const QString& prompt) {
  // An INPUT from an event text while the dialog is already open gets a
  // dialog of its own.
  std::unique_ptr<TFormInput> extra;
  TFormInput* dialog = &formInput_;
  if (inputDepth_ > 0 || formInput_.isVisible()) {
    extra = std::make_unique<TFormInput>(&window_);
    dialog = extra.get();
  }
  ++inputDepth_;
  struct Leave {
    int& depth;
    ~Leave() { --depth; }
  } leave{inputDepth_};

  for (;;) {
    dialog->Prepare(prompt);
    const int r = vell::qt::Dialogs().ExecDialog(*dialog);
    if (r == TFormInput::ResultOk) return dialog->Answer();
    if (r == TFormInput::ResultAbort && ConfirmEnd(interp)) return QString();
    if (windowClosed_) return QString();  // nothing left to answer to
  }
}
