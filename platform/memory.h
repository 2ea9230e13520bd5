// Zero-filled (or, where the caller writes everything it reads, plain)
// blocks for values and nodes. A failed allocation throws std::bad_alloc, and
// so does one that would take the blocks in use past the memory budget: a
// program that keeps growing its data ends with an error instead of taking
// all the machine's memory.
#pragma once

#include <cstddef>

namespace vell {

void* ZeroAlloc(std::size_t bytes);
// A block whose contents are not cleared; freed with ZeroFree like the others.
void* PlainAlloc(std::size_t bytes);
void ZeroFree(void* block) noexcept;

// Bytes held by blocks in use now, and the budget for them. The budget starts
// at half the machine's memory, at most 8 GiB.
std::size_t MemoryInUse();
void SetMemoryBudget(std::size_t bytes);
std::size_t MemoryBudget();

}  // namespace vell
