#include "tests/support/registered_names.h"

#include <algorithm>
#include <memory>

#include "components/keywords/component_keywords.h"
#include "components/keywords/component_node.h"
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

std::vector<ComponentTypeNames> ComponentTypes() {
  std::vector<ComponentTypeNames> types;
  for (int32_t code = kFirstComponentType; code <= kLastComponentType; ++code) {
    ComponentTypeNames type{std::u16string(ComponentTypeKeyword(code)), {}};
    for (const MemberCode member : ComponentMembers(code)) {
      type.members.emplace_back(MemberKeyword(member));
    }
    types.push_back(std::move(type));
  }
  return types;
}

}  // namespace vell::test
