#include "core/interpreter.h"
#include "library/function_families.h"

namespace vell {

void RegisterDateFunctions(Interpreter& interp) { (void)interp; }

}  // namespace vell
