// The member that CHECKBOX and RADIOBUTTON have beyond the members every
// control shares: CHECKED.
#pragma once

#include <span>

#include "components/widgets/component_type.h"

namespace vell {

std::span<const MemberBinding> CheckMembers();

}  // namespace vell
