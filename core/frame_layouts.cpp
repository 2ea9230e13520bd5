#include "core/frame_layouts.h"

namespace vell {

const FrameLayout* EmptyFrame() {
  static const FrameLayout* const empty = new FrameLayout();
  return empty;
}

const FrameLayout* Extend(const FrameLayout* frame, std::u16string_view name) {
  std::unique_ptr<FrameLayout>& next = frame->longer[std::u16string(name)];
  if (next == nullptr) {
    next = std::make_unique<FrameLayout>();
    next->parent = frame;
    next->size = frame->size + 1;
  }
  return next.get();
}

}  // namespace vell
