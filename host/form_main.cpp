#include "host/form_main.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDir>
#include <QFileInfo>
#include <QKeyEvent>
#include <QLayout>
#include <QMenuBar>
#include <QSplitter>
#include <QTimer>
#include <QUrl>
#include <QWindow>

#include "components/keywords/component_keywords.h"
#include "components/widgets/aligned_layout.h"
#include "core/interpreter.h"
#include "host/command_line.h"
#include "host/edit_popup_menu.h"
#include "host/error_box.h"
#include "host/file_association.h"
#include "host/form_input.h"
#include "host/output_area.h"
#include "host/program_dialogs.h"
#include "host/program_file.h"
#include "host/window_components.h"
#include "host/window_layout.h"
#include "library/library_builtins.h"
#include "library/qt/command_services.h"
#include "library/qt/desktop_services.h"
#include "library/sql/database_manager.h"
#include "platform/guarded.h"
#include "platform/qt/fonts.h"
#include "platform/qt/japanese_texts.h"
#include "platform/qt/long_runs.h"
#include "platform/qt/memo_text.h"
#include "platform/qt/utf16_qstring.h"

namespace jp = vell::jp;

namespace {

constexpr char16_t kAppCaption[] = u"Vell";
constexpr int kClientWidth = 381;
constexpr int kClientHeight = 296;
constexpr int kPanelOutHeight = 141;
constexpr int kSplitterHeight = 3;

QString AppCaption() { return QString::fromUtf16(kAppCaption); }

}  // namespace

TFormMain::TFormMain(QWidget* parent) : QMainWindow(parent) {
  setObjectName(QStringLiteral("FormMain"));
  BuildWindow();
  BuildMenus();
  FormInput = new TFormInput(this);
  output_ = std::make_unique<OutputArea>(*MemoOut);
  errorBox_ = std::make_unique<ErrorBox>(*this, *output_, AppCaption());
  dialogs_ = std::make_unique<ProgramDialogs>(*this, *FormInput, closed_);
  dispatcher_ =
      std::make_unique<RequestDispatcher>(*output_, *dialogs_, *layout_, *errorBox_, *MenuProgRun);
  components_ = std::make_unique<WindowComponents>(
      WindowParts{*this, *PanelOut, *MemoOut, *output_,
                  [this](std::u16string_view text) { return RunEvent(text); }});
  InstallComponentTable(components_.get());
  qApp->installEventFilter(this);
}

TFormMain::~TFormMain() {
  qApp->removeEventFilter(this);
  if (Interp() != nullptr && busyDepth_ == 0) vell::DestroyInterpreter(interp_);
}

void TFormMain::BuildWindow() {
  vell::qt::InstallFontSubstitutions();
  setFont(vell::qt::WindowsFont(QStringLiteral("Tahoma"), -13));
  SetCaption(AppCaption());

  Splitter = new QSplitter(Qt::Vertical, this);
  Splitter->setObjectName(QStringLiteral("Splitter"));
  Splitter->setHandleWidth(kSplitterHeight);
  Splitter->setChildrenCollapsible(false);

  PanelOut = new QWidget(Splitter);
  PanelOut->setObjectName(QStringLiteral("PanelOut"));

  const QFont memoFont = vell::qt::WindowsFont(jp::Q(jp::kMemoFontFamily), -13);
  MemoOut = new MemoEdit(PanelOut);
  MemoOut->setObjectName(QStringLiteral("MemoOut"));
  MemoOut->setReadOnly(true);
  MemoOut->setUndoRedoEnabled(false);
  MemoOut->setFont(memoFont);
  // A read-only memo still shows and keeps its caret: output goes there.
  MemoOut->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
  // Only the program area has a scroll bar; the wheel and the keys still
  // scroll the output area.
  MemoOut->SetScrollBars(0);
  vell::qt::WrapLongRunsAnywhere(*MemoOut);
  // The output area fills its panel as a control aligned to the client area
  // does: a program may align it otherwise, or place it itself.
  vell::SetAlignment(MemoOut, static_cast<int32_t>(vell::Alignment::Client));

  MemoProg = new MemoEdit(Splitter);
  MemoProg->setObjectName(QStringLiteral("MemoProg"));
  MemoProg->setFont(memoFont);
  MemoProg->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  MemoProg->setTabChangesFocus(false);
  vell::qt::WrapLongRunsAnywhere(*MemoProg);

  Splitter->addWidget(PanelOut);
  Splitter->addWidget(MemoProg);
  Splitter->setStretchFactor(0, 0);
  Splitter->setStretchFactor(1, 1);
  setCentralWidget(Splitter);
  // The program area comes first: the window opens ready for typing.
  setTabOrder(MemoProg, MemoOut);
  MemoProg->setFocus();

  VellPopupMenu = new TVellPopupMenu(this);
  VellPopupMenu->Attach(MemoProg);
  VellPopupMenu->Attach(MemoOut);
}

