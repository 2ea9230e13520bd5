// The argument parser every built-in uses, and the bridge from a reference
// that ends at a component member to a component request.
#include "core/arguments.h"

#include "core/execution.h"
#include "core/host_request.h"
#include "core/interpreter_state.h"
#include "core/lexer.h"
#include "core/remembered_forms.h"
#include "core/variables.h"

namespace vell {

namespace {

constexpr int kMemberArgumentSlots = 3;

// Whether a slot's preset asks for a value (the integer 0) rather than a
// reference. A preset of another kind is compared as the values compare,
// which converts it in place.
inline bool TakesValue(vellvar& slot) {
  if (slot.kind == KindInteger) return slot.IntValue() == 0;
  return (slot == vellvar(0)) != 0;
}

// The list of the built-in whose handler runs, as its form knows it, when
// the handler reads it from the start (right after the name) and each of
// its arguments goes to a slot that takes a value; else null. Taken once.
const forms::BuiltinExpr* KnownList(ExecContext& ctx, const vellvar* slots, int maxCount) {
  const forms::BuiltinExpr* known = ctx.knownArguments;
  ctx.knownArguments = nullptr;
  if (known == nullptr || known->arguments.empty() ||
      known->arguments.size() > size_t(maxCount) || !forms::ReadsOn(ctx, {known->first, false})) {
    return nullptr;
  }
  for (size_t i = 0; i < known->arguments.size(); ++i) {
    if (slots[i].kind != KindInteger || slots[i].IntValue() != 0) return nullptr;
  }
  return known;
}

// An argument: by its form while the list is known, as EvalExpression would.
HandlerResult EvalArgument(Interpreter& interp, ExecContext& ctx,
                           const forms::BuiltinExpr* known, int index) {
  if (known == nullptr || ctx.breakFlag != 0 || ctx.returnFlag != 0) {
    return EvalExpression(interp, ctx);
  }
  return forms::RunExpression(interp, ctx, *known->arguments[size_t(index)]);
}

// The arguments of a list the forms know, into the slots: each is read
// from its form while the reading stays where the forms say; a number or a
// variable alone goes straight into its slot, the reading state and the
// current value being brought up to date only when something else needs
// them. Returns the count read, -1 on failure, or -2 when the plain path is
// to read on from where the list was left (the count read in *count).
int KnownArguments(Interpreter& interp, ExecContext& ctx, const forms::BuiltinExpr& known,
                   vellvar* slots, int* count) {
  const int n = int(known.arguments.size());
  const forms::Chain* stale = nullptr;  // read straight, the state not yet past it
  for (int i = 0; i < n; ++i) {
    const forms::Chain& argument = *known.arguments[size_t(i)];
    if (ctx.breakFlag == 0 && ctx.returnFlag == 0 &&
        forms::ReadArgumentInto(interp, ctx, argument, slots[i])) {
      stale = &argument;
      *count = i + 1;
      continue;
    }
    if (stale != nullptr) {
      forms::ReadAgain(ctx, {stale->end.at, false});
      ctx.value = slots[i - 1];
      stale = nullptr;
    }
    if (EvalArgument(interp, ctx, &known, i) == ResultFailed) return -1;
    slots[i] = ctx.value;  // a copy: the last argument stays the current value
    *count = i + 1;
    if (!forms::ReadsOn(ctx, argument.end)) return -2;
    forms::ReadAgain(ctx, {argument.end.at, false});  // the , or ) after it, read
  }
  if (stale != nullptr) {
    forms::ReadAgain(ctx, {stale->end.at, false});
    ctx.value = slots[n - 1];
  }
  return n;
}

}  // namespace

int ParseArguments(Interpreter& interp, ExecContext& ctx, vellvar* slots, int maxCount) {
  // A list the forms know is read from them for as long as the reading
  // stays where they say: the same tokens, without reading them again.
  const forms::BuiltinExpr* known = KnownList(ctx, slots, maxCount);
  int t;
  int count = 0;
  if (known != nullptr) {
    forms::ReadAgain(ctx, {known->openAt, false});
    const int r = KnownArguments(interp, ctx, *known, slots, &count);
    if (r != -2) return r;
    // The plain path reads the token after the last argument.
    t = NextToken(interp, ctx);
    if (t == TokError) return -1;
    if (t == TokCloseParen) return count;
    if (t != TokComma) {
      UngetToken(ctx);
      return count;
    }
    if (count >= maxCount) {
      interp.runState = ErrorSyntax;
      return -1;
    }
  } else {
    t = NextToken(interp, ctx);
    if (t == TokError) return -1;
    if (t != TokOpenParen) UngetToken(ctx);  // the list may come without parentheses
  }
  for (;;) {
    if (maxCount > 0) {
      vellvar& slot = slots[count];
      if (TakesValue(slot)) {
        if (EvalExpression(interp, ctx) == ResultFailed) return -1;
        slot = ctx.value;  // a copy: the last argument stays the current value
      } else if (ParseReference(interp, ctx, nullptr, &slot) != ResultDone) {
        return -1;
      }
      ++count;
    }
    t = NextToken(interp, ctx);
    if (t == TokError) return -1;
    if (t == TokCloseParen) return count;
    if (t == TokComma) {
      if (count >= maxCount) {
        interp.runState = ErrorSyntax;
        return -1;
      }
      continue;
    }
    UngetToken(ctx);
    return count;
  }
}

HandlerResult AccessComponentMember(Interpreter& interp, ExecContext& ctx, MemberAccess mode,
                                    int slot, int memberCode) {
  if (memberCode == MemberPrint) return SendComponentValues(interp, ctx, slot);
  if (interp.components == nullptr) return Fail(interp, ErrorUndefined);
  vellvar args[kMemberArgumentSlots] = {vellvar(0), vellvar(0), vellvar(0)};
  // Create, delete, methods and events are always calls.
  if (memberCode >= MemberCreate) mode = MemberWrite;
  HandlerResult r;
  if (mode == MemberWrite) {
    int wanted = interp.components->MemberArgumentCount(memberCode);
    if (wanted < 0) wanted = 0;
    if (wanted > kMemberArgumentSlots) wanted = kMemberArgumentSlots;
    if (memberCode >= kFirstEventMember) args[0] = 1;  // an event takes the name of its SUB as text
    if (ParseArguments(interp, ctx, args, wanted) != wanted) return ResultFailed;
    r = interp.components->SetComponentMember(interp, ctx, slot, memberCode, args);
  } else {
    r = interp.components->GetComponentMember(interp, ctx, slot, memberCode, args);
  }
  return r == ResultFailed ? ResultFailed : ResultDone;
}

HandlerResult SendComponentValues(Interpreter& interp, ExecContext& ctx, int slot) {
  for (;;) {
    if (EvalExpression(interp, ctx) == ResultFailed) return ResultFailed;
    SendComponentPrint(interp, slot, ctx.value);
    const int t = NextToken(interp, ctx);
    if (t == TokError) return ResultFailed;
    if (t != TokComma) {
      UngetToken(ctx);
      return ResultDone;
    }
  }
}

}  // namespace vell
