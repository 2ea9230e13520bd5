// Shared helpers of the window tests: dialogs answered from a script and a
// main window set up as the application sets it up.
#pragma once

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <deque>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "core/interpreter.h"
#include "host/form_input.h"
#include "host/form_main.h"
#include "platform/qt/dialogs.h"
#include "platform/qt/memo_text.h"

namespace vell::testing {

inline QString Q(std::u16string_view text) {
  return QString(reinterpret_cast<const QChar*>(text.data()), static_cast<qsizetype>(text.size()));
}

// Answers every dialog from queues and records what was shown.
class ScriptedDialogs : public qt::DialogSeam {
 public:
  std::deque<qt::MessageAnswer> messageAnswers;  // empty: No
  std::deque<bool> confirmAnswers;               // empty: Cancel
  // Each input dialog shown takes the next step; empty: the OK button with
  // the edit as it is.
  std::deque<std::function<int(TFormInput&)>> inputSteps;
  std::deque<std::optional<QString>> openAnswers, saveAnswers;

  std::vector<QString> messages, confirmations, warnings, informations, prompts;
  std::vector<TFormInput*> inputDialogs;
  std::vector<qt::FileDialogSetup> openSetups, saveSetups;
  std::vector<QUrl> openedUrls;
  bool urlOpens = true;

  qt::MessageAnswer AskYesNoAbort(QWidget*, const QString&, const QString& text) override {
    messages.push_back(text);
    if (messageAnswers.empty()) return qt::MessageAnswer::No;
    auto a = messageAnswers.front();
    messageAnswers.pop_front();
    return a;
  }
  bool ConfirmOkCancel(QWidget*, const QString&, const QString& text) override {
    confirmations.push_back(text);
    if (confirmAnswers.empty()) return false;
    bool a = confirmAnswers.front();
    confirmAnswers.pop_front();
    return a;
  }
  void ShowWarning(QWidget*, const QString&, const QString& text) override {
    warnings.push_back(text);
  }
  void ShowInformation(QWidget*, const QString&, const QString& text) override {
    informations.push_back(text);
  }
  std::optional<QString> GetOpenFileName(QWidget*, const qt::FileDialogSetup& setup,
                                         int*) override {
    openSetups.push_back(setup);
    if (openAnswers.empty()) return std::nullopt;
    auto a = openAnswers.front();
    openAnswers.pop_front();
    return a;
  }
  std::optional<QString> GetSaveFileName(QWidget*, const qt::FileDialogSetup& setup,
                                         int*) override {
    saveSetups.push_back(setup);
    if (saveAnswers.empty()) return std::nullopt;
    auto a = saveAnswers.front();
    saveAnswers.pop_front();
    return a;
  }
  int ExecDialog(QDialog& dialog) override {
    auto* input = qobject_cast<TFormInput*>(&dialog);
    if (input == nullptr) return QDialog::Rejected;
    inputDialogs.push_back(input);
    prompts.push_back(input->LabelMessage->text());
    // Every showing starts with an empty edit.
    EXPECT_TRUE(input->EditInput->text().isEmpty());
    if (inputSteps.empty()) return TFormInput::ResultOk;
    auto step = std::move(inputSteps.front());
    inputSteps.pop_front();
    return step(*input);
  }
  bool OpenUrl(const QUrl& url) override {
    openedUrls.push_back(url);
    return urlOpens;
  }

  // A step that types `text` and presses OK.
  static std::function<int(TFormInput&)> Type(const QString& text) {
    return [text](TFormInput& d) {
      d.EditInput->setText(text);
      return static_cast<int>(TFormInput::ResultOk);
    };
  }
  static std::function<int(TFormInput&)> Result(int r) {
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
  explicit WindowFixture(const QStringList& parameters = {}, bool create = true)
      : previousDir_(QDir::currentPath()) {
    previousSeam_ = qt::SetDialogs(&dialogs);
    form = std::make_unique<TFormMain>();
    QObject::connect(form.get(), &TFormMain::closed, [this] { ++closedCount; });
    if (create)
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
    for (vellarray* n = gInterpreter->commandLine.firstChild; n; n = n->nextSibling) {
      vellvar v = n->item;
      parts.emplace_back(v.WideText());
    }
    return parts;
  }

  ScriptedDialogs dialogs;
  std::unique_ptr<TFormMain> form;
  TFormMain::StartResult start = TFormMain::StartResult::Run;
  int closedCount = 0;

 private:
  QString previousDir_;
  qt::DialogSeam* previousSeam_ = nullptr;
};

inline void WriteBytes(const QString& path, const QByteArray& bytes) {
  QFile f(path);
  ASSERT_TRUE(f.open(QIODevice::WriteOnly));
  f.write(bytes);
}

inline QByteArray ReadBytes(const QString& path) {
  QFile f(path);
  if (!f.open(QIODevice::ReadOnly)) return {};
  return f.readAll();
}

}  // namespace vell::testing
