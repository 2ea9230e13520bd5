#include "host/form_main.h"

#include <time.h>

#include <QApplication>
#include <QCloseEvent>
#include <QDir>
#include <QFileInfo>
#include <QFontMetrics>
#include <QKeyEvent>
#include <QLayout>
#include <QMenuBar>
#include <QScreen>
#include <QSplitter>
#include <QTextCursor>
#include <QTimer>
#include <QUrl>
#include <QVBoxLayout>
#include <algorithm>
#include <exception>
#include <new>

#include "core/exec_context.h"
#include "core/interpreter.h"
#include "host/file_association.h"
#include "host/form_input.h"
#include "host/program_file.h"
#include "library/library_builtins.h"
#include "library/qt/command_services.h"
#include "library/qt/desktop_services.h"
#include "platform/qt/fonts.h"
#include "platform/qt/japanese_texts.h"
#include "platform/qt/memo_text.h"

namespace jp = vell::jp;

namespace {

constexpr char16_t kAppCaption[] = u"Vell";
constexpr int kClientWidth = 381;
constexpr int kClientHeight = 296;
constexpr int kPanelOutHeight = 141;
constexpr int kSplitterHeight = 3;
constexpr int kChunkCapacity = 254;

QString Q(std::u16string_view text) {
  return QString(reinterpret_cast<const QChar*>(text.data()), static_cast<qsizetype>(text.size()));
}

std::u16string U(const QString& text) {
  return std::u16string(reinterpret_cast<const char16_t*>(text.utf16()),
                        static_cast<size_t>(text.size()));
}

QString AppCaption() { return QString::fromUtf16(kAppCaption); }

// Splits program output into the chunks the output area receives: CR is
// dropped, LF ends a line and writes the chunk, a chunk is written when it is
// full, ESC "*" empties the area (the chunk gathered so far survives it and is
// written afterwards), any other ESC is dropped. The text ends at its first NUL.
template <class Write, class Clear>
void SplitOutput(std::u16string_view text, Write write, Clear clear) {
  QString chunk;
  chunk.reserve(kChunkCapacity + 2);
  for (size_t i = 0; i < text.size(); ++i) {
    const char16_t c = text[i];
    if (c == 0) break;
    if (c == u'\r') continue;
    if (c == 27) {
      if (i + 1 < text.size() && text[i + 1] == u'*') {
        clear();
        ++i;
      }
      continue;
    }
    if (c == u'\n') {
      chunk += u'\n';
      write(chunk);
      chunk.clear();
      continue;
    }
    chunk += QChar(c);
    if (chunk.size() >= kChunkCapacity) {
      write(chunk);
      chunk.clear();
    }
  }
  if (!chunk.isEmpty()) write(chunk);
}

long long CoarseMilliseconds() {
  timespec ts{};
  clock_gettime(CLOCK_MONOTONIC_COARSE, &ts);
  return static_cast<long long>(ts.tv_sec) * 1000 + ts.tv_nsec / 1000000;
}

void InsertAtCaret(QPlainTextEdit& edit, const QString& text) {
  QTextCursor cursor = edit.textCursor();
  cursor.insertText(text);
  edit.setTextCursor(cursor);
}

}  // namespace

TFormMain::TFormMain(QWidget* parent) : QMainWindow(parent) {
  setObjectName(QStringLiteral("FormMain"));
  BuildWindow();
  BuildMenus();
  FormInput = new TFormInput(this);
  qApp->installEventFilter(this);
}

TFormMain::~TFormMain() {
  qApp->removeEventFilter(this);
  if (gInterpreter && gInterpreter->mainWindow == this && busyDepth_ == 0) InterpreterEntry(3);
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
  auto* panelLayout = new QVBoxLayout(PanelOut);
  panelLayout->setContentsMargins(0, 0, 0, 0);
  panelLayout->setSpacing(0);

  const QFont memoFont = vell::qt::WindowsFont(jp::Q(jp::kMemoFontFamily), -13);
  MemoOut = new MemoEdit(PanelOut);
  MemoOut->setObjectName(QStringLiteral("MemoOut"));
  MemoOut->setReadOnly(true);
  MemoOut->setUndoRedoEnabled(false);
  MemoOut->setFont(memoFont);
  // A read-only memo still shows and keeps its caret: output goes there.
  MemoOut->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
  panelLayout->addWidget(MemoOut);

  MemoProg = new MemoEdit(Splitter);
  MemoProg->setObjectName(QStringLiteral("MemoProg"));
  MemoProg->setFont(memoFont);
  MemoProg->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  MemoProg->setTabChangesFocus(false);

  Splitter->addWidget(PanelOut);
  Splitter->addWidget(MemoProg);
  Splitter->setStretchFactor(0, 0);
  Splitter->setStretchFactor(1, 1);
  setCentralWidget(Splitter);
  // The program area comes first: the window opens ready for typing.
  setTabOrder(MemoProg, MemoOut);
  MemoProg->setFocus();
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
  progHeight_ = kClientHeight - kPanelOutHeight - kSplitterHeight;
  LayoutMemos(0);
}

