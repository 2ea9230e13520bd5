// Statement dispatch and the statement handlers.
#pragma once

#include "exec_context.h"

struct Interpreter;

int ExecuteKeyword(Interpreter& interp, ExecContext& ctx);
int ExecRem(Interpreter& interp, ExecContext& ctx);
int ExecPrint(Interpreter& interp, ExecContext& ctx);
int ExecIf(Interpreter& interp, ExecContext& ctx);
int ExecElseIf(Interpreter& interp, ExecContext& ctx);
int ExecElse(Interpreter& interp, ExecContext& ctx);
int ExecWhile(Interpreter& interp, ExecContext& ctx);
int ExecFor(Interpreter& interp, ExecContext& ctx);
int ExecBreak(Interpreter& interp, ExecContext& ctx);
int ExecReturn(Interpreter& interp, ExecContext& ctx);
int ExecLet(Interpreter& interp, ExecContext& ctx);
int ExecExit(Interpreter& interp, ExecContext& ctx);
int ExecEnd(Interpreter& interp, ExecContext& ctx);
// Declarations and program statements.
int ExecDim(Interpreter& interp, ExecContext& ctx);
int ExecGlobal(Interpreter& interp, ExecContext& ctx);
int ExecSub(Interpreter& interp, ExecContext& ctx);
int ExecCall(Interpreter& interp, ExecContext& ctx);
int ExecInput(Interpreter& interp, ExecContext& ctx);
int ExecNew(Interpreter& interp, ExecContext& ctx);