void TFormMain::BuildMenus() {
  QMenuBar* bar = menuBar();
  bar->setObjectName(QStringLiteral("VellMainMenu"));
  bar->setNativeMenuBar(false);

  // Each item runs its handler guarded, so no exception reaches the event loop.
  auto item = [this](QMenu* menu, const char16_t* caption, void (TFormMain::*handler)(),
                     QKeySequence shortcut = {}) {
    QAction* action = menu->addAction(jp::Q(caption), this, [this, handler] { Safely(handler); });
    action->setShortcut(shortcut);
    return action;
  };

  MenuFile = bar->addMenu(jp::Q(jp::kMenuFile));
  MenuFileOpen = item(MenuFile, jp::kMenuFileOpen, &TFormMain::MenuFileOpenClick);
  MenuFileSaveAs = item(MenuFile, jp::kMenuFileSaveAs, &TFormMain::MenuFileSaveAsClick);
  MenuFile->addSeparator();
  MenuFileExit = item(MenuFile, jp::kMenuFileExit, &TFormMain::MenuFileExitClick);

  MenuProg = bar->addMenu(jp::Q(jp::kMenuProg));
  MenuProgRun = item(MenuProg, jp::kMenuProgRun, &TFormMain::MenuProgRunClick, Qt::Key_F9);
  // Enabled by the end of the start-up header's run.
  MenuProgRun->setEnabled(false);
  MenuProgEnd = item(MenuProg, jp::kMenuProgEnd, &TFormMain::MenuProgEndClick,
                     QKeySequence(Qt::CTRL | Qt::Key_F2));
  MenuProg->addSeparator();
  MenuProgDisp = item(MenuProg, jp::kMenuProgDisp, &TFormMain::MenuProgDispClick);
  MenuProgDisp->setCheckable(true);
  MenuProgDisp->setChecked(true);
  MenuProgCls = item(MenuProg, jp::kMenuProgCls, &TFormMain::MenuProgClsClick);

  MenuHelp = bar->addMenu(jp::Q(jp::kMenuHelp));
  MenuHelpFile = item(MenuHelp, jp::kMenuHelpFile, &TFormMain::MenuHelpFileClick, Qt::Key_F1);
  MenuHelpVersion = item(MenuHelp, jp::kMenuHelpVersion, &TFormMain::MenuHelpVersionClick);

  // The client area (below the menu) is 381 by 296 pixels at the screen's
  // top left corner.
  resize(kClientWidth, kClientHeight + bar->sizeHint().height());
  move(0, 0);
  if (QLayout* l = layout()) l->activate();
  Splitter->setSizes({kPanelOutHeight, kClientHeight - kPanelOutHeight - kSplitterHeight});
  layout_ = std::make_unique<WindowLayout>(*this, *Splitter, *PanelOut, *MemoOut, *MemoProg,
                                           *MenuProgDisp);
  layout_->SetProgramHeight(kClientHeight - kPanelOutHeight - kSplitterHeight);
  layout_->LayoutMemos(LayoutRefresh);
}

template <class Work>
bool TFormMain::Guarded(Work&& work) {
  return vell::Guarded(
      work, [this](std::u16string_view message) { ShowError(vell::qt::ToQString(message)); });
}

void TFormMain::Safely(void (TFormMain::*handler)()) {
  // Once the close has begun no command starts anything: releasing the
  // program's components handles messages on the way out.
  if (closing_) return;
  // No exception leaves a handler into the event loop.
  Guarded([&] { (this->*handler)(); });
}

void TFormMain::SetCaption(const QString& caption) {
  caption_ = caption;
  setWindowTitle(vell::qt::LiteralWindowTitle(caption));
}

// ---------------------------------------------------------------------------
// Start-up and shut-down.

