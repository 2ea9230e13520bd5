// The component keywords CREATE, DELETE, SET and THIS, and the member
// requests through which a program reads, writes and calls the members of a
// component. Everything here talks to the window only through host requests
// of kind RequestComponent; nothing touches a widget.
#pragma once

#include "core/interpreter.h"

namespace vell {

// Registers CREATE, DELETE, SET and THIS (after the names registered before)
// and installs the member bridge that sends component requests.
void RegisterComponentKeywords(Interpreter& interp);

HandlerResult ExecCreate(Interpreter& interp, ExecContext& ctx);
HandlerResult ExecDelete(Interpreter& interp, ExecContext& ctx);
HandlerResult ExecSet(Interpreter& interp, ExecContext& ctx);
HandlerResult ExecThis(Interpreter& interp, ExecContext& ctx);

// One component request: slots 0 to 3 get the kind, the operation, the
// component's slot and the member, slots 4 to 6 the three arguments; the
// answer (slot 1 after the send) becomes ctx.value. Both answer ResultDone.
HandlerResult SetComponentMember(Interpreter& interp, ExecContext& ctx, int slot, int memberCode,
                                 const vellvar* args);
HandlerResult GetComponentMember(Interpreter& interp, ExecContext& ctx, int slot, int memberCode,
                                 const vellvar* args);

}  // namespace vell
