// The argument parser every built-in uses, and the bridge from a reference
// that ends at a component member to a component request.
#include "arguments.h"

#include "expressions.h"
#include "host_request.h"
#include "interpreter.h"
#include "lexer.h"
#include "variables.h"

namespace {

constexpr int kMemberPrint = 97;
constexpr int kMemberArgumentSlots = 3;

}  // namespace

int ParseArguments(Interpreter& interp, ExecContext& ctx, vellvar* slots, int maxCount) {
  int t = NextToken(interp, ctx);
  if (t == TokError) return -1;
  if (t != TokOpenParen) UngetToken(ctx);  // the list may come without parentheses
  int count = 0;
  const vellvar zero(0);
  for (;;) {
    if (maxCount > 0) {
      vellvar& slot = slots[count];
      if (slot == zero) {  // converts the preset in place, as the presets are integers
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

int AccessComponentMember(Interpreter& interp, ExecContext& ctx, int mode, int slot, int memberCode) {
  if (memberCode == kMemberPrint) return SendComponentValues(interp, ctx, slot);
  if (interp.components == nullptr) {
    interp.runState = ErrorUndefined;
    return ResultFailed;
  }
  vellvar args[kMemberArgumentSlots] = {vellvar(0), vellvar(0), vellvar(0)};
  if (memberCode > 80) mode = 2;  // create, delete, methods and events are always calls
  int r;
  if (mode == 2) {
    int wanted = interp.components->MemberArgumentCount(memberCode);
    if (wanted < 0) wanted = 0;
    if (wanted > kMemberArgumentSlots) wanted = kMemberArgumentSlots;
    if (memberCode > 110) args[0] = 1;  // an event takes the name of its SUB as text
    if (ParseArguments(interp, ctx, args, wanted) != wanted) return ResultFailed;
    r = interp.components->SetComponentMember(interp, ctx, slot, memberCode, args);
  } else {
    r = interp.components->GetComponentMember(interp, ctx, slot, memberCode, args);
  }
  return r == ResultFailed ? ResultFailed : ResultDone;
}

int SendComponentValues(Interpreter& interp, ExecContext& ctx, int slot) {
  for (;;) {
    if (EvalExpression(interp, ctx) == ResultFailed) return ResultFailed;
    interp.requestSlots[0].SetItem(vellvar(static_cast<int>(RequestComponent)));
    interp.requestSlots[1].SetItem(vellvar(6));
    interp.requestSlots[2].SetItem(vellvar(slot));
    interp.requestSlots[3].SetItem(vellvar(kMemberPrint));
    interp.requestSlots[4].SetItem(ctx.value);
    SendHostRequest(interp);
    const int t = NextToken(interp, ctx);
    if (t == TokError) return ResultFailed;
    if (t != TokComma) {
      UngetToken(ctx);
      return ResultDone;
    }
  }
}
