// Component variables: the type keywords, each type's member table, building
// a fresh component node for a type, and how many arguments a member call
// takes. Shared by CREATE and #COMPONENT; no Qt.
#pragma once

#include <cstdint>
#include <span>
#include <string_view>

#include "core/codes.h"
#include "core/exec_context.h"

namespace vell {

// The keyword that names a component type ("FORM" ...), or empty for a code
// that is no component type.
std::u16string_view ComponentTypeKeyword(int32_t typeCode);
// The members of a type, in the order in which a component node lists them.
std::span<const MemberCode> ComponentMembers(int32_t typeCode);
// The keyword of a member ("CAPTION" ...), or empty for an unassigned code.
std::u16string_view MemberKeyword(int32_t memberCode);

// Replaces the children of ctx.Node() with the members of the type named by
// typeName (compared case-sensitively with the type keywords), sets the
// node's kind to the type code and its item to 0, and returns the type code.
// An unknown name returns 0 and leaves the node without children, its kind
// and item as they were.
int BuildComponentNode(ExecContext& ctx, std::u16string_view typeName);

// The number of arguments a call of the member takes: 0 to 3 for the
// methods, 1 for every other code (properties and events).
int MemberArgumentCount(int32_t memberCode);

}  // namespace vell
