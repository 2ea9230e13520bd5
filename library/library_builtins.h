// Registers the library's built-in names with an interpreter.
#pragma once

namespace vell {

struct Interpreter;

// Every built-in of the library that needs no window, in dispatch order:
// math functions, string and list functions, date functions, file and
// database keywords, commands and directives.
void RegisterLibraryBuiltins(Interpreter& interp);

}  // namespace vell
