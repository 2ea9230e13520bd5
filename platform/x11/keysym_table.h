// The X keysym that a Windows virtual-key code stands for.
#pragma once

#include <cstdint>

namespace vell::x11 {

// The keysym of the key a virtual-key code names (US layout for the
// punctuation keys); 0 for a code without one.
uint32_t KeysymForVirtualKey(int virtualKey);

}  // namespace vell::x11
