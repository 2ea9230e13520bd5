// Zero-filled blocks for values and nodes. A failed allocation throws
// std::bad_alloc.
#pragma once

#include <cstddef>

namespace vell {

void* ZeroAlloc(std::size_t bytes);
void ZeroFree(void* block) noexcept;

}  // namespace vell
