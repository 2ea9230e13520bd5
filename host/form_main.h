// The main window: the output area above the program area, the menus, program
// files, the command line, and the receiving side of the interpreter's host
// requests.
#pragma once

#include <QKeyEvent>
#include <QMainWindow>
#include <QPlainTextEdit>
#include <QStringList>
#include <functional>
#include <string>
#include <string_view>

#include "core/host_request.h"
#include "library/service_router.h"
#include "platform/qt/dialogs.h"
#include "platform/qt/memo_edit.h"

class QAction;
class QMenu;
class QSplitter;
class TFormInput;

class TFormMain : public QMainWindow,
                  public HostRequestHandler,
                  public HostShell,
                  public vell::ServiceErrorSink {
  Q_OBJECT

 public:
  explicit TFormMain(QWidget* parent = nullptr);
  ~TFormMain() override;

  enum class StartResult { Run, Terminate };
  // Creates the interpreter, installs the predefined components and reads the
  // command line (the executable's path first). Terminate: "/s", "/u" or no
  // interpreter; the caller then returns without showing the window.
  StartResult FormCreate(const QStringList& arguments);
  // True when the command line asked for a minimised window ("/v").
  bool StartMinimized() const { return startMinimized_; }
  // Shows the window as the command line asked.
  void ShowAsStarted();

  // HostRequestHandler.
  void HandleHostRequest(Interpreter& interp) override;
  // HostShell.
  void PostCloseMainWindow() override;
  void ShowWarning(std::u16string_view text) override;
  void ReleaseProgramComponents() override;
  // ServiceErrorSink.
  void ShowServiceError(std::u16string_view message) override;

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

  // Mode 0 re-applies the memos' margins and tab stops, 1 shows the program
  // area, 2 hides it; the window's height changes by the program area's height.
  void LayoutMemos(int mode);
  // Writes the output gathered since the last flush into the output area.
  void FlushOutput();
  // The output area's text with CR LF line breaks, everything printed included.
  std::u16string OutputText();
  // Appends program output to an edit control (CR dropped, LF as a line break,
  // ESC "*" empties the control). Used for text boxes; the output area itself
  // gathers its output first.
  static void AppendToEdit(QPlainTextEdit& edit, std::u16string_view text);

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

  // Hooks of the component table: releasing every program-created component
  // (Clear output, NEW) and installing the predefined components with their
  // start-up header. Without the latter an empty header runs.
  std::function<void()> destroyAllComponents;
  std::function<void(TFormMain&)> installDefaults;

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
  // The open and save dialogs' state (programs drive them as components 2 and 3).
  vell::qt::FileDialogSetup OpenDialog;
  vell::qt::FileDialogSetup SaveDialog;

  // Real message processing happens at most this often during a run of pump
  // requests (milliseconds).
  static constexpr int kPumpIntervalMs = 4;

 signals:
  // The window has closed for good: the application should end.
  void closed();

 protected:
  void closeEvent(QCloseEvent* event) override;
  void showEvent(QShowEvent* event) override;
  void changeEvent(QEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void BuildWindow();
  void BuildMenus();
  bool LoadProgram(const QString& path, bool fromCommandLine);
  void LeaveBusy();
  void Safely(void (TFormMain::*handler)());
  void ShowError(const QString& text);

  // Request kinds.
  void Pump(bool force);
  void AppendOutput(std::u16string_view text);
  void ShowMessageRequest(Interpreter& interp);
  void ShowInputRequest(Interpreter& interp);
  void WindowRequest(Interpreter& interp);
  void ComponentRequest(Interpreter& interp);
  // Asks whether to end the program; true (and runState 13) for OK.
  bool ConfirmEnd(Interpreter& interp);

  QString caption_;
  bool autoRun_ = false;
  bool startMinimized_ = false;
  bool firstShowDone_ = false;
  bool closed_ = false;
  bool closePending_ = false;
  bool runPending_ = false;
  int busyDepth_ = 0;
  int progHeight_ = 0;
  int inputDepth_ = 0;

  // Output gathered between real pumps.
  QString pendingOutput_;
  int lastRequestKind_ = 0;
  // When events were last processed (coarse milliseconds; -1: never).
  long long lastPumpMs_ = -1;
};
