#include "core/interpreter.h"
#include "library/function_families.h"

namespace vell {

void RegisterMathFunctions(Interpreter& interp) { (void)interp; }

}  // namespace vell
