// Running the remembered forms of statements and expressions. Each function
// here does what one of the evaluator's calls does, in the same order, with
// the tokens already known; where the plain path takes over, the reading
// state is restored first and the caller goes on as the plain path would.
#include <utility>

#include "core/execution.h"
#include "core/interpreter_state.h"
#include "core/lexer.h"
#include "core/name_table.h"
#include "core/operators.h"
#include "core/remembered_forms.h"
#include "core/statements.h"
#include "core/variables.h"

namespace vell::forms {

namespace {

// How a form ended: failed; done, with the reading state still to be
// restored from the form; or handed over, the plain path having read on
// from where the two parted (the reading state is the real one).
enum class Outcome : uint8_t { Failed, Done, Plain };

inline Outcome Handed(int r) { return r == ResultFailed ? Outcome::Failed : Outcome::Plain; }

// A failure after an operand that may have been done by its form.
inline Outcome FailAfter(ExecContext& ctx, const Expr& operand, Outcome reached) {
  if (reached == Outcome::Done) ReadAgain(ctx, operand.end);
  return Outcome::Failed;
}

inline void SetNodeRef(NodeRef& ref, vellarray* node) {
  if (ref.get() != node) ref = node;
}

// A local above the one at index that the scan from the top would stop at
// first: one of the same name, or a free entry.
__attribute__((noinline)) bool Shadowed(Interpreter& interp, int32_t index,
                                        std::u16string_view name) {
  for (int32_t i = interp.localCount - 1; i > index; --i) {
    const vellarray& local = interp.locals[i];
    if (local.kind == NodeFree || names::KeyIs(local.Key(), name)) return true;
  }
  return false;
}

// The entry the name resolved to last, when that still holds; else null.
// A global holds while no table changed and no live local bears a name of
// its bucket; a local (of the frame, or the same caller's local, whichever
// frames now lie above it) while it still bears the name and nothing above
// it in the stack comes first: just where the scan from the top stops.
__attribute__((noinline)) vellarray* StillHolds(Interpreter& interp, const ExecContext& ctx,
                                                const NameExpr& name) {
  if (name.frameOffset < 0 && name.callerIndex < 0) {
    if (interp.localNames.count[name.bucket] != 0) return nullptr;
  } else {
    const int32_t index =
        name.frameOffset >= 0 ? ctx.localBase + name.frameOffset : name.callerIndex;
    if (index >= interp.localCount) return nullptr;
    vellarray* local = &interp.locals[index];
    if (local->kind == NodeFree || !names::KeyIs(local->Key(), name.name)) return nullptr;
    if (interp.localNames.count[name.bucket] != 1 && Shadowed(interp, index, name.name)) {
      return nullptr;
    }
    name.entry = local;
  }
  name.framesEpoch = names::gFramesEpoch;
  return name.entry;
}

// A frame of the same layout, exactly as long: the name is at the same offset.
__attribute__((always_inline)) inline bool SameFrame(const Interpreter& interp,
                                                     const ExecContext& ctx,
                                                     const NameExpr& name) {
  return name.layout != nullptr && name.layout == ctx.layout &&
         interp.localCount == ctx.localBase + ctx.layout->size;
}

__attribute__((always_inline)) inline vellarray* Remembered(Interpreter& interp,
                                                            const ExecContext& ctx,
                                                            const NameExpr& name) {
  if (name.epoch != names::gNamesEpoch) return nullptr;
  if (name.framesEpoch == names::gFramesEpoch) return name.entry;  // nothing changed at all
  if (SameFrame(interp, ctx, name)) {
    name.entry = &interp.locals[ctx.localBase + name.frameOffset];
    name.framesEpoch = names::gFramesEpoch;
    return name.entry;
  }
  return StillHolds(interp, ctx, name);
}

// FindVariable for the name, remembering what it found for next time.
__attribute__((noinline)) vellarray* Resolve(Interpreter& interp, const ExecContext& ctx,
                                             const NameExpr& name) {
  vellarray* entry = FindName(interp, name.name);
  if (name.held) return entry;
  names::FreshLocalNames(interp);
  name.entry = entry;
  name.epoch = names::gNamesEpoch;
  name.framesEpoch = names::gFramesEpoch;
  name.frameOffset = -1;
  name.callerIndex = -1;
  name.layout = nullptr;
  if (entry >= interp.locals && entry < interp.locals + kTableNodes) {
    const int32_t index = int32_t(entry - interp.locals);
    if (index >= ctx.localBase) {
      name.frameOffset = index - ctx.localBase;
      // Found in a frame whose names are known: in every frame of them.
      if (ctx.layout != nullptr && interp.localCount == ctx.localBase + ctx.layout->size) {
        name.layout = ctx.layout;
      }
    } else {
      name.callerIndex = index;  // a caller's local
    }
  }
  return entry;
}

__attribute__((always_inline)) inline vellarray* EntryOf(Interpreter& interp,
                                                         const ExecContext& ctx,
                                                         const NameExpr& name) {
  vellarray* entry = Remembered(interp, ctx, name);
  return entry != nullptr ? entry : Resolve(interp, ctx, name);
}

Outcome RunExpr(Interpreter& interp, ExecContext& ctx, const Expr& form);

// The entry the common read of a variable by its name alone reaches, as
// AccessVariable reads it; null when the name needs more than that (the
// general way decides). Nothing is referenced yet.
__attribute__((always_inline)) inline vellarray* PlainEntry(Interpreter& interp, ExecContext& ctx,
                                                            const NameExpr& name) {
  if (ctx.nodeMode) return nullptr;
  vellarray* entry = EntryOf(interp, ctx, name);
  if (entry == nullptr) return nullptr;
  const int32_t kind = entry->kind;
  return kind == NodeVariable || IsComponentKind(kind) ? entry : nullptr;
}

// References entry as any read of a variable does.
__attribute__((always_inline)) inline void MarkRead(Interpreter& interp, vellarray* entry) {
  SetNodeRef(interp.thisSource, entry);
  SetNodeRef(interp.lastNode, entry);
}

// The common read of a variable by its name alone; false when the name
// needs more than that.
__attribute__((always_inline)) inline bool ReadVariable(Interpreter& interp, ExecContext& ctx, const NameExpr& name) {
  vellarray* entry = PlainEntry(interp, ctx, name);
  if (entry == nullptr) return false;
  MarkRead(interp, entry);
  ctx.value = entry->item;
  return true;
}

// ReadReal for a variable.
__attribute__((always_inline)) inline bool ReadVariableReal(Interpreter& interp, ExecContext& ctx,
                                                            const NameExpr& name, double& value) {
  vellarray* entry = PlainEntry(interp, ctx, name);
  if (entry == nullptr || entry->item.kind != KindReal) return false;
  MarkRead(interp, entry);
  value = entry->item.RealValue();
  return true;
}

// A right operand that is a number, or a variable holding a real, read as
// a real without going through the current value (the operator's result
// replaces that at once); the variable is referenced as any read does.
__attribute__((always_inline)) inline bool ReadReal(Interpreter& interp, ExecContext& ctx,
                                                    const Expr& form, double& value) {
  if (form.shape == Shape::Number) {
    value = static_cast<const NumberExpr&>(form).value;
    return true;
  }
  if (form.shape != Shape::Variable) return false;
  return ReadVariableReal(interp, ctx, static_cast<const NameExpr&>(form), value);
}

// An operand: numbers and variables straight away, anything else by its form.
__attribute__((always_inline)) inline Outcome RunOperand(Interpreter& interp, ExecContext& ctx, const Expr& form) {
  if (form.shape == Shape::Number) {
    ctx.value = static_cast<const NumberExpr&>(form).value;
    return Outcome::Done;
  }
  if (form.shape == Shape::Variable &&
      ReadVariable(interp, ctx, static_cast<const NameExpr&>(form))) {
    return Outcome::Done;
  }
  return RunExpr(interp, ctx, form);
}

// A step's right operand. A bare operand stands for a chain of the next
// level: when the plain path takes over in it, that chain's operators follow.
__attribute__((always_inline)) inline Outcome RunRight(Interpreter& interp, ExecContext& ctx,
                                                       const Chain::Step& step) {
  const Outcome o = RunOperand(interp, ctx, *step.right);
  if (o != Outcome::Plain || !step.bare) return o;
  return Handed(ContinueOperators(interp, ctx, step.level + 1));
}

// The step's operator on two reals into ctx.value; false after a division
// by zero, failed as the evaluator fails it (the outcome in `failed`).
__attribute__((always_inline)) inline bool StoreReals(Interpreter& interp, ExecContext& ctx,
                                                      const Chain::Step& step, double left,
                                                      double right, Outcome& failed) {
  if (StoreRealResult(ctx, step.op, left, right)) return true;
  ctx.value = right;  // as the right operand left it
  ReadAgain(ctx, step.right->end);
  failed = Fail(interp, ErrorArithmetic) == ResultFailed ? Outcome::Failed : Outcome::Done;
  return false;
}

// EvalFromLevel: the operators of the chain's level and above. assignedTo:
// the value the whole chain is stored into next, if any (S = S + X appends
// in place, as the evaluator does it).
Outcome RunChain(Interpreter& interp, ExecContext& ctx, const Chain& chain,
                 vellvar* assignedTo = nullptr) {
  const Chain::Step* next = chain.steps.data();
  const Chain::Step* const last = next + chain.steps.size();
  Outcome o = Outcome::Done;
  double headReal;
  if (next != last && ReadReal(interp, ctx, *chain.head, headReal)) {
    // Two reals: the first operator's result is the first value stored.
    double rightReal;
    if (ReadReal(interp, ctx, *next->right, rightReal)) {
      if (!StoreReals(interp, ctx, *next, headReal, rightReal, o)) return o;
      ++next;
    } else {
      ctx.value = headReal;
    }
  } else {
    o = RunOperand(interp, ctx, *chain.head);
    if (o != Outcome::Done) {
      if (o == Outcome::Failed) return o;
      return Handed(ContinueOperators(interp, ctx, chain.minLevel));
    }
  }
  for (; next != last; ++next) {
    const Chain::Step& step = *next;
    if (ctx.value.kind == KindReal) {
      // As the evaluator does: the current value stays until the right
      // operand replaces it.
      const double leftReal = ctx.value.RealValue();
      double rightReal;
      if (ReadReal(interp, ctx, *step.right, rightReal)) {
        if (!StoreReals(interp, ctx, step, leftReal, rightReal, o)) return o;
        continue;
      }
      o = RunRight(interp, ctx, step);
      if (o == Outcome::Failed) return o;
      HandlerResult result;
      if (ApplyToReals(interp, ctx, step.op, leftReal, result)) {
        if (result == ResultFailed) return FailAfter(ctx, *step.right, o);
      } else {
        vellvar left(leftReal);
        if (ApplyOperator(interp, ctx, step.level, step.op, left) == ResultFailed) {
          return FailAfter(ctx, *step.right, o);
        }
      }
    } else {
      vellvar left(step.right->literalStart ? vellvar(std::move(ctx.value)) : vellvar(ctx.value));
      o = RunRight(interp, ctx, step);
      if (o == Outcome::Failed) return o;
      // The sum is the chain's last operation and nothing follows it.
      if (assignedTo != nullptr && step.op == TokPlus && o == Outcome::Done &&
          next + 1 == last && BothWide(left, ctx.value)) {
        left.TakeBlockForAppend(*assignedTo, ctx.value);
      }
      if (ApplyOperator(interp, ctx, step.level, step.op, left) == ResultFailed) {
        return FailAfter(ctx, *step.right, o);
      }
    }
    if (o == Outcome::Plain) return Handed(ContinueOperators(interp, ctx, chain.minLevel));
  }
  return Outcome::Done;
}

// An operand of a pair as ReadReal reads it.
__attribute__((always_inline)) inline bool ReadPairOperand(Interpreter& interp, ExecContext& ctx,
                                                           const Chain::RealOperand& operand,
                                                           double& value) {
  if (operand.variable == nullptr) {
    value = operand.number;
    return true;
  }
  return ReadVariableReal(interp, ctx, *operand.variable, value);
}

// RunChain, with one operator between two reals worked out at once.
// Not forced inline: in an unoptimised build its locals would widen the
// frames of the statements that nest (IF around a recursive call).
inline Outcome RunChainQuick(Interpreter& interp, ExecContext& ctx, const Chain& chain,
                             vellvar* assignedTo = nullptr) {
  if (chain.steps.empty()) {
    // A variable alone (an index, an argument): read at once.
    if (chain.head->shape == Shape::Variable &&
        ReadVariable(interp, ctx, static_cast<const NameExpr&>(*chain.head))) {
      return Outcome::Done;
    }
  } else if (chain.pairOfReals) {
    double left;
    double right;
    // Reading an operand twice (when the second is no real) changes nothing.
    if (ReadPairOperand(interp, ctx, chain.pair[0], left) &&
        ReadPairOperand(interp, ctx, chain.pair[1], right)) {
      if (StoreRealResult(ctx, chain.pairOp, left, right)) return Outcome::Done;
      Outcome failed = Outcome::Done;
      StoreReals(interp, ctx, chain.steps.front(), left, right, failed);
      return failed;
    }
  }
  return RunChain(interp, ctx, chain, assignedTo);
}

// CallSub with the argument list the form knows, or none.
Outcome RunCall(Interpreter& interp, ExecContext& ctx, const NameExpr& name, vellarray* sub) {
  SubCall call;
  if (BeginSubCall(interp, call, sub) == ResultFailed) {
    ReadAgain(ctx, name.after);
    return Outcome::Failed;
  }
  bool handed = false;
  for (const Chain* argument : name.arguments) {
    const Outcome o = RunExpr(interp, ctx, *argument);
    if (o == Outcome::Failed) return o;
    if (PushArgument(interp, ctx) == ResultFailed) return FailAfter(ctx, *argument, o);
    if (o == Outcome::Plain) {
      if (ContinueArguments(interp, ctx) == ResultFailed) return Outcome::Failed;
      handed = true;
      break;
    }
  }
  if (FinishSubCall(interp, ctx, call) == ResultFailed) {
    if (!handed) ReadAgain(ctx, name.end);
    return Outcome::Failed;
  }
  return handed ? Outcome::Plain : Outcome::Done;
}

// The walk's end read, as ReadWalk does.
Outcome ReadName(Interpreter& interp, ExecContext& ctx, const NameExpr& name,
                 ReferenceWalk& walk) {
  vellarray* cur = walk.cur;
  if (cur->kind == NodeSub) {
    if (name.called || !name.afterOpensList) return RunCall(interp, ctx, name, cur);
    ReadAgain(ctx, name.after);
    return Handed(CallSub(interp, ctx, cur));
  }
  if (IsMemberKind(cur->kind)) {
    ReadAgain(ctx, name.after);
    return Handed(ReadWalk(interp, ctx, walk));
  }
  if (cur->kind == NodeVariable || cur->kind >= NodeComponentFirst) ctx.value = cur->item;
  if (!name.called) return Outcome::Done;
  // Not a SUB after all: the list after it is no argument list.
  ReadAgain(ctx, name.after);
  return Outcome::Plain;
}

// FindVariable and AccessVariable: the reference walked, then assigned or read.
Outcome RunName(Interpreter& interp, ExecContext& ctx, const NameExpr& name) {
  vellarray* entry = EntryOf(interp, ctx, name);
  ctx.foundEntry = entry;
  if (entry == nullptr) {
    ReadAgain(ctx, {name.first, false});
    interp.runState = ErrorUndefined;
    return Outcome::Failed;
  }
  if (name.whole || ctx.nodeMode) {
    ReadAgain(ctx, {name.first, false});
    return Handed(AccessVariable(interp, ctx, entry));
  }
  ReferenceWalk walk;
  StartWalk(interp, walk, entry);
  for (const NameExpr::Step& step : name.steps) {
    NoteComponent(walk);
    if (step.index == nullptr) {
      StepMember(interp, walk, step.member);
      continue;
    }
    const Outcome o = RunChainQuick(interp, ctx, *step.index);
    if (o == Outcome::Failed) return o;
    StepIndexValue(interp, ctx, walk);
    if (o == Outcome::Plain) {
      // The plain path reads the rest of the reference.
      if (CloseIndex(interp, ctx) == ResultFailed) return Outcome::Failed;
      if (WalkSteps(interp, ctx, walk) == ResultFailed) return Outcome::Failed;
      return Handed(walk.mode == WalkAssign ? StoreIntoWalk(interp, ctx, walk)
                                            : ReadWalk(interp, ctx, walk));
    }
  }
  NoteComponent(walk);
  if (name.assigned == nullptr) return ReadName(interp, ctx, name, walk);
  if (IsMemberKind(walk.cur->kind)) {
    ReadAgain(ctx, {name.assignAt, false});
    return Handed(StoreIntoWalk(interp, ctx, walk));
  }
  const Outcome o = RunChainQuick(interp, ctx, *name.assigned, &walk.cur->item);
  if (o == Outcome::Failed) return o;
  StoreAssigned(ctx, walk.cur);
  return o;
}

// Whether ctx reads on exactly as it would after the token at point, read
// and not given back, with nothing else to finish first.
bool ReadsOnFrom(const ExecContext& ctx, const ReadPoint& point) {
  return ReadsOn(ctx, point) && ctx.breakFlag == 0 && ctx.returnFlag == 0;
}

// Lets ParseArguments know the built-in's list while its handler runs.
class KnownArguments {
 public:
  KnownArguments(ExecContext& ctx, const BuiltinExpr& form) : ctx_(ctx) {
    ctx_.knownArguments = form.open ? nullptr : &form;
  }
  ~KnownArguments() { ctx_.knownArguments = nullptr; }
  KnownArguments(const KnownArguments&) = delete;
  KnownArguments& operator=(const KnownArguments&) = delete;

