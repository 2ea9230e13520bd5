#include "core/interpreter.h"
#include "library/function_families.h"

namespace vell {

void RegisterStringFunctions(Interpreter& interp) { (void)interp; }

}  // namespace vell
