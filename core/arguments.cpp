// The argument parser and the component member bridge.
#include "arguments.h"

#include "interpreter.h"

int ParseArguments(Interpreter& interp, ExecContext&, vellvar*, int) { interp.runState = 5; return -1; }
int AccessComponentMember(Interpreter& interp, ExecContext&, int, int, int) { interp.runState = 5; return 1; }
int SendComponentValues(Interpreter& interp, ExecContext&, int) { interp.runState = 5; return 1; }
