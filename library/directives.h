// The directives #SUBCLEAR, #SUBTOP, #COMPONENT and #DB: built-in names that
// act on the name tables instead of computing a value.
#pragma once

#include "core/exec_context.h"
#include "core/interpreter.h"

namespace vell {

// Registers the four directives after the names registered before (they
// follow the commands).
void RegisterDirectives(Interpreter& interp);

HandlerResult DirSubClear(Interpreter& interp, ExecContext& ctx);
HandlerResult DirSubTop(Interpreter& interp, ExecContext& ctx);
HandlerResult DirComponent(Interpreter& interp, ExecContext& ctx);
HandlerResult DirDb(Interpreter& interp, ExecContext& ctx);

// Prints one line per node of the chain that starts at first, each node's
// descendants (one level deeper) before its own line. Returns 0.
int DumpArrayTree(Interpreter& interp, ExecContext& ctx, vellarray* first, int depth);

}  // namespace vell