TFormMain::StartResult TFormMain::FormCreate(const QStringList& arguments,
                                             const std::optional<QString>& fileTypeError) {
  const QString current = QDir::currentPath();
  SaveDialog().initialDir = current;
  OpenDialog().initialDir = current;

  interp_ = vell::CreateInterpreter(dispatcher_.get(), this);
  if (interp_ == nullptr) return StartResult::Terminate;  // the entry has said why
  Guarded([this] {
    vell::RegisterLibraryBuiltins(*interp_);
    vell::RegisterComponentKeywords(*interp_);
    vell::InstallDesktopServices(*interp_);
    vell::InstallCommandServices();
    vell::sql::InstallDatabaseManager(*interp_);
  });

  if (componentTable_ != nullptr) {
    BusyScope busy(*this);
    componentTable_->InstallDefaults(*interp_);
  } else {
    // Without the component table there are no predefined components to
    // declare: an empty header still ends like a run and enables Run.
    vell::SetProgramText(*interp_, u"");
    BusyScope busy(*this);
    vell::RunProgram(*interp_);
  }
  if (Interp() == nullptr) return StartResult::Terminate;

  autoRun_ = false;
  if (arguments.size() <= 1) return StartResult::Run;

  QString file = arguments[1];
  if (const int mode = vell::host::FileTypeSwitch(file); mode != vell::host::kNoFileTypeSwitch) {
    QString error;
    if (fileTypeError) {
      error = *fileTypeError;
    } else if (vell::host::RegisterFileType(mode, QCoreApplication::applicationFilePath(), error)) {
      vell::DestroyInterpreter(interp_);
      interp_ = nullptr;
      return StartResult::Terminate;
    }
    // As after a start without parameters.
    ShowError(error);
    return StartResult::Run;
  }
  if (file == vell::host::kMinimizedRunSwitch) {
    startMinimized_ = true;
    file = arguments.size() > 2 ? arguments[2] : QString();
  }

  Guarded([&] {
    for (const QString& part : arguments)
      vell::AppendCommandLine(*interp_, vell::qt::ToU16String(part));
  });

  if (!file.isEmpty() && QFileInfo(file).isFile() && LoadProgram(file, true)) autoRun_ = true;
  return StartResult::Run;
}

void TFormMain::ShowAsStarted() {
  if (startMinimized_) {
    showMinimized();
  } else {
    show();
  }
}

bool TFormMain::LoadProgram(const QString& path, bool fromCommandLine) {
  std::u16string text;
  QString error;
  if (!vell::host::ReadProgramFile(path, text, error)) {
    ShowError(error);
    return false;
  }
  vell::qt::SetMemoText(*MemoProg, text);
  const QFileInfo info(path);
  SetCaption(info.absoluteFilePath());
  if (fromCommandLine) QDir::setCurrent(info.absolutePath());
  return true;
}

void TFormMain::showEvent(QShowEvent* event) {
  QMainWindow::showEvent(event);
  if (firstShowDone_) return;
  firstShowDone_ = true;
  // Where no window manager activates the window (a minimised start, a
  // bare X server), the program still runs once after the first show. On X
  // it waits until the window stands where it belongs: a size set while a
  // window manager is still framing the window would move it.
  if (QGuiApplication::platformName() != u"xcb") {
    QTimer::singleShot(0, this, [this] { Safely(&TFormMain::FormActivate); });
    return;
  }
  awaitingPlacement_ = true;
  QTimer::singleShot(kPlacementWaitMs, this, [this] { Placed(); });
}

void TFormMain::Placed() {
  if (!awaitingPlacement_) return;
  awaitingPlacement_ = false;
  QTimer::singleShot(0, this, [this] { Safely(&TFormMain::FormActivate); });
}

void TFormMain::moveEvent(QMoveEvent* event) {
  QMainWindow::moveEvent(event);
  // The window system has placed the window (in its frame, if any).
  if (event->spontaneous()) Placed();
}

void TFormMain::changeEvent(QEvent* event) {
  QMainWindow::changeEvent(event);
  if (event->type() == QEvent::ActivationChange && isActiveWindow() && autoRun_) {
    QTimer::singleShot(0, this, [this] { Safely(&TFormMain::FormActivate); });
  }
}

void TFormMain::FormActivate() {
  if (!autoRun_) return;
  autoRun_ = false;
  MenuProgRunClick();
}

