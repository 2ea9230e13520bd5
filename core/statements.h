// The statement handlers (dispatched by ExecuteKeyword, core/execution.h).
#pragma once

#include "core/exec_context.h"

namespace vell {

struct Interpreter;

using StatementHandler = HandlerResult (*)(Interpreter& interp, ExecContext& ctx);
// The handler of the statement keyword in ctx's token buffer, or null.
StatementHandler FindStatementKeyword(const ExecContext& ctx);

HandlerResult ExecRem(Interpreter& interp, ExecContext& ctx);
HandlerResult ExecPrint(Interpreter& interp, ExecContext& ctx);
HandlerResult ExecIf(Interpreter& interp, ExecContext& ctx);
// IF and ELSEIF after their condition, which is in ctx.value; ELSEIF first
// checks (false: a syntax error) that an IF is pending.
HandlerResult IfBranch(Interpreter& interp, ExecContext& ctx);
bool ElseIfPending(Interpreter& interp, const ExecContext& ctx);
HandlerResult ElseIfBranch(Interpreter& interp, ExecContext& ctx);
HandlerResult ExecElseIf(Interpreter& interp, ExecContext& ctx);
HandlerResult ExecElse(Interpreter& interp, ExecContext& ctx);
HandlerResult ExecWhile(Interpreter& interp, ExecContext& ctx);
HandlerResult ExecFor(Interpreter& interp, ExecContext& ctx);
HandlerResult ExecBreak(Interpreter& interp, ExecContext& ctx);
HandlerResult ExecReturn(Interpreter& interp, ExecContext& ctx);
HandlerResult ExecLet(Interpreter& interp, ExecContext& ctx);
HandlerResult ExecExit(Interpreter& interp, ExecContext& ctx);
HandlerResult ExecEnd(Interpreter& interp, ExecContext& ctx);
// Declarations and program statements.
HandlerResult ExecDim(Interpreter& interp, ExecContext& ctx);
HandlerResult ExecGlobal(Interpreter& interp, ExecContext& ctx);
HandlerResult ExecSub(Interpreter& interp, ExecContext& ctx);
HandlerResult ExecCall(Interpreter& interp, ExecContext& ctx);
HandlerResult ExecInput(Interpreter& interp, ExecContext& ctx);
HandlerResult ExecNew(Interpreter& interp, ExecContext& ctx);

}  // namespace vell