void TFormMain::Safely(void (TFormMain::*handler)()) {
  // No exception leaves a handler into the event loop.
  try {
    (this->*handler)();
  } catch (const std::bad_alloc&) {
    ShowError(QStringLiteral("cannot allocate memory "));
  } catch (const std::exception& e) {
    ShowError(QString::fromUtf8(e.what()));
  } catch (...) {
    ShowError(QString());
  }
}

void TFormMain::SetCaption(const QString& caption) {
  caption_ = caption;
  setWindowTitle(vell::qt::LiteralWindowTitle(caption));
}

// ---------------------------------------------------------------------------
// Start-up and shut-down.

TFormMain::StartResult TFormMain::FormCreate(const QStringList& arguments) {
  const QString current = QDir::currentPath();
  SaveDialog.initialDir = current;
  OpenDialog.initialDir = current;

  InterpreterEntry(1, this, this);
  if (gInterpreter == nullptr) return StartResult::Terminate;  // the entry has said why
  try {
    vell::RegisterLibraryBuiltins(*gInterpreter);
    vell::InstallDesktopServices(*gInterpreter);
    vell::InstallCommandServices();
  } catch (const std::exception& e) {
    ShowError(QString::fromUtf8(e.what()));
  }

  if (installDefaults) {
    installDefaults(*this);
  } else {
    // Without the component table there are no predefined components to
    // declare: an empty header still ends like a run and enables Run.
    gInterpreter->programText = vellvar(u"");
    BusyScope busy(*this);
    InterpreterEntry(2);
  }
  if (gInterpreter == nullptr) return StartResult::Terminate;

  autoRun_ = false;
  if (arguments.size() <= 1) return StartResult::Run;

  QString file = arguments[1];
  if (file == u"/s" || file == u"/u") {
    QString error;
    if (!vell::host::RegisterFileType(file == u"/s" ? 1 : 0,
                                      QCoreApplication::applicationFilePath(), error)) {
      // As after a start without parameters.
      ShowError(error);
      return StartResult::Run;
    }
    InterpreterEntry(3);
    return StartResult::Terminate;
  }
  if (file == u"/v") {
    startMinimized_ = true;
    file = arguments.size() > 2 ? arguments[2] : QString();
  }

  try {
    for (const QString& part : arguments) {
      gInterpreter->commandLine.Append(vellvar(std::u16string_view(U(part))));
    }
  } catch (const std::bad_alloc&) {
    ShowError(QStringLiteral("cannot allocate memory "));
  }

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
  if (!firstShowDone_) {
    firstShowDone_ = true;
    // Where no window manager activates the window (a minimised start, a
    // bare X server), the program still runs once after the first show.
    QTimer::singleShot(0, this, [this] { Safely(&TFormMain::FormActivate); });
  }
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
  if (gInterpreter && (gInterpreter->mainRunning || busyDepth_ > 0 || gInterpreter->runDepth > 0)) {
    // A text runs below this handler: it stops before its next statement and
    // the window closes once it has returned.
    gInterpreter->runState = StateExit;
    closePending_ = true;
    event->ignore();
    return;
  }
  FlushOutput();
  if (gInterpreter) InterpreterEntry(3);
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
  if (gInterpreter == nullptr) return ResultDone;
  BusyScope busy(*this);
  const int r = RunEventText(*gInterpreter, text);
  // No run-ended request follows an event text: what it printed shows now.
  FlushOutput();
  return r;
}

// ---------------------------------------------------------------------------
// Menus.

