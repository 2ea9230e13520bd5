// Shared helpers of the window tests: dialogs answered from a script and a
// main window set up as the application sets it up.
#pragma once

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QTemporaryDir>
#include <deque>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "core/interpreter_state.h"
#include "tests/support/files.h"
#include "host/form_input.h"
#include "host/form_main.h"
#include "platform/qt/dialogs.h"
#include "platform/qt/memo_text.h"

namespace vell::testing {

// Takes the front of a queue of answers, or `fallback` when it is empty.
template <typename T>
T Next(std::deque<T>& queue, T fallback) {
  if (!queue.empty()) {
    fallback = std::move(queue.front());
    queue.pop_front();
  }
  return fallback;
}

// Answers every dialog from queues and records what was shown.
class ScriptedDialogs : public qt::DialogSeam {
 public:
  using Step = std::function<int(TFormInput&)>;
  std::deque<qt::MessageAnswer> messageAnswers;  // empty: No
  std::deque<bool> confirmAnswers;               // empty: Cancel
  // Each input dialog shown takes the next step; empty: OK as it is.
  std::deque<Step> inputSteps;
  std::deque<std::optional<QString>> openAnswers, saveAnswers;  // empty: Cancel

  std::vector<QString> messages, confirmations, questions, warnings, prompts;
  std::vector<TFormInput*> inputDialogs;
  std::vector<qt::FileDialogSetup> openSetups, saveSetups;
  std::vector<QUrl> openedUrls;

  qt::MessageAnswer AskYesNoAbort(QWidget*, const QString&, const QString& text) override {
    messages.push_back(text);
    return Next(messageAnswers, qt::MessageAnswer::No);
  }
  bool ConfirmOkCancel(QWidget*, const QString&, const QString& text) override {
    confirmations.push_back(text);
    return Next(confirmAnswers, false);
  }
  // Asked with an information icon; answered from the same queue.
  bool AskOkCancel(QWidget*, const QString&, const QString& text) override {
    questions.push_back(text);
    return Next(confirmAnswers, false);
  }
  void ShowWarning(QWidget*, const QString&, const QString& text) override {
    warnings.push_back(text);
  }
  void ShowInformation(QWidget*, const QString&, const QString&) override {}
  std::optional<QString> GetOpenFileName(QWidget*, const qt::FileDialogSetup& setup,
                                         int*) override {
    openSetups.push_back(setup);
    return Next(openAnswers, std::optional<QString>());
  }
  std::optional<QString> GetSaveFileName(QWidget*, const qt::FileDialogSetup& setup,
                                         int*) override {
    saveSetups.push_back(setup);
    return Next(saveAnswers, std::optional<QString>());
  }
  int ExecDialog(QDialog& dialog) override {
    auto* input = qobject_cast<TFormInput*>(&dialog);
    if (input == nullptr) return QDialog::Rejected;
    inputDialogs.push_back(input);
    prompts.push_back(input->LabelMessage->text());
    EXPECT_TRUE(input->EditInput->text().isEmpty());  // every showing starts empty
    Step step = Next(inputSteps, Step());
    return step ? step(*input) : static_cast<int>(TFormInput::ResultOk);
  }
  bool OpenUrl(const QUrl& url) override {
    openedUrls.push_back(url);
    return true;
  }

  // A step that types `text` and presses OK; a step that gives result `r`.
  static Step Type(const QString& text) {
    return [text](TFormInput& d) {
      d.EditInput->setText(text);
      return static_cast<int>(TFormInput::ResultOk);
    };
  }
  static Step Result(int r) {
    return [r](TFormInput&) { return r; };
  }
};

// Processes events until `done` holds or the time is up.
inline bool WaitFor(const std::function<bool()>& done, int ms = 3000) {
  QDeadlineTimer deadline(ms);
  while (!done()) {
    if (deadline.hasExpired()) return false;
    QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
  }
  return true;
}

// A main window started with the given parameters (after the executable).
class WindowFixture {
 public:
  explicit WindowFixture(const QStringList& parameters = {})
      : previousDir_(QDir::currentPath()), previousSeam_(qt::SetDialogs(&dialogs)) {
    form = std::make_unique<TFormMain>();
    QObject::connect(form.get(), &TFormMain::closed, [this] { ++closedCount; });
    start = form->FormCreate(QStringList{QStringLiteral("/opt/vell/vell")} + parameters);
  }
  ~WindowFixture() {
    form.reset();
    qt::SetDialogs(previousSeam_);
    QDir::setCurrent(previousDir_);
  }

  // Puts the text into the program area and runs it like F9.
  std::u16string Run(std::u16string_view program) {
    qt::SetMemoText(*form->MemoProg, program);
    form->MenuProgRunClick();
    return form->OutputText();
  }
  std::u16string Output() { return form->OutputText(); }

  std::vector<std::u16string> CommandLine() const {
    std::vector<std::u16string> parts;
    const vellarray& list = gInterpreter->commandLine;
    for (int32_t i = 0; i < list.ChildCount(); ++i) {
      parts.emplace_back(
          vellvar(list.Child(i)->item).WideText());  // a copy: the item keeps its kind
    }
    return parts;
  }

  ScriptedDialogs dialogs;
  std::unique_ptr<TFormMain> form;
  TFormMain::StartResult start = TFormMain::StartResult::Run;
  int closedCount = 0;

 private:
  QString previousDir_;
  qt::DialogSeam* previousSeam_;
};

inline void WriteBytes(const QString& path, const QByteArray& bytes) {
  test::PutFile(path.toStdString(), bytes.toStdString());
}
inline QByteArray ReadBytes(const QString& path) {
  return QByteArray::fromStdString(test::FileBytes(path.toStdString()));
}

}  // namespace vell::testing
