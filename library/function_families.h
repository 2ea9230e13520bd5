// Registration of the built-in function families: math, string and date.
#pragma once

struct Interpreter;

namespace vell {

void RegisterMathFunctions(Interpreter& interp);
void RegisterStringFunctions(Interpreter& interp);
void RegisterDateFunctions(Interpreter& interp);

}  // namespace vell
