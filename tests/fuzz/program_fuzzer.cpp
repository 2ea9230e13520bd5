// Whole programs run through the interpreter with a host that needs no
// window: every request is answered, CALL is served from a few in-memory
// files, and a run is stopped after a bounded number of statements, as the
// Pause key would, so that endless loops end.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "core/execution.h"
#include "core/interpreter_state.h"
#include "library/library_builtins.h"
#include "platform/memory.h"
#include "tests/fuzz/fuzz_input.h"

using namespace vell;

namespace {

constexpr int kPumpBudget = 1000;

// Built-ins that reach outside the process (files, folders, other programs,
// simulated input) are taken out: a fuzzed program must not touch the disk.
constexpr std::u16string_view kOutsideWorld[] = {
    u"COPY",      u"KILL",    u"RENAME",   u"MKDIR",     u"CHDIR",        u"WRITEFILE",
    u"WRITEANSIFILE", u"SETCLIPBOARD", u"RUN", u"KEYDOWN", u"KEYUP", u"MOUSEMOVE",
    u"MOUSEDOWN", u"MOUSEUP", u"WAIT",     u"BEEP",      u"CMDOUT"};

class FuzzHost : public HostRequestHandler, public HostShell {
 public:
  int pumps = 0;

  void HandleHostRequest(Interpreter& interp) override {
    vellarray* slots = interp.requestSlots;
    switch (slots[0].ItemInt()) {
      case RequestPrint:
        (void)slots[1].ItemWideText();  // the host's conversion of the value
        break;
      case RequestMessage:
        (void)slots[1].ItemWideText();
        slots[0].SetItem(vellvar(0));
        break;
      case RequestInput:
        (void)slots[1].ItemWideText();
        slots[0].SetItem(vellvar(u"fuzz \"answer\" \\ 1"));
        break;
      case RequestService:
        Service(interp);
        break;
      case RequestPump:
        if (++pumps > kPumpBudget) SetRunState(interp, StateEnd);
        break;
      default:
        break;
    }
  }

  void PostCloseMainWindow() override {}
  void ShowWarning(std::u16string_view) override {}
  void ReleaseProgramComponents() override {}

 private:
  static void Service(Interpreter& interp) {
    vellarray* slots = interp.requestSlots;
    if (slots[1].ItemInt() != 2001) return;  // other services: unknown here
    std::u16string name = slots[2].ItemWideText();
    if (name == u"A.VELL" || name == u"a.vell") {
      slots[1].SetItem(vellvar(u"GLOBAL G\nG = G + 1\nSUB S(X) { RETURN (X * 2) }\nPRINT G"));
    } else if (name == u"B.VELL" || name == u"b.vell") {
      slots[1].SetItem(vellvar(u"CALL A.VELL\nCALL B.VELL"));
    } else if (name == u"C.VELL" || name == u"c.vell") {
      slots[1].SetItem(vellvar(u"PRINT (1 + "));
    }
  }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static FuzzHost host;
  // Budgets that keep the fuzzer within its memory limit: a program that
  // outgrows them ends with the out-of-memory warning, as it would in the
  // window, only sooner.
  static const bool budgets = [] {
    vell::SetMemoryBudget(std::size_t(256) << 20);
    vellarray::SetNodeBudget(1'000'000);
    return true;
  }();
  (void)budgets;
  host.pumps = 0;
  InterpreterEntry(1, &host, &host);
  if (!gInterpreter) return 0;
  vell::RegisterLibraryBuiltins(*gInterpreter);
  for (std::u16string_view name : kOutsideWorld) gInterpreter->builtins.erase(std::u16string(name));
  const std::u16string text = FuzzBytesToText(data, size);
  gInterpreter->programText = text;
  InterpreterEntry(2);
  // A second run of the same text sees the globals and SUBs of the first.
  if (size % 3 == 0) {
    host.pumps = 0;
    InterpreterEntry(2);
  }
  InterpreterEntry(3);
  return 0;
}
