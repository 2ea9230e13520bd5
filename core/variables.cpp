// Names: lookup, references, assignment and SUB calls.
#include "variables.h"

#include "interpreter.h"

int FindVariable(Interpreter& interp, ExecContext& ctx) { ctx.foundEntry = nullptr; interp.runState = 5; return 0; }
int AccessVariable(Interpreter& interp, ExecContext&, vellarray*) { interp.runState = 5; return 1; }
int CallSub(Interpreter& interp, ExecContext&, vellarray*) { interp.runState = 5; return 1; }
int PushArguments(Interpreter& interp, ExecContext&) { interp.runState = 5; return 1; }
int BindParameters(Interpreter& interp, ExecContext&) { interp.runState = 5; return -1; }
int CountParameters(Interpreter& interp, ExecContext&) { interp.runState = 5; return -1; }
int ParseReference(Interpreter& interp, ExecContext&, vellvar*, vellvar*) { interp.runState = 5; return 1; }
