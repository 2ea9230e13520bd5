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

}  // namespace

int ParseArguments(Interpreter& interp, ExecContext& ctx, vellvar* slots, int maxCount) {
  // A list the forms know is read from them for as long as the reading
  // stays where they say: the same tokens, without reading them again.
  const forms::BuiltinExpr* known = KnownList(ctx, slots, maxCount);
  int t;
  if (known != nullptr) {
    forms::ReadAgain(ctx, {known->openAt, false});
  } else {
    t = NextToken(interp, ctx);
    if (t == TokError) return -1;
    if (t != TokOpenParen) UngetToken(ctx);  // the list may come without parentheses
  }
  int count = 0;
  for (;;) {
    if (maxCount > 0) {
      vellvar& slot = slots[count];
      if (TakesValue(slot)) {
        if (EvalArgument(interp, ctx, known, count) == ResultFailed) return -1;
        slot = ctx.value;  // a copy: the last argument stays the current value
      } else if (ParseReference(interp, ctx, nullptr, &slot) != ResultDone) {
        return -1;
      }
      ++count;
    }
    if (known != nullptr && forms::ReadsOn(ctx, known->arguments[size_t(count - 1)]->end)) {
      // The , or ) after the argument, read.
      forms::ReadAgain(ctx, {known->arguments[size_t(count - 1)]->end.at, false});
      t = size_t(count) == known->arguments.size() ? TokCloseParen : TokComma;
    } else {
      known = nullptr;
      t = NextToken(interp, ctx);
      if (t == TokError) return -1;
    }
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
