// The argument parser every built-in uses, and the bridge from a reference
// that ends at a component member to a component request.
#include "core/arguments.h"

#include "core/execution.h"
#include "core/host_request.h"
#include "core/interpreter_state.h"
#include "core/lexer.h"
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

}  // namespace

int ParseArguments(Interpreter& interp, ExecContext& ctx, vellvar* slots, int maxCount) {
  int t = NextToken(interp, ctx);
  if (t == TokError) return -1;
  if (t != TokOpenParen) UngetToken(ctx);  // the list may come without parentheses
  int count = 0;
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
