// The expression evaluator: five levels, evaluating while it parses.
#pragma once

#include "exec_context.h"

struct Interpreter;

int EvalExpression(Interpreter& interp, ExecContext& ctx);
int EvalRelation(Interpreter& interp, ExecContext& ctx);
int EvalAdditive(Interpreter& interp, ExecContext& ctx);
int EvalMultiplicative(Interpreter& interp, ExecContext& ctx);
int EvalPrimary(Interpreter& interp, ExecContext& ctx);
