// Names: lookup, references, assignment and SUB calls.
#pragma once

#include <string_view>

#include "core/codes.h"
#include "core/exec_context.h"

namespace vell {

struct Interpreter;

// The entry a name stands for (innermost local, then global), or null.
vellarray* FindName(Interpreter& interp, std::u16string_view name);
int FindVariable(Interpreter& interp, ExecContext& ctx);
HandlerResult AccessVariable(Interpreter& interp, ExecContext& ctx, vellarray* entry);
HandlerResult CallSub(Interpreter& interp, ExecContext& ctx, vellarray* entry);
HandlerResult PushArguments(Interpreter& interp, ExecContext& ctx);
int BindParameters(Interpreter& interp, ExecContext& ctx);
int CountParameters(Interpreter& interp, ExecContext& ctx);
HandlerResult ParseReference(Interpreter& interp, ExecContext& ctx, vellvar* nameOut,
                             vellvar* textOut);

// The steps of a reference and of a SUB call, one by one, for the text's
// remembered forms, which take them in the same order as the calls above
// but know the tokens in between.

// Stores ctx.value (or the whole node in node mode) into the reference's end.
HandlerResult StoreNodeAssigned(ExecContext& ctx, vellarray* cur);
inline HandlerResult StoreAssigned(ExecContext& ctx, vellarray* cur) {
  if (ctx.nodeMode) return StoreNodeAssigned(ctx, cur);
  cur->kind = NodeVariable;
  cur->item = ctx.value;  // the value stays for a chained assignment
  return ResultDone;
}

enum WalkMode { WalkRead, WalkMember, WalkAssign };
// Where a reference walk stands: the node reached (held while indexes and
// right sides are evaluated) and the last component's slot on the way.
struct ReferenceWalk {
  vellarray* cur = nullptr;
  NodeRef hold;
  WalkMode mode = WalkRead;
  int componentSlot = -1;
};
// At the found entry: THIS and the last node become it.
void StartWalk(Interpreter& interp, ReferenceWalk& walk, vellarray* entry);
// Before each token the walk reads, and after the last: a component on the way.
void NoteComponent(ReferenceWalk& walk);
// An index whose value is in ctx.value, and a member by name.
void StepIndexValue(Interpreter& interp, ExecContext& ctx, ReferenceWalk& walk);
void StepMember(Interpreter& interp, ReferenceWalk& walk, const vellvar& name);
// Reads the ] after an index.
HandlerResult CloseIndex(Interpreter& interp, ExecContext& ctx);
// Reads the rest of the walk's steps up to = or the token after the reference.
HandlerResult WalkSteps(Interpreter& interp, ExecContext& ctx, ReferenceWalk& walk);
// The walk's end: assigned (after its =) or read.
HandlerResult StoreIntoWalk(Interpreter& interp, ExecContext& ctx, ReferenceWalk& walk);
HandlerResult ReadWalk(Interpreter& interp, ExecContext& ctx, ReferenceWalk& walk);

// A SUB call: begun (the stack checked, the local count and THIS kept),
// its arguments pushed one by one, then its text run.
struct SubCall {
  NodeRef sub;
  int32_t savedCount = 0;
  NodeRef savedThis;
};
HandlerResult BeginSubCall(Interpreter& interp, SubCall& call, vellarray* entry);
// Pushes ctx.value as the next argument.
HandlerResult PushArgument(Interpreter& interp, ExecContext& ctx);
// After an argument: a comma and the next ones, up to the ).
HandlerResult ContinueArguments(Interpreter& interp, ExecContext& ctx);
HandlerResult FinishSubCall(Interpreter& interp, ExecContext& ctx, SubCall& call);

}  // namespace vell