void TFormMain::closeEvent(QCloseEvent* event) {
  if (closed_) {
    event->accept();
    return;
  }
  if (Interp() != nullptr && (vell::MainProgramRunning(*interp_) || busyDepth_ > 0 ||
                            vell::RunningTexts(*interp_) > 0)) {
    // A text runs below this handler: it stops before its next statement and
    // the window closes once it has returned.
    vell::SetRunState(*interp_, vell::StateExit);
    closePending_ = true;
    event->ignore();
    return;
  }
  closing_ = true;
  output_->FlushIfShown();  // output waiting behind a minimized window goes with it
  if (Interp() != nullptr) {
    vell::DestroyInterpreter(interp_);
    interp_ = nullptr;
  }
  closed_ = true;
  event->accept();
  emit closed();
}

void TFormMain::LeaveBusy() {
  if (--busyDepth_ > 0) return;
  if (closePending_) {
    closePending_ = false;
    QTimer::singleShot(0, this, [this] { close(); });
  } else if (runPending_) {
    runPending_ = false;
    QTimer::singleShot(0, this, [this] { Safely(&TFormMain::MenuProgRunClick); });
  }
}

int TFormMain::RunEvent(std::u16string_view text) {
  if (Interp() == nullptr) return vell::ResultDone;
  BusyScope busy(*this);
  const int r = vell::RunEventText(*interp_, text);
  // No run-ended request follows an event text: what it printed shows now.
  FlushOutput();
  return r;
}

// ---------------------------------------------------------------------------
// Menus.

void TFormMain::MenuFileOpenClick() {
  vell::qt::FileDialogSetup setup = OpenDialog();
  setup.filter = jp::Q(jp::kProgramFileFilter);
  FlushOutput();
  int filterIndex = setup.filterIndex;
  const std::optional<QString> path =
      vell::qt::Dialogs().GetOpenFileName(this, setup, &filterIndex);
  if (!path) return;
  OpenDialog().fileName = *path;
  OpenDialog().filterIndex = filterIndex;
  LoadProgram(*path, false);
}

void TFormMain::MenuFileSaveAsClick() {
  SaveDialog().defaultExt = QStringLiteral("vell");
  SaveDialog().fileName = caption_;
  vell::qt::FileDialogSetup setup = SaveDialog();
  setup.filter = jp::Q(jp::kProgramFileFilter);
  FlushOutput();
  int filterIndex = setup.filterIndex;
  std::optional<QString> path = vell::qt::Dialogs().GetSaveFileName(this, setup, &filterIndex);
  if (!path) return;
  if (QFileInfo(*path).suffix().isEmpty() && !SaveDialog().defaultExt.isEmpty()) {
    *path += u'.' + SaveDialog().defaultExt;
  }
  SaveDialog().fileName = *path;
  SaveDialog().filterIndex = filterIndex;
  QString error;
  if (!vell::host::WriteProgramFile(*path, vell::qt::MemoText(*MemoProg), error)) {
    ShowError(error);
    return;
  }
  SetCaption(QFileInfo(*path).absoluteFilePath());
}

void TFormMain::MenuFileExitClick() { close(); }

void TFormMain::MenuProgRunClick() {
  if (Interp() == nullptr || closing_) return;
  if (busyDepth_ > 0 || vell::RunningTexts(*interp_) > 0) {
    // An event text runs below: starting the program now would reset its
    // locals, so the run waits until it has returned.
    if (!vell::MainProgramRunning(*interp_)) {
      if (busyDepth_ > 0) {
        runPending_ = true;
      } else {
        // A text entered without the busy count: no return tells when it
        // ends, so look again shortly.
        QTimer::singleShot(kPumpIntervalMs, this, [this] { Safely(&TFormMain::MenuProgRunClick); });
      }
    }
    return;
  }
  vell::Interpreter& interp = *interp_;
  vell::SetRunState(interp, vell::StateEnd);
  MenuProgRun->setEnabled(false);
  if (!Guarded([&] { vell::SetProgramText(interp, vell::qt::MemoText(*MemoProg)); })) {
    MenuProgRun->setEnabled(true);
    return;
  }
  dispatcher_->StartRun();
  bool closeNow = false;
  {
    BusyScope busy(*this);
    vell::RunProgram(interp);
    // The run-ended request enables Run; a run that failed before it still
    // leaves Run usable.
    MenuProgRun->setEnabled(true);
    // EXIT, or a close refused during the run: close now, not once more
    // when the busy scope ends.
    closeNow = (Interp() != nullptr && vell::RunState(*interp_) == vell::StateExit) || closePending_;
    closePending_ = false;
  }
  output_->FlushIfShown();  // else when the window is shown again
  // Deletions of components that the run could not carry out while their
  // events ran are done now that nothing of the run is left.
  if (componentTable_ != nullptr && busyDepth_ == 0) componentTable_->RunEnded();
  if (closeNow) close();
}

