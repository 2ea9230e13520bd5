// The names the interpreter registers, for tests that hold a description of
// the language against them: the statement keywords, the built-in names and
// the component types with their members.
#pragma once

#include <string>
#include <vector>

namespace vell::test {

// The statement keywords, in the order of their list.
std::vector<std::u16string> StatementKeywords();

// Every built-in name (functions, commands, directives and the component
// keywords) of an interpreter with the library's built-ins and the component
// keywords registered, in alphabetical order.
std::vector<std::u16string> BuiltinNames();

struct ComponentTypeNames {
  std::u16string type;                  // "FORM" ...
  std::vector<std::u16string> members;  // properties, methods and events, in table order
};

// Every component type with the members a program reaches on it. The one
// place that knows where the member tables live.
std::vector<ComponentTypeNames> ComponentTypes();

}  // namespace vell::test
