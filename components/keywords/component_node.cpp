#include "components/keywords/component_node.h"

#include <algorithm>
#include <array>

namespace vell {

namespace {

// Each member's keyword and argument count, indexed by code; an unassigned
// code has no keyword.
struct MemberEntry {
  std::u16string_view keyword;
  int arguments = 1;
};
constexpr int kMemberCodeLimit = kLastEventMember + 1;
constexpr auto kMembersByCode = [] {
  std::array<MemberEntry, kMemberCodeLimit> table{};
#define VELL_MEMBER_ENTRY(Name, code, keyword, arguments) table[code] = {keyword, arguments};
  VELL_MEMBER_LIST(VELL_MEMBER_ENTRY)
#undef VELL_MEMBER_ENTRY
  return table;
}();

// kFormMembers ... kPrinterDialogMembers, each type's table in node order.
#define VELL_MEMBER_OF_TYPE(Name) Member##Name,
#define VELL_TYPE_MEMBERS(Name, code, keyword, members) \
  constexpr MemberCode k##Name##Members[] = {members(VELL_MEMBER_OF_TYPE)};
VELL_COMPONENT_TYPE_LIST(VELL_TYPE_MEMBERS)
#undef VELL_TYPE_MEMBERS
#undef VELL_MEMBER_OF_TYPE

struct TypeEntry {
  ComponentTypeCode code;
  std::u16string_view keyword;
  std::span<const MemberCode> members;
};

// Indexed by type code minus kFirstComponentType.
constexpr TypeEntry kTypes[] = {
#define VELL_TYPE_ENTRY(Name, code, keyword, members) {Type##Name, keyword, k##Name##Members},
    VELL_COMPONENT_TYPE_LIST(VELL_TYPE_ENTRY)
#undef VELL_TYPE_ENTRY
};
static_assert(std::size(kTypes) == kLastComponentType - kFirstComponentType + 1);
static_assert(std::ranges::all_of(kTypes, [](const TypeEntry& t) {
  return &t - kTypes == t.code - kFirstComponentType;
}));

const TypeEntry* FindType(int32_t typeCode) {
  if (typeCode < kFirstComponentType || typeCode > kLastComponentType) return nullptr;
  return &kTypes[typeCode - kFirstComponentType];
}

}  // namespace

std::u16string_view ComponentTypeKeyword(int32_t typeCode) {
  const TypeEntry* t = FindType(typeCode);
  return t != nullptr ? t->keyword : std::u16string_view();
}

std::span<const MemberCode> ComponentMembers(int32_t typeCode) {
  const TypeEntry* t = FindType(typeCode);
  return t != nullptr ? t->members : std::span<const MemberCode>();
}

std::u16string_view MemberKeyword(int32_t memberCode) {
  if (memberCode < 0 || memberCode >= kMemberCodeLimit) return {};
  return kMembersByCode[memberCode].keyword;
}

int BuildComponentNode(ExecContext& ctx, std::u16string_view typeName) {
  vellarray& node = ctx.Node();
  node.Clear();
  for (int32_t code = kFirstComponentType; code <= kLastComponentType; ++code) {
    const TypeEntry& type = kTypes[code - kFirstComponentType];
    if (type.keyword != typeName) continue;
    node.kind = code;
    node.item = 0;
    for (const MemberCode member : type.members) {
      vellarray* child = node.AppendNamed(vellvar(kMembersByCode[member].keyword));
      child->kind = member;
    }
    return code;
  }
  return TypeNone;
}

int MemberArgumentCount(int32_t memberCode) {
  if (memberCode < 0 || memberCode >= kMemberCodeLimit) return 1;
  return kMembersByCode[memberCode].arguments;
}

}  // namespace vell
