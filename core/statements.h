// The statement handlers (dispatched by ExecuteKeyword, core/execution.h).
#pragma once

#include <string_view>

#include "core/exec_context.h"

namespace vell {

struct Interpreter;

// The statement keywords, upper-case as the lexer delivers identifiers:
// exactly the words ExecuteKeyword dispatches to the handlers below. Any
// other name that starts a statement begins an expression statement.
inline constexpr std::u16string_view kStatementKeywords[] = {
    u"REM", u"PRINT",  u"IF",  u"ELSEIF", u"ELSE",  u"WHILE", u"FOR",  u"BREAK", u"RETURN",
    u"DIM", u"GLOBAL", u"SUB", u"CALL",   u"INPUT", u"LET",   u"EXIT", u"NEW",   u"END"};

using StatementHandler = HandlerResult (*)(Interpreter& interp, ExecContext& ctx);
// The handler of the statement keyword in ctx's token buffer, or null.
StatementHandler FindStatementKeyword(const ExecContext& ctx);

HandlerResult ExecRem(Interpreter& interp, ExecContext& ctx);
HandlerResult ExecPrint(Interpreter& interp, ExecContext& ctx);
HandlerResult ExecIf(Interpreter& interp, ExecContext& ctx);
// A condition holds when its value, read as an integer, is not 0 (the value
// is converted in place, as every comparison with an integer does).
inline bool ConditionHolds(ExecContext& ctx) {
  ctx.value.ChangeKind(KindInteger);
  return ctx.value.IntValue() != 0;
}
// IF and ELSEIF after their condition, which is in ctx.value (ELSEIF only
// while an IF is pending: ifState not 0).
HandlerResult IfBranch(Interpreter& interp, ExecContext& ctx);
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
