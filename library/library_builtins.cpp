#include "library/library_builtins.h"

#include "core/interpreter.h"

namespace vell {

void RegisterLibraryBuiltins(Interpreter& interp) {
  // The order matters only where two families would claim one name: the
  // family registered first keeps it.
  (void)interp;
}

}  // namespace vell
