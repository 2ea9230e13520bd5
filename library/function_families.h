// Registration of the built-in function families: math, string and date.
#pragma once

namespace vell {

struct Interpreter;

void RegisterMathFunctions(Interpreter& interp);
void RegisterStringFunctions(Interpreter& interp);
void RegisterDateFunctions(Interpreter& interp);

}  // namespace vell
