// What the member handlers of the caption and text controls share: the
// argument as text, and putting a number, a text or a flag into the result.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "components/widgets/component_type.h"
#include "core/vellvar.h"

namespace vell::widgets {

inline std::u16string Text(const vellvar& arg) { return WideString(arg); }

inline void Put(vellvar& result, int32_t number) { result = vellvar(number); }
inline void Put(vellvar& result, std::u16string_view text) { result = vellvar(text); }
inline void Put(vellvar& result, bool on) { result = vellvar(on ? 1 : 0); }

}  // namespace vell::widgets
