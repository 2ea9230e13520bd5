// Running texts statement by statement, and reporting their errors.
#include "core/execution.h"

#include <sys/resource.h>

#include <algorithm>
#include <charconv>
#include <utility>

#include "core/interpreter_state.h"
#include "core/stack_check.h"
#include "core/lexer.h"
#include "core/name_table.h"
#include "core/remembered_forms.h"
#include "core/statements.h"
#include "core/variables.h"
#include "platform/text_codec.h"

namespace vell {

namespace {

constexpr size_t kMessageMax = 255;

// How deep the texts of one outermost run may nest, in bytes of machine stack:
// at most half the stack and never more than 4 MiB, which leaves the window
// system plenty of room below the run.
uintptr_t StackBudget() {
  constexpr uintptr_t kMiB = uintptr_t(1) << 20;
  uintptr_t limit = 8 * kMiB;
  rlimit rl{};
  if (getrlimit(RLIMIT_STACK, &rl) == 0 && rl.rlim_cur != RLIM_INFINITY) {
    limit = static_cast<uintptr_t>(rl.rlim_cur);
  }
  uintptr_t budget = std::min<uintptr_t>(4 * kMiB, limit / 2);
  if (limit > kMiB) budget = std::min(budget, limit - kMiB);
  return budget;
}

class RunDepthScope {
 public:
  explicit RunDepthScope(Interpreter& interp) : interp_(interp) { ++interp_.runDepth; }
  ~RunDepthScope() {
    if (--interp_.runDepth == 0) interp_.stackBase = 0;
  }
  RunDepthScope(const RunDepthScope&) = delete;
  RunDepthScope& operator=(const RunDepthScope&) = delete;

