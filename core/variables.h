// Names: lookup, references, assignment and SUB calls.
#pragma once

#include "core/exec_context.h"

namespace vell {

struct Interpreter;

int FindVariable(Interpreter& interp, ExecContext& ctx);
int AccessVariable(Interpreter& interp, ExecContext& ctx, vellarray* entry);
int CallSub(Interpreter& interp, ExecContext& ctx, vellarray* entry);
int PushArguments(Interpreter& interp, ExecContext& ctx);
int BindParameters(Interpreter& interp, ExecContext& ctx);
int CountParameters(Interpreter& interp, ExecContext& ctx);
int ParseReference(Interpreter& interp, ExecContext& ctx, vellvar* nameOut, vellvar* textOut);

}  // namespace vell
