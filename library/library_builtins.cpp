#include "library/library_builtins.h"

#include "core/interpreter.h"
#include "library/function_families.h"

namespace vell {

void RegisterLibraryBuiltins(Interpreter& interp) {
  // The order matters only where two families would claim one name: the
  // family registered first keeps it.
  RegisterMathFunctions(interp);
  RegisterStringFunctions(interp);
  RegisterDateFunctions(interp);
}

}  // namespace vell
