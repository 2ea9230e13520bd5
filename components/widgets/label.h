// The LABEL members beyond the members every control shares (set and get
// as for the text box: false for a member that is not its own).
#pragma once

#include <cstdint>

class QLabel;

namespace vell {
class vellvar;
}

namespace vell::widgets {

// "Label", sized to it.
void SetUpNewLabel(QLabel& label);

bool SetLabelMember(QLabel& label, int32_t member, const vellvar& arg);
bool GetLabelMember(QLabel& label, int32_t member, vellvar& result);

}  // namespace vell::widgets