 private:
  Interpreter& interp_;
};

__attribute__((noinline)) void MarkPumpRequest(vellarray& kind) {
  kind.SetItem(vellvar(static_cast<int>(RequestPump)));
}

// The pump request the executor sends before every statement, unless the
// host has said it would do nothing now.
inline void PumpMessages(Interpreter& interp) {
  HostRequestHandler* host = interp.mainWindow;
  if (host == nullptr) return;
  // Slot 0 reads as the pump request after every statement, whether or not
  // the host is asked (GETCMD sees it).
  vellarray& kind = interp.requestSlots[0];
  if (kind.item.kind != KindInteger || kind.item.IntValue() != RequestPump) MarkPumpRequest(kind);
  if (host->pumpGate != nullptr && host->pumpGate->load(std::memory_order_relaxed) == 0) return;
  host->HandleHostRequest(interp);  // SendHostRequest
}

std::u16string RoutineName(const vellvar& name) {
  if (name.kind == KindWide) return std::u16string(name.WideView());
  if (name.kind == KindNarrow) return vell::text::AnsiToWide(name.NarrowView());
  return {};  // a name that was never set shows as empty
}

inline bool IsHighSurrogate(char16_t c) { return c >= 0xD800 && c <= 0xDBFF; }
inline bool IsLowSurrogate(char16_t c) { return c >= 0xDC00 && c <= 0xDFFF; }

// Text cut to `room` units with "…" in place of what is left out: the start
// of a routine name goes (a CALLed file's name stays), the end of a token.
// A surrogate pair is never split.
std::u16string KeepEnd(std::u16string_view text, size_t room) {
  if (text.size() <= room) return std::u16string(text);
  size_t from = text.size() - (room - 1);
  if (IsLowSurrogate(text[from])) ++from;
  return u"\u2026" + std::u16string(text.substr(from));
}
std::u16string KeepStart(std::u16string_view text, size_t room) {
  if (text.size() <= room) return std::u16string(text);
  size_t n = room - 1;
  if (IsHighSurrogate(text[n - 1])) --n;
  return std::u16string(text.substr(0, n)) + u"\u2026";
}

// A text started inside a run while a stop or an error is pending does not
// run: clearing the state would lose the stop, or let the program carry on
// after an error whose run state is 0 (a failure without a code) has been
// reported. It has no value of its own to leave either.
bool RefuseNestedRun(Interpreter& interp) {
  if (interp.runDepth == 0 || (interp.runState == 0 && interp.errorReported == 0)) return false;
  interp.lastValue = 0;
  return true;
}

}  // namespace

HandlerResult RunText(Interpreter& interp, ExecContext* caller, std::u16string_view text) {
  if (RefuseNestedRun(interp)) return ResultFailed;
  return RunText(interp, caller, MakeSharedText(text));
}

HandlerResult RunText(Interpreter& interp, ExecContext* caller, SharedText text) {
  if (RefuseNestedRun(interp)) return ResultFailed;
  // Only an outermost run (the main program, an event text while none runs)
  // starts afresh.
  interp.errorReported = 0;
  interp.runState = 0;
  const int32_t saved = interp.localCount;
  const HandlerResult r = ExecuteText(interp, std::move(text), saved);
  if (r != ResultFailed) {
    if (caller != nullptr) caller->value = std::move(interp.lastValue);  // read only here
    names::PopLocals(interp, saved);
  }
  return r;
}

HandlerResult ExecuteText(Interpreter& interp, SharedText text, int32_t localBase) {
  if (interp.runDepth == 0) {
    interp.stackBase = reinterpret_cast<uintptr_t>(__builtin_frame_address(0));
    interp.stackBudget = StackBudget();
  } else if (NestingUsedUp(interp) || StackUsedUp(interp, 0)) {
    return ResultFailed;  // reported by the text that started this one
  }
  RunDepthScope depth(interp);

  ExecContext ctx;
  ctx.source = std::move(text);
  ctx.text = ctx.source ? ctx.source->chars.c_str() : u"";
  ctx.localBase = localBase;
  ctx.routineName = interp.routineName;
  ctx.thisNode = interp.thisSource;
  BindKnownTokens(interp, ctx);

  BindParameters(interp, ctx);  // a failure makes the first statement fail

  HandlerResult r;
  for (;;) {
    r = ExecuteStatement(interp, ctx);
    if (interp.errorReported != 0 || r == ResultTextEnded) break;
    if (r == ResultFailed) {
      interp.errorReported = 1;
      ReportError(interp, ctx);
      break;
    }
    if (ctx.breakFlag != 0 || ctx.returnFlag != 0) break;
  }
  interp.lastValue = std::move(ctx.value);  // the context ends here
  return r;
}

namespace {
HandlerResult ExecutePlainStatement(Interpreter& interp, ExecContext& ctx);

// ExecuteStatement's work, inlined where blocks run their statements.
__attribute__((always_inline)) inline HandlerResult StatementStep(Interpreter& interp,
                                                                  ExecContext& ctx) {
  // Once an error has been reported no statement starts, whatever loop,
  // block or SUB it belongs to: the statement whose pump ran the failing
  // event text completes and the run stops after it.
  if (interp.errorReported != 0) return ResultFailed;
  PumpMessages(interp);
  if (interp.runState != 0) return ResultFailed;
  if (ctx.breakFlag != 0 || ctx.returnFlag != 0) return ResultBlockClosed;
  if (StackUsedUp(interp, kNestingSlack)) return ResultFailed;
  if (const forms::StatementForm* form = forms::StatementAt(interp, ctx)) {
    return form->run(interp, ctx, *form);
  }
  return ExecutePlainStatement(interp, ctx);
}

}  // namespace

HandlerResult ExecuteStatement(Interpreter& interp, ExecContext& ctx) {
  return StatementStep(interp, ctx);
}

namespace {

// The statement read token by token from the text.
__attribute__((noinline)) HandlerResult ExecutePlainStatement(Interpreter& interp,
                                                              ExecContext& ctx) {
  switch (NextToken(interp, ctx)) {
    case TokEnd:
      return ResultTextEnded;
    case TokBlockClose:
      return ResultBlockClosed;
    case TokBlockOpen:
      return RunBlock(interp, ctx);
    case TokIdentifier:
      return ExecuteKeyword(interp, ctx) == ResultFailed ? ResultFailed : ResultDone;
    case TokError:
      return ResultFailed;
    default:
      return Fail(interp, ErrorSyntax);
  }
}

}  // namespace

HandlerResult RunBlock(Interpreter& interp, ExecContext& ctx) {
  for (;;) {
    const HandlerResult r = StatementStep(interp, ctx);
    if (r == ResultBlockClosed) return ResultDone;
    if (r == ResultTextEnded) return Fail(interp, ErrorUnbalanced);
    if (r == ResultFailed) return ResultFailed;
  }
}

std::u16string FormatErrorMessage(const Interpreter& interp, const ExecContext& ctx) {
  const int32_t code = interp.runState;
  if (code == StateExit || code == StateEnd) return {};

  int32_t line = 1;
  for (int32_t i = 0; i < ctx.cursor && !(ctx.text[i] == 0 && AtTextEnd(ctx, i)); ++i) {
    if (ctx.text[i] == u'\n') ++line;
  }

  const char16_t* words;
  bool withToken = true;
  switch (code) {
    case ErrorMemory: words = u"cannot allocate memory"; break;
    case ErrorVariable: words = u"variable error"; break;
    case ErrorAreaOverflow: words = u"area overflow"; break;
    case ErrorValueType: words = u"value type error"; break;
    case ErrorUndefined: words = u"undefined error"; break;
    case ErrorFile: words = u"file error"; break;
    case ErrorSyntax: words = u"syntax error"; break;
    case ErrorUnbalanced: words = u"unbalanced parentheses"; withToken = false; break;
    case ErrorArithmetic: words = u"arithmetic error"; withToken = false; break;
    default: words = u"system error\n"; break;
  }

  char digits[16];
  const auto end = std::to_chars(digits, digits + sizeof digits, line).ptr;
  const std::u16string number(digits, end);
  const std::u16string_view wordsView(words);
  std::u16string name = RoutineName(ctx.routineName);
  std::u16string token(withToken ? ctx.TokenView() : std::u16string_view());

  // The message keeps at most 255 units: the line number and the words stay
  // whole, and the routine name and the token share the room left, each
  // shortened only as far as the other leaves it no room.
  const size_t fixed = 1 + 1 + number.size() + (withToken ? 1 : 0) + 2 + wordsView.size();
  const size_t room = kMessageMax - fixed;
  if (name.size() + token.size() > room) {
    const size_t half = room / 2;
    name = KeepEnd(name, token.size() <= half ? room - token.size() : half);
    token = KeepStart(token, room - name.size());
  }

  std::u16string msg(1, u'\n');
  msg += name;
  msg += u' ';
  msg += number;
  if (withToken) {
    msg += u' ';
    msg += token;
  }
  msg += u": ";
  msg += wordsView;
  return msg;
}

int ReportError(Interpreter& interp, ExecContext& ctx) {
  std::u16string msg = FormatErrorMessage(interp, ctx);
  if (msg.empty()) return 0;
  AskMessage(interp, vellvar(std::u16string_view(msg)));
  return 0;
}

}  // namespace vell
