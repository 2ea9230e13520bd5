// The names a running text's frame of locals holds, in order, as one
// pointer: every frame that binds the same names in the same order (the
// same SUB called again, at any depth) has the same layout, so a name found
// in a frame at some offset is found there again while the frame's layout
// is that one. Layouts are made once and kept for the whole process.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>

namespace vell {

struct FrameLayout {
  const FrameLayout* parent = nullptr;  // the frame without its last local
  int32_t size = 0;                     // locals in the frame
  // The frames one local longer, by that local's name ("" for a nameless one).
  mutable std::unordered_map<std::u16string, std::unique_ptr<FrameLayout>> longer;
};

// The empty frame.
const FrameLayout* EmptyFrame();
// The frame one local longer, the new local named `name`.
const FrameLayout* Extend(const FrameLayout* frame, std::u16string_view name);

}  // namespace vell
