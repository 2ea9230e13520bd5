#include "tests/support/registered_names.h"

#include <algorithm>
#include <memory>
#include <string_view>

#include "components/keywords/component_keywords.h"
#include "core/component_list.h"
#include "core/interpreter_state.h"
#include "core/statements.h"
#include "library/library_builtins.h"

namespace vell::test {

std::vector<std::u16string> StatementKeywords() {
  return {std::begin(kStatementKeywords), std::end(kStatementKeywords)};
}

std::vector<std::u16string> BuiltinNames() {
  const auto interp = std::make_unique<Interpreter>();
  RegisterLibraryBuiltins(*interp);
  RegisterComponentKeywords(*interp);
  std::vector<std::u16string> names;
  for (const auto& entry : interp->builtins) names.push_back(entry.first);
  std::sort(names.begin(), names.end());
  return names;
}

// Read from the one list of types and members that the interpreter's member
// codes, keywords and tables are made from.
std::vector<ComponentTypeNames> ComponentTypes() {
  // Each member's keyword, by its name in the list.
  struct MemberKeywords {
#define VELL_MEMBER_FIELD(Name, code, keyword, arguments) std::u16string_view Name = keyword;
    VELL_MEMBER_LIST(VELL_MEMBER_FIELD)
#undef VELL_MEMBER_FIELD
  };
  static constexpr MemberKeywords kKeyword{};
#define VELL_MEMBER_NAME(Name) std::u16string(kKeyword.Name),
#define VELL_TYPE_NAMES(Name, code, keyword, members) {keyword, {members(VELL_MEMBER_NAME)}},
  return {VELL_COMPONENT_TYPE_LIST(VELL_TYPE_NAMES)};
#undef VELL_TYPE_NAMES
#undef VELL_MEMBER_NAME
}

}  // namespace vell::test
