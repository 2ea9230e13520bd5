// The main window: the output area above the program area, the menus, program
// files and the command line. The interpreter's host requests go to the
// request dispatcher, which hands them to the parts that own them.
#pragma once

#include <QKeyEvent>
#include <QMainWindow>
#include <QPlainTextEdit>
#include <QStringList>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "core/interpreter.h"
#include "host/request_dispatcher.h"
#include "platform/qt/dialogs.h"
#include "platform/qt/memo_edit.h"

class QAction;
class QMenu;
class QSplitter;
class ComponentTableHooks;
class ErrorBox;
class OutputArea;
class ProgramDialogs;
class TFormInput;
class TVellPopupMenu;
class WindowComponents;
class WindowLayout;

class TFormMain : public QMainWindow, public vell::HostShell {
  Q_OBJECT

 public:
  explicit TFormMain(QWidget* parent = nullptr);
  ~TFormMain() override;

  enum class StartResult { Run, Terminate };
  // Creates the interpreter, installs the predefined components and reads the
  // command line (the executable's path first). Terminate: "/s", "/u" or no
  // interpreter; the caller then returns without showing the window.
  // `fileTypeError`: "/s" or "/u" was already tried before the window
  // existed and failed for this reason, which is shown; the window then
  // starts as without parameters.
  StartResult FormCreate(const QStringList& arguments,
                         const std::optional<QString>& fileTypeError = std::nullopt);
  // True when the command line asked for a minimised window ("/v").
  bool StartMinimized() const { return startMinimized_; }
  // Shows the window as the command line asked.
  void ShowAsStarted();

  // HostShell.
  void PostCloseMainWindow() override;
  void ShowWarning(std::u16string_view text) override;
  void ReleaseProgramComponents() override;
  bool StartComponents() override;
  void EndComponents() override;

  // Menu handlers.
  void MenuFileOpenClick();
  void MenuFileSaveAsClick();
  void MenuFileExitClick();
  void MenuProgRunClick();
  void MenuProgEndClick();
  void MenuProgDispClick();
  void MenuProgClsClick();
  void MenuHelpFileClick();
  void MenuHelpVersionClick();
  // Runs the program loaded from the command line, once.
  void FormActivate();

  // Writes the output gathered since the last flush into the output area.
  void FlushOutput();
  // The output area's text with CR LF line breaks, everything printed included.
  std::u16string OutputText();

  // The caption: "Vell" or the current program file's path.
  const QString& Caption() const { return caption_; }
  void SetCaption(const QString& caption);

  // Runs a component event's text; the window does not close and no run starts
  // underneath it until it returns.
  int RunEvent(std::u16string_view text);

  // Holds the interpreter busy: a close or a Run asked for meanwhile waits.
  class BusyScope {
   public:
    explicit BusyScope(TFormMain& form) : form_(form) { ++form_.busyDepth_; }
    ~BusyScope() { form_.LeaveBusy(); }
    BusyScope(const BusyScope&) = delete;
    BusyScope& operator=(const BusyScope&) = delete;

   private:
    TFormMain& form_;
  };
  int BusyDepth() const { return busyDepth_; }

  // Installs the component table (null: none). Without one, no predefined
  // components exist and an empty start-up header runs.
  void InstallComponentTable(ComponentTableHooks* table);

  // Controls.
  QWidget* PanelOut = nullptr;
  MemoEdit* MemoOut = nullptr;
  QSplitter* Splitter = nullptr;
  MemoEdit* MemoProg = nullptr;
  QMenu* MenuFile = nullptr;
  QAction* MenuFileOpen = nullptr;
  QAction* MenuFileSaveAs = nullptr;
  QAction* MenuFileExit = nullptr;
  QMenu* MenuProg = nullptr;
  QAction* MenuProgRun = nullptr;
  QAction* MenuProgEnd = nullptr;
  QAction* MenuProgDisp = nullptr;
  QAction* MenuProgCls = nullptr;
  QMenu* MenuHelp = nullptr;
  QAction* MenuHelpFile = nullptr;
  QAction* MenuHelpVersion = nullptr;
  TFormInput* FormInput = nullptr;
  // The memos' edit menu.
  TVellPopupMenu* VellPopupMenu = nullptr;
  // The open and save dialogs' state, kept by the component table: programs
  // drive them as components 2 and 3.
  vell::qt::FileDialogSetup& OpenDialog();
  vell::qt::FileDialogSetup& SaveDialog();

  // Real message processing happens at most this often during a run of pump
  // requests (milliseconds).
  static constexpr int kPumpIntervalMs = RequestDispatcher::kPumpIntervalMs;
  // How long a program from the command line waits at most for the window
  // system to place the window (milliseconds).
  static constexpr int kPlacementWaitMs = 2000;

 signals:
  // The window has closed for good: the application should end.
  void closed();

 protected:
  void closeEvent(QCloseEvent* event) override;
  void showEvent(QShowEvent* event) override;
  void moveEvent(QMoveEvent* event) override;
  void changeEvent(QEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void BuildWindow();
  // Shows the output area again, filling the panel when it is aligned so.
  void ShowOutputArea();
  void BuildMenus();
  bool LoadProgram(const QString& path, bool fromCommandLine);
  void LeaveBusy();
  // The window stands where the window system put it: a program from the
  // command line that waited for this may run.
  void Placed();
  // Runs work, showing any exception it throws instead of passing it on.
  // False when it threw.
  template <class Work>
  bool Guarded(Work&& work);
  void Safely(void (TFormMain::*handler)());
  void ShowError(const QString& text);

  // The interpreter this window created, while it still serves the window.
  vell::Interpreter* Interp() const {
    return vell::InterpreterServes(interp_, dispatcher_.get()) ? interp_ : nullptr;
  }

  vell::Interpreter* interp_ = nullptr;  // null until FormCreate and once closed
  ComponentTableHooks* componentTable_ = nullptr;
  std::unique_ptr<OutputArea> output_;
  std::unique_ptr<ErrorBox> errorBox_;
  // After the output area it writes to, so that it goes first.
  std::unique_ptr<WindowComponents> components_;
  std::unique_ptr<WindowLayout> layout_;
  std::unique_ptr<ProgramDialogs> dialogs_;
  std::unique_ptr<RequestDispatcher> dispatcher_;
  QString caption_;
  bool autoRun_ = false;
  bool startMinimized_ = false;
  bool firstShowDone_ = false;
  bool awaitingPlacement_ = false;
  bool closing_ = false;  // the close has begun: no command starts work
  bool closed_ = false;
  bool closePending_ = false;
  bool runPending_ = false;
  int busyDepth_ = 0;
};
