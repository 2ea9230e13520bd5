// The interpreter's entry: creating, running and destroying the one
// interpreter, event texts, the random generator and the stack guard.
#include <ctime>
#include <exception>
#include <new>

#include "core/execution.h"
#include "core/interpreter_state.h"
#include "core/name_table.h"
#include "core/token_cache.h"
#include "platform/guarded.h"

namespace vell {

Interpreter* gInterpreter = nullptr;

namespace {

constexpr char16_t kCannotLoad[] = u"cannot load Vell ";

// What the shell warns of when the interpreter failed: lack of memory, or
// anything else.
std::u16string_view WarningFor(Failure failure) {
  return failure == Failure::NoMemory ? kNoMemoryWarning : kCannotLoad;
}

void ShowWarning(Interpreter* interp, HostShell* shell, std::u16string_view text) {
  if (interp != nullptr && interp->shell != nullptr) shell = interp->shell;
  if (shell != nullptr) shell->ShowWarning(text);
}

// Frees every entry of both name tables.
void FreeAllEntries(Interpreter& interp) {
  interp.thisSource.reset();
  interp.lastNode.reset();
  interp.lastParent.reset();
  for (int i = 0; i < kTableEntries; ++i) {
    names::FreeEntry(interp.globals[i]);
    names::FreeEntry(interp.locals[i]);
  }
  names::PopLocals(interp, 0);
  interp.subTop = 0;
}

int RunProgramText(Interpreter& interp) {
  SeedRandom(interp, static_cast<uint32_t>(interp.seed));
  interp.seed = DrawRandom(interp);
  interp.routineName = u"";
  interp.mainRunning = 1;
  names::PopLocals(interp, 0);
  SharedText shared = MakeSharedText(interp.programText);
  try {
    RunText(interp, nullptr, shared);
  } catch (...) {
    // The host must learn that the run is over even when it failed this way,
    // or its Run command would stay disabled and the window could not close.
    if (interp.runState == 0) interp.runState = StateEnd;
    interp.errorReported = 1;
    interp.mainRunning = 0;
    SendRunEnded(interp);
    throw;
  }
  SendRunEnded(interp);
  interp.mainRunning = 0;
  return 0;
}

}  // namespace

int InterpreterEntry(int mode, HostRequestHandler* host, HostShell* shell) {
  if (mode == EntryCreate) {
    if (gInterpreter == nullptr) {
      try {
        gInterpreter = new Interpreter();
      } catch (const std::bad_alloc&) {
        ShowWarning(nullptr, shell, kNoMemoryWarning);
        return 0;
      }
    }
    gInterpreter->mainWindow = host;
    gInterpreter->shell = shell;
    SeedRandom(*gInterpreter, static_cast<uint32_t>(std::time(nullptr)));
    gInterpreter->seed = DrawRandom(*gInterpreter);
    bool componentsReady = false;
    GuardedCall([&] { componentsReady = shell == nullptr || shell->StartComponents(); },
                [](Failure, std::string_view) {});
    if (!componentsReady) {
      // The interpreter stays, without the reset.
      ShowWarning(gInterpreter, shell, kNoMemoryWarning);
      return 0;
    }
  }
  Interpreter* interp = gInterpreter;
  if (interp == nullptr) return 0;
  interp->mode = mode;
  GuardedCall([interp] { InterpreterMain(interp); },
              [&](Failure failure, std::string_view) {
                ShowWarning(interp, shell, WarningFor(failure));
              });
  if (mode == EntryDestroy) {
    // No component event may start a text while the components go.
    interp->runState = StateEnd;
    if (interp->shell != nullptr) {
      HostShell* ending = interp->shell;
      GuardedCall([ending] { ending->EndComponents(); }, [](Failure, std::string_view) {});
    }
    gInterpreter = nullptr;
    delete interp;
    names::NamesChanged();  // nothing may resolve to its entries any more
  }
  return 0;
}

int InterpreterMain(Interpreter* interp) {
  if (interp == nullptr) return 1;
  switch (interp->mode) {
    case EntryCreate:
      interp->mainRunning = 0;
      interp->runState = 0;
      interp->subTop = 0;
      interp->thisSource.reset();
      interp->lastNode.reset();
      interp->lastParent.reset();
      for (int i = 0; i < kTableEntries; ++i) {
        interp->globals[i].kind = NodeFree;
        interp->locals[i].kind = NodeFree;
      }
      names::NamesChanged();
      break;
    case EntryRun:
      RunProgramText(*interp);
      break;
    case EntryDestroy:
      FreeAllEntries(*interp);
      break;
    default:
      break;
  }
  return 0;
}

Interpreter* CreateInterpreter(HostRequestHandler* host, HostShell* shell) {
  InterpreterEntry(EntryCreate, host, shell);
  return gInterpreter;
}

void SetProgramText(Interpreter& interp, std::u16string_view text) { interp.programText = text; }

void RunProgram(Interpreter& interp) {
  if (&interp == gInterpreter) InterpreterEntry(EntryRun);
}

void DestroyInterpreter(Interpreter* interp) {
  if (interp != nullptr && interp == gInterpreter) InterpreterEntry(EntryDestroy);
}

vellarray* RequestSlots(Interpreter& interp) { return interp.requestSlots; }
int32_t RunState(const Interpreter& interp) { return interp.runState; }
void SetRunState(Interpreter& interp, RunStateCode state) { interp.runState = state; }
HandlerResult Fail(Interpreter& interp, RunStateCode code) {
  interp.runState = code;
  return ResultFailed;
}
bool MainProgramRunning(const Interpreter& interp) { return interp.mainRunning != 0; }
int32_t RunningTexts(const Interpreter& interp) { return interp.runDepth; }
void AppendCommandLine(Interpreter& interp, std::u16string_view part) {
  interp.commandLine.Append(vellvar(part));
}
ComponentBridge* Components(Interpreter& interp) { return interp.components; }
bool InterpreterServes(const Interpreter* interp, const HostRequestHandler* host) {
  return interp != nullptr && interp == gInterpreter && interp->mainWindow == host;
}

HandlerResult RunEventText(Interpreter& interp, std::u16string_view text) {
  const int32_t savedLocals = interp.localCount;
  HandlerResult r = ResultFailed;
  const bool finished = GuardedCall(
      [&] { r = RunText(interp, nullptr, text); },
      [&](Failure failure, std::string_view) {
        // Nothing may unwind into the window's event handling: stop whatever
        // runs and tell the user.
        names::PopLocals(interp, savedLocals);
        if (interp.runState == 0) interp.runState = StateEnd;
        interp.errorReported = 1;
        ShowWarning(&interp, nullptr, WarningFor(failure));
      });
  if (!finished) return ResultFailed;
  if (interp.runState == StateExit && interp.shell != nullptr) interp.shell->PostCloseMainWindow();
  return r;
}

void RegisterBuiltin(Interpreter& interp, std::u16string_view name, BuiltinHandler handler) {
  std::u16string key(name);
  for (char16_t& c : key) {
    if (c >= u'a' && c <= u'z') c = char16_t(c - 32);
  }
  interp.builtins.try_emplace(std::move(key), handler);
  ++gBuiltinStamp;
}

uint64_t gBuiltinStamp = 0;
uint64_t names::gNamesEpoch = 1;
uint64_t names::gFramesEpoch = 1;

void SeedRandom(Interpreter& interp, uint32_t seed) {
  interp.randomState = seed;  // the second word, RND's, starts at 0
  DrawRandom(interp);
}

int32_t DrawRandom(Interpreter& interp) {
  uint32_t word = static_cast<uint32_t>(interp.randomState);
  word = word * 22695477u + 1u;
  interp.randomState = (interp.randomState & 0xFFFFFFFF00000000ull) | word;
  return static_cast<int32_t>((word >> 16) & 0x7FFF);
}

bool StackExhausted(Interpreter& interp) {
  if (interp.stackBase == 0) return false;
  const auto here = reinterpret_cast<uintptr_t>(__builtin_frame_address(0));
  if (here >= interp.stackBase || interp.stackBase - here <= interp.stackBudget) return false;
  if (interp.runState == 0) interp.runState = ErrorAreaOverflow;
  return true;
}

}  // namespace vell
