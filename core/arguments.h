// The argument parser every built-in uses, and the bridge from a reference
// that ends at a component member to a component request.
#pragma once

#include "exec_context.h"

struct Interpreter;

// Slots preset to integer 0 take a value, any other number a reference text.
// Returns the number of arguments parsed, or -1 (code in runState).
int ParseArguments(Interpreter& interp, ExecContext& ctx, vellvar* slots, int maxCount);
int AccessComponentMember(Interpreter& interp, ExecContext& ctx, int mode, int slot, int memberCode);
int SendComponentValues(Interpreter& interp, ExecContext& ctx, int slot);