void TFormMain::MenuProgEndClick() {
  if (Interp() != nullptr) vell::SetRunState(*interp_, vell::StateEnd);
}

void TFormMain::MenuProgDispClick() {
  // The item has already flipped its check mark: go by the program area.
  layout_->LayoutMemos(MemoProg->isHidden() ? LayoutShowProgram : LayoutHideProgram);
}

void TFormMain::MenuProgClsClick() {
  output_->Clear();
  if (componentTable_ != nullptr) componentTable_->DestroyAllComponents();
  ShowOutputArea();
  layout_->LayoutMemos(LayoutRefresh);
  if (!MemoProg->isHidden()) MemoProg->setFocus();
}

void TFormMain::MenuHelpFileClick() {
  const QString path =
      QDir(QCoreApplication::applicationDirPath()).filePath(QStringLiteral("vell.chm"));
  FlushOutput();
  if (QFileInfo(path).isFile() && vell::qt::Dialogs().OpenUrl(QUrl::fromLocalFile(path))) return;
  vell::qt::Dialogs().ShowWarning(this, AppCaption(),
                                  QStringLiteral("cannot open help file \"%1\"").arg(path));
}

void TFormMain::MenuHelpVersionClick() {
  FlushOutput();
  vell::qt::Dialogs().ShowInformation(this, AppCaption(),
                                      QStringLiteral("Vell Version ") + QStringLiteral("0.90"));
}

void TFormMain::resizeEvent(QResizeEvent* event) {
  QMainWindow::resizeEvent(event);
  if (event->spontaneous()) {
    Placed();
  } else if (isMinimized() && windowHandle() != nullptr) {
    // X restores a window whose size is set: a program's size leaves a
    // minimised window minimised.
    windowHandle()->setWindowState(Qt::WindowMinimized);
  }
  layout_->LayoutMemos(LayoutRefresh);
}

bool TFormMain::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::Expose && watched == windowHandle() && windowHandle()->isExposed()) {
    Placed();
  }
  // The window sees the Pause key before the focused control, and leaves it
  // to that control afterwards.
  if (event->type() == QEvent::KeyPress && watched->isWidgetType() &&
      static_cast<QWidget*>(watched)->window() == this &&
      static_cast<QKeyEvent*>(event)->key() == Qt::Key_Pause) {
    MenuProgEndClick();
  }
  return QMainWindow::eventFilter(watched, event);
}

// ---------------------------------------------------------------------------
// HostShell and errors.

void TFormMain::PostCloseMainWindow() {
  QTimer::singleShot(0, this, [this] { close(); });
}

void TFormMain::ShowWarning(std::u16string_view text) {
  FlushOutput();
  vell::qt::Dialogs().ShowWarning(nullptr, AppCaption(), vell::qt::ToQString(text));
}

void TFormMain::ShowOutputArea() {
  MemoOut->setVisible(true);
  // While hidden it was not placed when the panel changed its size.
  vell::LayOutAlignedChildren(PanelOut);
}

void TFormMain::ReleaseProgramComponents() {
  ShowOutputArea();
  if (componentTable_ != nullptr) componentTable_->DestroyAllComponents();
}

bool TFormMain::StartComponents() {
  return componentTable_ == nullptr || componentTable_->StartComponents();
}

void TFormMain::EndComponents() {
  if (componentTable_ != nullptr) componentTable_->EndComponents();
}

vell::qt::FileDialogSetup& TFormMain::OpenDialog() { return components_->Table().OpenDialogSetup(); }

vell::qt::FileDialogSetup& TFormMain::SaveDialog() { return components_->Table().SaveDialogSetup(); }

void TFormMain::InstallComponentTable(ComponentTableHooks* table) {
  componentTable_ = table;
  dispatcher_->componentTable = table;
}

void TFormMain::ShowError(const QString& text) { errorBox_->Show(text); }

// ---------------------------------------------------------------------------
// Output.

void TFormMain::FlushOutput() { output_->Flush(); }

std::u16string TFormMain::OutputText() { return output_->Text(); }
