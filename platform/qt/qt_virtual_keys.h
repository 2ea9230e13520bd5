// Qt's key codes as the Windows virtual-key codes that programs see in key
// events (platform/virtual_keys.h names them).
#pragma once

#include <Qt>
#include <cstdint>

class QKeyEvent;

namespace vell::qt {

// The virtual-key code of a Qt key; `modifiers` tells keys of the numeric
// keypad apart. Shifted symbols of a US layout give their key's code ("!" is
// the 1 key). 0 for a key that has no virtual-key code.
int32_t VirtualKeyOf(int qtKey, Qt::KeyboardModifiers modifiers);
int32_t VirtualKeyOf(const QKeyEvent& event);

}  // namespace vell::qt
