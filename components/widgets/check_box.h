// The members that CHECKBOX and RADIOBUTTON have beyond the members every
// control shares (set and get as for the text box: false for a member that
// is not their own).
#pragma once

#include <cstdint>

class QAbstractButton;

namespace vell {
class vellvar;
}

namespace vell::widgets {

bool SetCheckMember(QAbstractButton& box, int32_t member, const vellvar& arg);
bool GetCheckMember(QAbstractButton& box, int32_t member, vellvar& result);

}  // namespace vell::widgets
