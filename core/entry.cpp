// The interpreter's entry: creating, running and destroying the one
// interpreter, event texts, the random generator and the stack guard.
#include <ctime>
#include <exception>
#include <new>

#include "core/executor.h"
#include "core/interpreter.h"
#include "core/token_cache.h"

Interpreter* gInterpreter = nullptr;

namespace {

constexpr char16_t kNoMemory[] = u"cannot allocate memory ";
constexpr char16_t kCannotLoad[] = u"cannot load Vell ";

void ShowWarning(Interpreter* interp, HostShell* shell, std::u16string_view text) {
  if (interp != nullptr && interp->shell != nullptr) shell = interp->shell;
  if (shell != nullptr) shell->ShowWarning(text);
}

// Frees every entry of both name tables.
void FreeAllEntries(Interpreter& interp) {
  interp.thisSource.reset();
  interp.lastNode.reset();
  for (int i = 0; i < kTableEntries; ++i) {
    for (vellarray* table : {interp.globals, interp.locals}) {
      vellarray& e = table[i];
      e.Clear();
      e.kind = 0;
      e.key = u"";
      e.item = 0;
    }
  }
  interp.localCount = 0;
  interp.subTop = 0;
}

void SendRunEnded(Interpreter& interp) {
  interp.requestSlots[0].SetItem(vellvar(static_cast<int>(RequestRunEnded)));
  SendHostRequest(interp);
}

int RunProgramText(Interpreter& interp) {
  SeedRandom(interp, static_cast<uint32_t>(interp.seed));
  interp.seed = DrawRandom(interp);
  interp.routineName = u"";
  interp.mainRunning = 1;
  interp.localCount = 0;
  SharedText shared;
  if (interp.programText.IsString()) {
    vellvar text(interp.programText);
    shared = MakeSharedText(text.WideText());
  } else {
    shared = MakeSharedText(u"");  // no program text was ever given
  }
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
  if (mode == 1) {
    if (gInterpreter == nullptr) {
      try {
        gInterpreter = new Interpreter();
      } catch (const std::bad_alloc&) {
        ShowWarning(nullptr, shell, kNoMemory);
        return 0;
      }
    }
    gInterpreter->mainWindow = host;
    gInterpreter->shell = shell;
    SeedRandom(*gInterpreter, static_cast<uint32_t>(std::time(nullptr)));
    gInterpreter->seed = DrawRandom(*gInterpreter);
  }
  Interpreter* interp = gInterpreter;
  if (interp == nullptr) return 0;
  interp->mode = mode;
  try {
    InterpreterMain(interp);
  } catch (const std::bad_alloc&) {
    ShowWarning(interp, shell, kNoMemory);
  } catch (...) {
    ShowWarning(interp, shell, kCannotLoad);
  }
  if (mode == 3) {
    gInterpreter = nullptr;
    delete interp;
  }
  return 0;
}

int InterpreterMain(Interpreter* interp) {
  if (interp == nullptr) return 1;
  switch (interp->mode) {
    case 1:
      interp->mainRunning = 0;
      interp->runState = 0;
      interp->subTop = 0;
      interp->thisSource.reset();
      interp->lastNode.reset();
      for (int i = 0; i < kTableEntries; ++i) {
        interp->globals[i].kind = 0;
        interp->locals[i].kind = 0;
      }
      break;
    case 2:
      RunProgramText(*interp);
      break;
    case 3:
      FreeAllEntries(*interp);
      break;
    default:
      break;
  }
  return 0;
}

int RunEventText(Interpreter& interp, std::u16string_view text) {
  const int32_t savedLocals = interp.localCount;
  int r;
  try {
    r = RunText(interp, nullptr, text);
  } catch (...) {
    // Nothing may unwind into the window's event handling: stop whatever runs
    // and tell the user.
    interp.localCount = savedLocals;
    if (interp.runState == 0) interp.runState = StateEnd;
    interp.errorReported = 1;
    bool noMemory = false;
    try {
      throw;
    } catch (const std::bad_alloc&) {
      noMemory = true;
    } catch (...) {
    }
    ShowWarning(&interp, nullptr, noMemory ? kNoMemory : kCannotLoad);
    return ResultFailed;
  }
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