 private:
  ExecContext& ctx_;
};

// The handler reads its own arguments; when it stops on the list's ) the
// form knows (and no built-in came or went meanwhile), the form goes on.
Outcome RunBuiltin(Interpreter& interp, ExecContext& ctx, const BuiltinExpr& form) {
  ReadAgain(ctx, {form.first, false});
  const uint64_t stamp = gBuiltinStamp;
  const size_t count = interp.builtins.size();
  HandlerResult r;
  {
    const KnownArguments known(ctx, form);
    r = form.handler(interp, ctx);
  }
  if (r == ResultFailed) return Outcome::Failed;
  if (form.open || stamp != gBuiltinStamp || count != interp.builtins.size() ||
      !ReadsOnFrom(ctx, form.end)) {
    return Outcome::Plain;
  }
  return Outcome::Done;
}

Outcome RunExpr(Interpreter& interp, ExecContext& ctx, const Expr& form) {
  switch (form.shape) {
    case Shape::Number:
      ctx.value = static_cast<const NumberExpr&>(form).value;
      return Outcome::Done;
    case Shape::Text:
      ctx.value = std::u16string_view(static_cast<const TextExpr&>(form).text);
      return Outcome::Done;
    case Shape::Chain:
      return RunChain(interp, ctx, static_cast<const Chain&>(form));
    case Shape::Name:
    case Shape::Variable:
      return RunName(interp, ctx, static_cast<const NameExpr&>(form));
    case Shape::Group: {
      const Outcome o = RunChain(interp, ctx, *static_cast<const GroupExpr&>(form).inner);
      if (o != Outcome::Plain) return o;
      if (NextToken(interp, ctx) != TokCloseParen) {
        interp.runState = ErrorUnbalanced;
        return Outcome::Failed;
      }
      return Outcome::Plain;
    }
    case Shape::Sign: {
      const SignExpr& sign = static_cast<const SignExpr&>(form);
      const Outcome o = RunExpr(interp, ctx, *sign.operand);
      if (o == Outcome::Failed) return o;
      ctx.value.ChangeKind(KindReal);
      if (sign.negate) ctx.value.Negate();
      return o;
    }
    case Shape::Builtin:
      return RunBuiltin(interp, ctx, static_cast<const BuiltinExpr&>(form));
  }
  return Outcome::Failed;
}

// NAME = expression as a statement, with the name a variable (else the
// general way): what RunName does for it, and then the reading state.
Outcome RunAssignment(Interpreter& interp, ExecContext& ctx, const NameExpr& name) {
  vellarray* entry = EntryOf(interp, ctx, name);
  if (entry == nullptr || ctx.nodeMode || IsMemberKind(entry->kind)) {
    const Outcome o = RunName(interp, ctx, name);
    if (o == Outcome::Done) ReadAgain(ctx, name.end);
    return o;
  }
  SetNodeRef(interp.thisSource, entry);
  SetNodeRef(interp.lastNode, entry);
  const Outcome o = RunChainQuick(interp, ctx, *name.assigned, &entry->item);
  if (o == Outcome::Failed) return o;
  StoreAssigned(ctx, entry);
  if (o == Outcome::Done) ReadAgain(ctx, name.end);
  return o;
}

}  // namespace

namespace {

// RunExpression, for the statements' runners here.
__attribute__((always_inline)) inline HandlerResult Evaluate(Interpreter& interp,
                                                             ExecContext& ctx,
                                                             const Chain& form) {
  const Outcome o = RunChainQuick(interp, ctx, form);
  if (o == Outcome::Failed) return ResultFailed;
  if (o == Outcome::Done) ReadAgain(ctx, form.end);
  return ResultDone;
}

}  // namespace

HandlerResult RunExpression(Interpreter& interp, ExecContext& ctx, const Chain& form) {
  return Evaluate(interp, ctx, form);
}

// A number or a variable read by its name alone goes straight into the
// slot, as reading it into the current value and copying that would leave
// it; the reading state is the caller's to move past it.
bool ReadArgumentInto(Interpreter& interp, ExecContext& ctx, const Chain& form, vellvar& slot) {
  if (!form.steps.empty()) return false;
  const Expr& head = *form.head;
  if (head.shape == Shape::Number) {
    slot = static_cast<const NumberExpr&>(head).value;
    return true;
  }
  if (head.shape != Shape::Variable) return false;
  vellarray* entry = PlainEntry(interp, ctx, static_cast<const NameExpr&>(head));
  if (entry == nullptr) return false;
  MarkRead(interp, entry);
  slot = entry->item;
  return true;
}

namespace {

inline HandlerResult Statement(HandlerResult r) {
  return r == ResultFailed ? ResultFailed : ResultDone;
}

HandlerResult RunBlockOpen(Interpreter& interp, ExecContext& ctx, const StatementForm& form) {
  ReadAgain(ctx, form.start);
  return RunBlock(interp, ctx);
}

HandlerResult RunBlockClose(Interpreter&, ExecContext& ctx, const StatementForm& form) {
  ReadAgain(ctx, form.start);
  return ResultBlockClosed;
}

HandlerResult RunTextEnd(Interpreter&, ExecContext& ctx, const StatementForm& form) {
  ReadAgain(ctx, form.start);
  return ResultTextEnded;
}

HandlerResult RunKeyword(Interpreter& interp, ExecContext& ctx, const StatementForm& form) {
  ReadAgain(ctx, form.start);
  return Statement(form.handler(interp, ctx));
}

HandlerResult RunExpressionStatement(Interpreter& interp, ExecContext& ctx,
                                     const StatementForm& form) {
  return Statement(Evaluate(interp, ctx, *form.expression));
}

HandlerResult RunAssignmentStatement(Interpreter& interp, ExecContext& ctx,
                                     const StatementForm& form) {
  return RunAssignment(interp, ctx, *form.target) == Outcome::Failed ? ResultFailed : ResultDone;
}

// Passes over the statement at next, where ctx's cursor stands, as
// SkipStatement does: straight to its } when it is a block passed over before.
__attribute__((always_inline)) inline HandlerResult PassOver(Interpreter& interp,
                                                             ExecContext& ctx, int32_t next) {
  if (size_t(next) < ctx.tokenSlotCount) {
    const int32_t close = ctx.textForms->skipTo[size_t(next)];
    if (close >= 0) {
      ReadAgain(ctx, {close, false});
      return ResultDone;
    }
  }
  return SkipStatement(interp, ctx);
}

// A condition's form run. When it is done and its branch is passed over (the
// condition does not hold, or for ELSEIF a branch before was taken), and the
// block after it was passed over before, reading goes straight past that
// block as SkipStatement would: true then. Else reading stands where
// Evaluate leaves it.
template <bool kElseIf>
__attribute__((always_inline)) inline bool PassedOver(Interpreter& interp, ExecContext& ctx,
                                                      const StatementForm& form,
                                                      HandlerResult& result) {
  const Chain& condition = *form.expression;
  const Outcome o = RunChainQuick(interp, ctx, condition);
  result = o == Outcome::Failed ? ResultFailed : ResultDone;
  if (o != Outcome::Done) return false;
  if (condition.end.ready.lexedStart < 0) MakeReady(ctx, condition.end);
  const int32_t next = condition.end.ready.cursor;  // where reading goes on
  const bool holds = ConditionHolds(ctx);
  if ((!holds || (kElseIf && ctx.ifState == IfTaken)) && size_t(next) < ctx.tokenSlotCount) {
    const int32_t close = ctx.textForms->skipTo[size_t(next)];
    if (close >= 0) {
      if (form.passedTo.at != close) form.passedTo = ReadPoint(close, false);
      ReadAgain(ctx, form.passedTo);
      return true;
    }
  }
  ReadAgain(ctx, condition.end);
  return false;
}

HandlerResult RunIf(Interpreter& interp, ExecContext& ctx, const StatementForm& form) {
  HandlerResult r;
  if (PassedOver<false>(interp, ctx, form, r)) {
    ctx.ifState = IfOpen;
    return ResultDone;
  }
  if (r == ResultFailed) return ResultFailed;
  return Statement(IfBranch(interp, ctx));
}

HandlerResult RunElseIf(Interpreter& interp, ExecContext& ctx, const StatementForm& form) {
  if (ctx.ifState == IfNone) {
    ReadAgain(ctx, form.start);  // the message shows the keyword
    return Fail(interp, ErrorSyntax);
  }
  HandlerResult r;
  if (PassedOver<true>(interp, ctx, form, r)) return ResultDone;  // ifState stays
  if (r == ResultFailed) return ResultFailed;
  return Statement(ElseIfBranch(interp, ctx));
}

// ELSE as ExecElse does it, passing over its branch the quick way.
HandlerResult RunElse(Interpreter& interp, ExecContext& ctx, const StatementForm& form) {
  ReadAgain(ctx, form.start);
  if (ctx.ifState == IfNone) return Fail(interp, ErrorSyntax);
  const HandlerResult r = ctx.ifState == IfOpen ? ExecuteStatement(interp, ctx)
                                                : PassOver(interp, ctx, ctx.cursor);
  ctx.ifState = IfNone;
  return Statement(r);
}

HandlerResult RunReturn(Interpreter& interp, ExecContext& ctx, const StatementForm& form) {
  if (form.expression == nullptr) {
    ReadAgain(ctx, form.after);
  } else if (Evaluate(interp, ctx, *form.expression) == ResultFailed) {
    return ResultFailed;
  }
  ctx.returnFlag = 1;
  return ResultDone;
}

}  // namespace

StatementRunner RunnerOf(StatementForm::Kind kind) {
  switch (kind) {
    case StatementForm::Block: return RunBlockOpen;
    case StatementForm::Close: return RunBlockClose;
    case StatementForm::End: return RunTextEnd;
    case StatementForm::Keyword: return RunKeyword;
    case StatementForm::Expression: return RunExpressionStatement;
    case StatementForm::Assignment: return RunAssignmentStatement;
    case StatementForm::Declaration: return DeclareLocals;
    case StatementForm::If: return RunIf;
    case StatementForm::ElseIf: return RunElseIf;
    case StatementForm::Else: return RunElse;
    case StatementForm::Return: return RunReturn;
  }
  return RunKeyword;
}

}  // namespace vell::forms
