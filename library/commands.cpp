// The commands. Output, messages, the window's layout and services go to the
// window as host requests; processes, sound, sleeping and simulated input go
// to the platform's layers.
#include "library/commands.h"

#include <string>
#include <vector>

#include "core/execution.h"
#include "core/host_request.h"
#include "core/interpreter_state.h"
#include "library/builtin_support.h"
#include "platform/process_start.h"
#include "platform/simulated_input.h"
#include "platform/sleep.h"
#include "platform/sound.h"
#include "platform/text_codec.h"

namespace vell {
namespace {

constexpr char16_t kClearOutput[] = u"\x1b*";
constexpr int kBeepFrequencyHz = 2400;
constexpr int kBeepDurationMs = 100;
// Absolute pointer units per pixel of screen size (one more than 65536, so
// that every pixel position survives the way back).
constexpr int64_t kAbsoluteScale = 65537;

void SetSlot(Interpreter& interp, int slot, const vellvar& value) {
  interp.requestSlots[slot].SetItem(value);
}

// Runs a generated or given text nested in the running one, under the name
// its errors show.
HandlerResult RunNested(Interpreter& interp, ExecContext& ctx, const char16_t* name,
                        std::u16string_view prefix) {
  ArgumentSlots<1> args;
  if (!ReadExactArguments(interp, ctx, args)) return ResultFailed;
  if (args[0] == vellvar(u"")) {
    ctx.value = 0;
    return ResultDone;
  }
  std::u16string text(prefix);
  text += args[0].WideView();
  interp.routineName = name;
  const int r = RunText(interp, &ctx, text);
  return r == ResultFailed ? ResultFailed : ResultDone;
}

HandlerResult CmdCls(Interpreter& interp, ExecContext& ctx) {
  ctx.value = kClearOutput;
  PrintText(interp, ctx.value);
  return ResultDone;
}

HandlerResult CmdMsg(Interpreter& interp, ExecContext& ctx) {
  ArgumentSlots<1> args;
  if (!ReadExactArguments(interp, ctx, args)) return ResultFailed;
  ctx.value = AskMessage(interp, args[0]) == 1 ? 1 : 0;
  return ResultDone;
}

HandlerResult CmdWait(Interpreter& interp, ExecContext& ctx) {
  ArgumentSlots<1> args;
  if (!ReadExactArguments(interp, ctx, args)) return ResultFailed;
  const int32_t ms = args[0].ToInt();
  if (ms < 0) return Fail(interp, ErrorArithmetic);
  platform::SleepMilliseconds(ms);
  ctx.value = 1;
  return ResultDone;
}

HandlerResult CmdRun(Interpreter& interp, ExecContext& ctx) {
  vellvar slots[3] = {vellvar(0), vellvar(0), vellvar(0)};
  slots[1].AssignNarrow("");
  int count = 0;
  if (!ReadArgumentRange(interp, ctx, slots, 1, 3, &count)) return ResultFailed;
  const std::u16string file(WideArgument(slots[0]));
  const std::u16string parameters(WideArgument(slots[1]));
  const bool wait = slots[2].ToInt() == 1;
  ctx.value = RunFile(file, parameters, wait) ? 1 : 0;
  return ResultDone;
}

HandlerResult CmdBeep(Interpreter&, ExecContext&) {
  sound::CurrentSoundOutput().Beep(kBeepFrequencyHz, kBeepDurationMs);
  return ResultDone;
}

HandlerResult CmdCalc(Interpreter& interp, ExecContext& ctx) {
  return RunNested(interp, ctx, u"CALC", u"LET ");
}

HandlerResult CmdCallSub(Interpreter& interp, ExecContext& ctx) {
  return RunNested(interp, ctx, u"CALLSUB", u"");
}

HandlerResult CmdList(Interpreter& interp, ExecContext& ctx) {
  const int32_t top = interp.subTop < 0 ? 0 : interp.subTop;
  int32_t i = top;
  for (; i < kTableEntries && interp.globals[i].kind != NodeFree; ++i) {
    vellarray& entry = interp.globals[i];
    const char16_t* label = nullptr;
    if (entry.kind == NodeVariable) label = u"Var:";
    if (entry.kind == NodeSub) label = u"Sub:";
    if (label == nullptr) continue;  // component variables are not listed
    vellvar name(entry.key);
    std::u16string line(label);
    line += name.WideText();
    line += u'\n';
    ctx.value = std::u16string_view(line);
    PrintText(interp, ctx.value);
  }
  ctx.value = i - top;
  return ResultDone;
}

HandlerResult WindowRequest(Interpreter& interp, ExecContext& ctx, WindowOperation operation,
                            int count) {
  vellvar args[2] = {vellvar(0), vellvar(0)};
  if (!ReadExactArguments(interp, ctx, args, count)) return ResultFailed;
  SendWindowRequest(interp, operation, args, count);
  return ResultDone;
}

HandlerResult CmdScreen(Interpreter& interp, ExecContext& ctx) {
  return WindowRequest(interp, ctx, WindowOutputSize, 2);
}

HandlerResult CmdDispProgram(Interpreter& interp, ExecContext& ctx) {
  return WindowRequest(interp, ctx, WindowProgramArea, 1);
}

HandlerResult CmdCmdOut(Interpreter& interp, ExecContext& ctx) {
  ArgumentSlots<1> args;
  if (!ReadExactArguments(interp, ctx, args)) return ResultFailed;
  SendService(interp, args[0].ToInt(), nullptr, 0);
  ctx.value = 1;
  return ResultDone;
}

// The slot an index names, 0 to 3; -1 for any other index. The index is
// converted to an integer in place, as its comparisons do.
int SlotIndex(vellvar& index) {
  for (int i = 0; i <= 3; ++i) {
    if (index == vellvar(i)) return i;
  }
  return -1;
}

HandlerResult CmdGetCmd(Interpreter& interp, ExecContext& ctx) {
  ArgumentSlots<1> args;
  if (!ReadExactArguments(interp, ctx, args)) return ResultFailed;
  const int slot = SlotIndex(args[0]);
  if (slot >= 0) ctx.value = interp.requestSlots[slot].item;
  return ResultDone;
}

HandlerResult CmdSetCmd(Interpreter& interp, ExecContext& ctx) {
  ArgumentSlots<2> args;
  if (!ReadExactArguments(interp, ctx, args)) return ResultFailed;
  const int slot = SlotIndex(args[0]);
  if (slot >= 0) SetSlot(interp, slot, args[1]);
  ctx.value = 1;
  return ResultDone;
}

HandlerResult KeyCommand(Interpreter& interp, ExecContext& ctx, bool down) {
  ArgumentSlots<1> args;
  if (!ReadExactArguments(interp, ctx, args)) return ResultFailed;
  input::CurrentInputSimulator().Key(args[0].ToInt() & 0xFF, down);
  ctx.value = 0;
  return ResultDone;
}

HandlerResult CmdKeyDown(Interpreter& interp, ExecContext& ctx) {
  return KeyCommand(interp, ctx, true);
}
HandlerResult CmdKeyUp(Interpreter& interp, ExecContext& ctx) {
  return KeyCommand(interp, ctx, false);
}

HandlerResult CmdMouseMove(Interpreter& interp, ExecContext& ctx) {
  ArgumentSlots<2> args;
  if (!ReadExactArguments(interp, ctx, args)) return ResultFailed;
  input::InputSimulator& simulator = input::CurrentInputSimulator();
  const input::ScreenSize screen = simulator.PrimaryScreenSize();
  if (screen.width > 0 && screen.height > 0) {
    const int64_t dx = int64_t{args[0].ToInt()} * kAbsoluteScale / screen.width;
    const int64_t dy = int64_t{args[1].ToInt()} * kAbsoluteScale / screen.height;
    simulator.MoveAbsolute(dx, dy);
  }
  ctx.value = 0;
  return ResultDone;
}

HandlerResult MouseButtonCommand(Interpreter& interp, ExecContext& ctx, bool down) {
  ArgumentSlots<1> args;
  if (!ReadExactArguments(interp, ctx, args)) return ResultFailed;
  const int32_t button = args[0].ToInt();
  if (button >= 0 && button <= 2) {
    static constexpr input::MouseButton kButtons[] = {
        input::MouseButton::Left, input::MouseButton::Right, input::MouseButton::Middle};
    input::CurrentInputSimulator().Button(kButtons[button], down);
  }
  ctx.value = 0;
  return ResultDone;
}

HandlerResult CmdMouseDown(Interpreter& interp, ExecContext& ctx) {
  return MouseButtonCommand(interp, ctx, true);
}
HandlerResult CmdMouseUp(Interpreter& interp, ExecContext& ctx) {
  return MouseButtonCommand(interp, ctx, false);
}

// A position past the end reads as the empty text; the list never grows.
HandlerResult CmdCommandLine(Interpreter& interp, ExecContext& ctx) {
  ArgumentSlots<1> args;
  if (!ReadExactArguments(interp, ctx, args)) return ResultFailed;
  const int32_t position = args[0].ToInt() < 0 ? 0 : args[0].ToInt();
  vellarray* node = nullptr;
  if (position < interp.commandLine.childCount) {
    node = interp.commandLine.firstChild;
    for (int32_t i = 0; i < position && node != nullptr; ++i) node = node->nextSibling;
  }
  if (node == nullptr) {
    ctx.value = u"";
  } else {
    ctx.value = node->item;
    ctx.value.WideText();
  }
  return ResultDone;
}

}  // namespace

bool RunFile(std::u16string_view file, std::u16string_view parameters, bool wait) {
  const process::RunTarget target = process::LocateRunTarget(file);
  process::ProcessStarter& starter = process::CurrentProcessStarter();
  switch (target.kind) {
    case process::RunTarget::Missing:
      return false;
    case process::RunTarget::Document:
    case process::RunTarget::Url:
      return starter.OpenDocument(target);
    case process::RunTarget::Program:
      break;
  }
  std::vector<std::string> arguments;
  for (const std::u16string& part : process::SplitParameters(parameters)) {
    // A text the locale's character set cannot hold is never approximated.
    if (!text::AnsiRoundTrips(part)) return false;
    arguments.push_back(text::WideToAnsi(part));
  }
  return starter.StartProgram(target.path, arguments, wait);
}

void RegisterCommands(Interpreter& interp) {
  RegisterBuiltin(interp, u"CLS", CmdCls);
  RegisterBuiltin(interp, u"MSG", CmdMsg);
  RegisterBuiltin(interp, u"WAIT", CmdWait);
  RegisterBuiltin(interp, u"RUN", CmdRun);
  RegisterBuiltin(interp, u"BEEP", CmdBeep);
  RegisterBuiltin(interp, u"CALC", CmdCalc);
  RegisterBuiltin(interp, u"CALLSUB", CmdCallSub);
  RegisterBuiltin(interp, u"LIST", CmdList);
  RegisterBuiltin(interp, u"SCREEN", CmdScreen);
  RegisterBuiltin(interp, u"DISPPROGRAM", CmdDispProgram);
  RegisterBuiltin(interp, u"CMDOUT", CmdCmdOut);
  RegisterBuiltin(interp, u"GETCMD", CmdGetCmd);
  RegisterBuiltin(interp, u"SETCMD", CmdSetCmd);
  RegisterBuiltin(interp, u"KEYDOWN", CmdKeyDown);
  RegisterBuiltin(interp, u"KEYUP", CmdKeyUp);
  RegisterBuiltin(interp, u"MOUSEMOVE", CmdMouseMove);
  RegisterBuiltin(interp, u"MOUSEDOWN", CmdMouseDown);
  RegisterBuiltin(interp, u"MOUSEUP", CmdMouseUp);
  RegisterBuiltin(interp, u"COMMANDLINE", CmdCommandLine);
}

}  // namespace vell
