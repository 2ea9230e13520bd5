#include "library/library_builtins.h"

#include "library/commands.h"
#include "library/directives.h"
#include "library/function_families.h"
#include "library/list_file_builtins.h"

namespace vell {

void RegisterLibraryBuiltins(Interpreter& interp) {
  // The order matters only where two families would claim one name: the
  // family registered first keeps it.
  RegisterMathFunctions(interp);
  RegisterStringFunctions(interp);
  RegisterListFunctions(interp);
  RegisterDateFunctions(interp);
  RegisterFileKeywords(interp);
  RegisterDatabaseKeywords(interp);
  // The commands and the directives share one dispatcher, commands first.
  RegisterCommands(interp);
  RegisterDirectives(interp);
}

}  // namespace vell