void TFormMain::MenuFileOpenClick() {
  vell::qt::FileDialogSetup setup = OpenDialog;
  setup.filter = jp::Q(jp::kProgramFileFilter);
  FlushOutput();
  int filterIndex = setup.filterIndex;
  const std::optional<QString> path =
      vell::qt::Dialogs().GetOpenFileName(this, setup, &filterIndex);
  if (!path) return;
  OpenDialog.fileName = *path;
  OpenDialog.filterIndex = filterIndex;
  LoadProgram(*path, false);
}

void TFormMain::MenuFileSaveAsClick() {
  SaveDialog.defaultExt = QStringLiteral("vell");
  SaveDialog.fileName = caption_;
  vell::qt::FileDialogSetup setup = SaveDialog;
  setup.filter = jp::Q(jp::kProgramFileFilter);
  FlushOutput();
  int filterIndex = setup.filterIndex;
  std::optional<QString> path = vell::qt::Dialogs().GetSaveFileName(this, setup, &filterIndex);
  if (!path) return;
  if (QFileInfo(*path).suffix().isEmpty() && !SaveDialog.defaultExt.isEmpty()) {
    *path += u'.' + SaveDialog.defaultExt;
  }
  SaveDialog.fileName = *path;
  SaveDialog.filterIndex = filterIndex;
  QString error;
  if (!vell::host::WriteProgramFile(*path, vell::qt::MemoText(*MemoProg), error)) {
    ShowError(error);
    return;
  }
  SetCaption(QFileInfo(*path).absoluteFilePath());
}

void TFormMain::MenuFileExitClick() { close(); }

