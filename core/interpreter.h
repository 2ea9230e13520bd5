// The interpreter's public face: creating, running and destroying it, event
// texts, built-in registration, the interfaces through which it reaches the
// window (host requests, shell, component bridge) and the value types.
//
// The window and the applications that embed the interpreter include this
// header only; the interpreter's own parts and its built-ins see the whole
// state through core/interpreter_state.h.
#pragma once

#include <cstdint>
#include <string_view>

#include "core/codes.h"
#include "core/host_request.h"
#include "core/vellarray.h"
#include "core/vellvar.h"

namespace vell {

struct ExecContext;
struct Interpreter;

constexpr int kRequestSlotCount = 10;

// A built-in keyword handler: reads its arguments from the running text,
// leaves its result in ctx.value and answers ResultDone, or ResultFailed.
using BuiltinHandler = HandlerResult (*)(Interpreter& interp, ExecContext& ctx);

// The one way a handler fails with a run error: sets the run state to `code`
// and answers ResultFailed, as in `return Fail(interp, ErrorSyntax);`.
HandlerResult Fail(Interpreter& interp, RunStateCode code);

// The component side of member access; installed by the component table.
// Each answers ResultDone or ResultFailed, with the member's value in ctx.value.
class ComponentBridge {
 public:
  virtual ~ComponentBridge() = default;
  virtual int MemberArgumentCount(int memberCode) = 0;
  virtual HandlerResult GetComponentMember(Interpreter& interp, ExecContext& ctx, int slot,
                                           int memberCode, vellvar* args) = 0;
  virtual HandlerResult SetComponentMember(Interpreter& interp, ExecContext& ctx, int slot,
                                           int memberCode, vellvar* args) = 0;
};

// EntryCreate creates and resets the interpreter (host and shell must be
// given), EntryRun runs programText, EntryDestroy clears and destroys it.
// Always 0.
int InterpreterEntry(int mode, HostRequestHandler* host = nullptr, HostShell* shell = nullptr);

// The same entry in three steps for a host that keeps its own reference.
// CreateInterpreter gives null when none could be made (the shell was told why).
Interpreter* CreateInterpreter(HostRequestHandler* host, HostShell* shell);
// The main program's text, and running it (the run-ended request follows).
void SetProgramText(Interpreter& interp, std::u16string_view text);
void RunProgram(Interpreter& interp);
// Clears every name and destroys the interpreter.
void DestroyInterpreter(Interpreter* interp);

// Runs an event's text outside the main program: ResultFailed when it failed.
HandlerResult RunEventText(Interpreter& interp, std::u16string_view text);

// Registers built-in names after those registered before.
void RegisterBuiltin(Interpreter& interp, std::u16string_view name, BuiltinHandler handler);

// What a host reads and changes of a running interpreter.
// The kRequestSlotCount request slots; they live as long as the interpreter.
vellarray* RequestSlots(Interpreter& interp);
int32_t RunState(const Interpreter& interp);
void SetRunState(Interpreter& interp, RunStateCode state);
// True while the main program runs.
bool MainProgramRunning(const Interpreter& interp);
// Number of texts running now (0 when idle).
int32_t RunningTexts(const Interpreter& interp);
// The command line that programs read, one part after the other.
void AppendCommandLine(Interpreter& interp, std::u16string_view part);
ComponentBridge* Components(Interpreter& interp);
// True while interp exists and sends its requests to host (a second window
// may have taken the one interpreter over, or destroyed it).
bool InterpreterServes(const Interpreter* interp, const HostRequestHandler* host);

}  // namespace vell
