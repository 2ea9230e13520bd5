// Names: lookup, references, assignment and SUB calls.
#pragma once

#include "core/exec_context.h"

namespace vell {

struct Interpreter;

int FindVariable(Interpreter& interp, ExecContext& ctx);
HandlerResult AccessVariable(Interpreter& interp, ExecContext& ctx, vellarray* entry);
HandlerResult CallSub(Interpreter& interp, ExecContext& ctx, vellarray* entry);
HandlerResult PushArguments(Interpreter& interp, ExecContext& ctx);
int BindParameters(Interpreter& interp, ExecContext& ctx);
int CountParameters(Interpreter& interp, ExecContext& ctx);
HandlerResult ParseReference(Interpreter& interp, ExecContext& ctx, vellvar* nameOut,
                             vellvar* textOut);

}  // namespace vell
