// Running texts and reporting their errors.
#pragma once

#include <string_view>

#include "exec_context.h"

struct Interpreter;

// Runs a text as a nested run (clears runState and errorReported first); the
// caller sets interp.routineName before.
int RunText(Interpreter& interp, ExecContext* caller, std::u16string_view text);
int RunText(Interpreter& interp, ExecContext* caller, SharedText text);
int ExecuteText(Interpreter& interp, SharedText text, int32_t localBase);
int ExecuteStatement(Interpreter& interp, ExecContext& ctx);
int ReportError(Interpreter& interp, ExecContext& ctx);
// The message ReportError shows for the current runState; empty for 12 and 13.
std::u16string FormatErrorMessage(const Interpreter& interp, const ExecContext& ctx);
