// Zero-filled (or, where the caller writes everything it reads, plain)
// blocks for values and nodes. A failed allocation throws
// std::bad_alloc.
#pragma once

#include <cstddef>

namespace vell {

void* ZeroAlloc(std::size_t bytes);
// A block whose contents are not cleared; freed with ZeroFree like the others.
void* PlainAlloc(std::size_t bytes);
void ZeroFree(void* block) noexcept;

}  // namespace vell
