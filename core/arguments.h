// The argument parser every built-in uses, and the bridge from a reference
// that ends at a component member to a component request.
#pragma once

#include "core/exec_context.h"

namespace vell {

struct Interpreter;

// Slots preset to integer 0 take a value, any other number a reference text.
// Returns the number of arguments parsed, or -1 (code in runState).
int ParseArguments(Interpreter& interp, ExecContext& ctx, vellvar* slots, int maxCount);
// How a reference reaches a component member.
enum MemberAccess : int {
  MemberRead = 1,   // its value is read
  MemberWrite = 2,  // it is assigned, or called with arguments
};
HandlerResult AccessComponentMember(Interpreter& interp, ExecContext& ctx, MemberAccess mode,
                                    int slot, int memberCode);
HandlerResult SendComponentValues(Interpreter& interp, ExecContext& ctx, int slot);

}  // namespace vell
