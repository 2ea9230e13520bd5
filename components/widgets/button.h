// The BUTTON members beyond the members every control shares (set and get
// as for the text box: false for a member that is not its own).
#pragma once

#include <cstdint>

namespace vell {
class vellvar;
}

namespace vell::widgets {

class TVellButton;

bool SetButtonMember(TVellButton& button, int32_t member, const vellvar& arg);
bool GetButtonMember(TVellButton& button, int32_t member, vellvar& result);

}  // namespace vell::widgets