void TFormMain::MenuProgRunClick() {
  if (gInterpreter == nullptr || closed_) return;
  if (busyDepth_ > 0 || gInterpreter->runDepth > 0) {
    // An event text runs below: starting the program now would reset its
    // locals, so the run waits until it has returned.
    if (!gInterpreter->mainRunning) {
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
  Interpreter& interp = *gInterpreter;
  interp.runState = StateEnd;
  MenuProgRun->setEnabled(false);
  try {
    interp.programText = vellvar(std::u16string_view(vell::qt::MemoText(*MemoProg)));
  } catch (const std::exception& e) {
    MenuProgRun->setEnabled(true);
    ShowError(QString::fromUtf8(e.what()));
    return;
  }
  lastRequestKind_ = 0;
  bool closeNow = false;
  {
    BusyScope busy(*this);
    InterpreterEntry(2);
    // The run-ended request enables Run; a run that failed before it still
    // leaves Run usable.
    MenuProgRun->setEnabled(true);
    // EXIT, or a close refused during the run: close now, not once more
    // when the busy scope ends.
    closeNow = (gInterpreter && gInterpreter->runState == StateExit) || closePending_;
    closePending_ = false;
  }
  FlushOutput();
  if (closeNow) close();
}

void TFormMain::MenuProgEndClick() {
  if (gInterpreter) gInterpreter->runState = StateEnd;
}

void TFormMain::MenuProgDispClick() {
  // The item has already flipped its check mark: go by the program area.
  LayoutMemos(MemoProg->isHidden() ? 1 : 2);
}

void TFormMain::MenuProgClsClick() {
  pendingOutput_.clear();
  MemoOut->clear();
  if (destroyAllComponents) destroyAllComponents();
  MemoOut->setVisible(true);
  LayoutMemos(0);
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
  LayoutMemos(0);
}

bool TFormMain::eventFilter(QObject* watched, QEvent* event) {
  // The window sees the Pause key before the focused control, and leaves it
  // to that control afterwards.
  if (event->type() == QEvent::KeyPress && watched->isWidgetType() &&
      static_cast<QWidget*>(watched)->window() == this &&
      static_cast<QKeyEvent*>(event)->key() == Qt::Key_Pause) {
    MenuProgEndClick();
  }
  return QMainWindow::eventFilter(watched, event);
}

void TFormMain::LayoutMemos(int mode) {
  if (mode == 1 && MemoProg->isHidden()) {
    const int panelHeight = PanelOut->height();
    const int growth = progHeight_ > 0 ? progHeight_ : MemoProg->height();
    MemoProg->setVisible(true);
    resize(width(), height() + growth);
    if (QLayout* l = layout()) l->activate();
    Splitter->setSizes({panelHeight, growth});
    MenuProgDisp->setChecked(true);
    MenuProgDisp->setEnabled(true);
  } else if (mode == 2 && !MemoProg->isHidden()) {
    progHeight_ = MemoProg->height();
    MemoProg->setVisible(false);
    MenuProgDisp->setChecked(false);
    MenuProgDisp->setEnabled(true);
    resize(width(), std::max(0, height() - progHeight_));
    if (QLayout* l = layout()) l->activate();
  }
  if (!MemoProg->isHidden()) {
    MemoProg->SetFormatMargins(10, 5);
    MemoProg->setTabStopDistance(QFontMetrics(MemoProg->font()).averageCharWidth() * 4);
  }
  if (!MemoOut->isHidden()) {
    MemoOut->SetFormatMargins(10, 5);
    MemoOut->setTabStopDistance(QFontMetrics(MemoOut->font()).averageCharWidth() * 8);
  }
}

// ---------------------------------------------------------------------------
// HostShell and the service error sink.

void TFormMain::PostCloseMainWindow() {
  QTimer::singleShot(0, this, [this] { close(); });
}

void TFormMain::ShowWarning(std::u16string_view text) {
  FlushOutput();
  vell::qt::Dialogs().ShowWarning(nullptr, AppCaption(), Q(text));
}

void TFormMain::ReleaseProgramComponents() {
  MemoOut->setVisible(true);
  if (destroyAllComponents) destroyAllComponents();
}

void TFormMain::ShowServiceError(std::u16string_view message) { ShowError(Q(message)); }

void TFormMain::ShowError(const QString& text) {
  FlushOutput();
  vell::qt::Dialogs().ShowWarning(this, AppCaption(), text);
}

// ---------------------------------------------------------------------------
// Host requests.

void TFormMain::HandleHostRequest(Interpreter& interp) {
  int kind = 0;
  try {
    kind = interp.requestSlots[0].ItemInt();
    switch (kind) {
      case RequestPump:
        Pump(false);
        break;
      case RequestPrint:
        AppendOutput(interp.requestSlots[1].ItemWideText());
        break;
      case RequestMessage:
        ShowMessageRequest(interp);
        break;
      case RequestInput:
        ShowInputRequest(interp);
        break;
      case RequestRunEnded:
        FlushOutput();
        MenuProgRun->setEnabled(true);
        break;
      case RequestService:
        FlushOutput();
        vell::RouteServiceRequest(interp, *this);
        break;
      case RequestWindow:
        WindowRequest(interp);
        break;
      case RequestComponent:
        ComponentRequest(interp);
        break;
      default:
        break;
    }
  } catch (const std::bad_alloc&) {
    ShowError(QStringLiteral("cannot allocate memory "));
  } catch (const std::exception& e) {
    ShowError(QString::fromUtf8(e.what()));
  } catch (...) {
    ShowError(QString());
  }
  lastRequestKind_ = kind;
}

void TFormMain::Pump(bool force) {
  // Processing events costs several times a simple statement, so a stream of
  // pump requests processes them only every few milliseconds; after any
  // other request but output the next pump is real. The coarse clock costs a
  // few nanoseconds, so it is read on every pump: however slow the
  // statements, the window still reacts within the interval.
  const long long now = CoarseMilliseconds();
  if (!force && (lastRequestKind_ == RequestPump || lastRequestKind_ == RequestPrint) &&
      lastPumpMs_ >= 0 && now - lastPumpMs_ < kPumpIntervalMs) {
    return;
  }
  FlushOutput();
  lastPumpMs_ = now;
  QCoreApplication::processEvents();
}

void TFormMain::AppendToEdit(QPlainTextEdit& edit, std::u16string_view text) {
  SplitOutput(
      text, [&edit](const QString& chunk) { InsertAtCaret(edit, chunk); },
      [&edit] { edit.clear(); });
}

void TFormMain::AppendOutput(std::u16string_view text) {
  SplitOutput(
      text, [this](const QString& chunk) { pendingOutput_ += chunk; },
      [this] {
        pendingOutput_.clear();
        MemoOut->clear();
      });
}

void TFormMain::FlushOutput() {
  if (pendingOutput_.isEmpty()) return;
  const QString text = std::move(pendingOutput_);
  pendingOutput_ = QString();
  InsertAtCaret(*MemoOut, text);
}

std::u16string TFormMain::OutputText() {
  FlushOutput();
  return vell::qt::MemoText(*MemoOut);
}

bool TFormMain::ConfirmEnd(Interpreter& interp) {
  const bool ok =
      vell::qt::Dialogs().ConfirmOkCancel(nullptr, AppCaption(), jp::Q(jp::kConfirmEnd));
  if (ok) interp.runState = StateEnd;
  return ok;
}

void TFormMain::ShowMessageRequest(Interpreter& interp) {
  const QString text = Q(interp.requestSlots[1].ItemWideText());
  const bool errorReport = interp.runState != StateRunning;
  FlushOutput();
  const vell::qt::MessageAnswer answer =
      vell::qt::Dialogs().AskYesNoAbort(this, AppCaption(), text);
  int result = answer == vell::qt::MessageAnswer::Yes ? 1 : 0;
  if (answer == vell::qt::MessageAnswer::Abort && !errorReport) {
    ConfirmEnd(interp);
    result = 0;
  }
  interp.requestSlots[0].SetItem(vellvar(result));
}

void TFormMain::ShowInputRequest(Interpreter& interp) {
  const QString prompt = Q(interp.requestSlots[1].ItemWideText());
  FlushOutput();
  // An INPUT from an event text while the dialog is already open gets a
  // dialog of its own.
  std::unique_ptr<TFormInput> extra;
  TFormInput* dialog = FormInput;
  if (inputDepth_ > 0 || FormInput->isVisible()) {
    extra = std::make_unique<TFormInput>(this);
    dialog = extra.get();
  }
  ++inputDepth_;
  struct Leave {
    int& depth;
    ~Leave() { --depth; }
  } leave{inputDepth_};

  QString answer;
  for (;;) {
    dialog->Prepare(prompt);
    const int r = vell::qt::Dialogs().ExecDialog(*dialog);
    if (r == TFormInput::ResultOk) {
      answer = dialog->Answer();
      break;
    }
    if (r == TFormInput::ResultAbort && ConfirmEnd(interp)) break;
    if (closed_) break;  // nothing left to answer to
  }
  interp.requestSlots[0].SetItem(vellvar(std::u16string_view(U(answer))));
}

void TFormMain::WindowRequest(Interpreter& interp) {
  const int operation = interp.requestSlots[1].ItemInt();
  if (operation == 1) {
    int w = interp.requestSlots[2].ItemInt();
    int h = interp.requestSlots[3].ItemInt();
    Pump(true);
    QWidget* central = centralWidget();
    const int extraWidth = width() - central->width();
    const int extraHeight = height() - central->height();
    const bool progShown = !MemoProg->isHidden();
    const int progHeight = MemoProg->height();
    const int progPart = progShown ? progHeight + Splitter->handleWidth() : 0;
    // Sizes from programs stay within the desktop.
    if (QScreen* s = screen() ? screen() : QGuiApplication::primaryScreen()) {
      const QRect available = s->availableGeometry();
      const int frameWidth = std::max(0, frameGeometry().width() - width());
      const int frameHeight = std::max(0, frameGeometry().height() - height());
      w = std::min(w, std::max(0, available.width() - frameWidth - extraWidth));
      h = std::min(h, std::max(0, available.height() - frameHeight - extraHeight - progPart));
    }
    w = std::max(0, w);
    h = std::max(0, h);
    resize(w + extraWidth, h + extraHeight + progPart);
    if (QLayout* l = layout()) l->activate();
    if (progShown) {
      Splitter->setSizes({h, progHeight});
    } else {
      Splitter->setSizes({h, 0});
    }
    LayoutMemos(0);
  } else if (operation == 20) {
    FlushOutput();
    LayoutMemos(interp.requestSlots[2].ItemInt() != 0 ? 1 : 2);
  }
}

void TFormMain::ComponentRequest(Interpreter& interp) {
  FlushOutput();
  if (interp.components == nullptr) return;
  const int operation = interp.requestSlots[1].ItemInt();
  if (operation != 6 && operation != 7) return;
  const int slot = interp.requestSlots[2].ItemInt();
  const int member = interp.requestSlots[3].ItemInt();
  vellvar args[3] = {interp.requestSlots[4].item, interp.requestSlots[5].item,
                     interp.requestSlots[6].item};
  ExecContext ctx;
  if (operation == 6) {
    const int r = interp.components->SetComponentMember(interp, ctx, slot, member, args);
    interp.requestSlots[1].SetItem(vellvar(r));
  } else {
    const int r = interp.components->GetComponentMember(interp, ctx, slot, member, args);
    if (r == ResultFailed) return;
    interp.requestSlots[4].SetItem(ctx.value);
    interp.requestSlots[1].SetItem(ctx.value);
  }
}
