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

// The pump request the executor sends before every statement, unless the
// host has said it would do nothing now.
inline void PumpMessages(Interpreter& interp) {
  HostRequestHandler* host = interp.mainWindow;
  if (host == nullptr) return;
  // Slot 0 reads as the pump request after every statement, whether or not
  // the host is asked (GETCMD sees it).
  vellarray& kind = interp.requestSlots[0];
  if (kind.item.kind != KindInteger || kind.item.IntValue() != RequestPump) {
    kind.SetItem(vellvar(static_cast<int>(RequestPump)));
  }
  if (host->pumpGate != nullptr && host->pumpGate->load(std::memory_order_relaxed) == 0) return;
  host->HandleHostRequest(interp);  // SendHostRequest
}

void AppendRoutineName(std::u16string& out, const vellvar& name) {
  if (name.kind == KindWide) {
    out += name.WideView();
  } else if (name.kind == KindNarrow) {
    out += vell::text::AnsiToWide(name.NarrowView());
  }
  // A name that was never set shows as empty.
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
}  // namespace

HandlerResult ExecuteStatement(Interpreter& interp, ExecContext& ctx) {
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
      interp.runState = ErrorSyntax;
      return ResultFailed;
  }
}

}  // namespace

HandlerResult RunBlock(Interpreter& interp, ExecContext& ctx) {
  for (;;) {
    const HandlerResult r = ExecuteStatement(interp, ctx);
    if (r == ResultBlockClosed) return ResultDone;
    if (r == ResultTextEnded) {
      interp.runState = ErrorUnbalanced;
      return ResultFailed;
    }
    if (r == ResultFailed) return ResultFailed;
  }
}

std::u16string FormatErrorMessage(const Interpreter& interp, const ExecContext& ctx) {
  const int32_t code = interp.runState;
  if (code == StateExit || code == StateEnd) return {};

  int32_t line = 1;
  for (int32_t i = 0; i < ctx.cursor && ctx.text[i] != 0; ++i) {
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

  std::u16string msg(1, u'\n');
  AppendRoutineName(msg, ctx.routineName);
  msg += u' ';
  char digits[16];
  const auto end = std::to_chars(digits, digits + sizeof digits, line).ptr;
  for (const char* d = digits; d != end; ++d) msg += static_cast<char16_t>(*d);
  if (withToken) {
    msg += u' ';
    msg += ctx.TokenView();
  }
  msg += u": ";
  msg += words;

  // The message keeps at most 255 units; a surrogate pair is never split.
  if (msg.size() > kMessageMax) {
    size_t cut = kMessageMax;
    if (msg[cut - 1] >= 0xD800 && msg[cut - 1] <= 0xDBFF) --cut;
    msg.resize(cut);
  }
  return msg;
}

int ReportError(Interpreter& interp, ExecContext& ctx) {
  std::u16string msg = FormatErrorMessage(interp, ctx);
  if (msg.empty()) return 0;
  AskMessage(interp, vellvar(std::u16string_view(msg)));
  return 0;
}

}  // namespace vell
