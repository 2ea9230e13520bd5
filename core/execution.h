// The interpreter's mutually recursive entry points, declared together:
// running a text runs its statements, statements evaluate expressions, and
// an expression may call a SUB or a built-in that runs a text again.
#pragma once

#include <string>
#include <string_view>

#include "core/codes.h"
#include "core/exec_context.h"

namespace vell {

struct Interpreter;

// Texts (core/executor.cpp).
// Runs a text: an outermost run clears runState and errorReported first; a
// nested run while either is set runs nothing and fails. The caller sets
// interp.routineName before.
HandlerResult RunText(Interpreter& interp, ExecContext* caller, std::u16string_view text);
HandlerResult RunText(Interpreter& interp, ExecContext* caller, SharedText text);
HandlerResult ExecuteText(Interpreter& interp, SharedText text, int32_t localBase);

// Statements (core/executor.cpp, core/statements.cpp).
HandlerResult ExecuteStatement(Interpreter& interp, ExecContext& ctx);
HandlerResult ExecuteKeyword(Interpreter& interp, ExecContext& ctx);
// The statements of a block whose { was read, up to its }.
HandlerResult RunBlock(Interpreter& interp, ExecContext& ctx);

// Expressions, five levels evaluating while they parse (core/expressions.cpp).
HandlerResult EvalExpression(Interpreter& interp, ExecContext& ctx);
// The right side of an assignment whose value is then stored into target.
HandlerResult EvalAssignedValue(Interpreter& interp, ExecContext& ctx, vellvar& target);
HandlerResult EvalRelation(Interpreter& interp, ExecContext& ctx);
HandlerResult EvalAdditive(Interpreter& interp, ExecContext& ctx);
HandlerResult EvalMultiplicative(Interpreter& interp, ExecContext& ctx);
HandlerResult EvalPrimary(Interpreter& interp, ExecContext& ctx);

// Errors of a run.
int ReportError(Interpreter& interp, ExecContext& ctx);
// The message ReportError shows for the current runState; empty for StateExit
// and StateEnd.
std::u16string FormatErrorMessage(const Interpreter& interp, const ExecContext& ctx);

}  // namespace vell
