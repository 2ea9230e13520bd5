// DIM, GLOBAL, SUB, CALL, INPUT and NEW.
#include "interpreter.h"
#include "statements.h"

int ExecDim(Interpreter& interp, ExecContext&) { interp.runState = 5; return 1; }
int ExecGlobal(Interpreter& interp, ExecContext&) { interp.runState = 5; return 1; }
int ExecSub(Interpreter& interp, ExecContext&) { interp.runState = 5; return 1; }
int ExecCall(Interpreter& interp, ExecContext&) { interp.runState = 5; return 1; }
int ExecInput(Interpreter& interp, ExecContext&) { interp.runState = 5; return 1; }
int ExecNew(Interpreter& interp, ExecContext&) { interp.runState = 5; return 1; }
