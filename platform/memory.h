// Zero-filled (or, where the caller writes everything it reads, plain)
// blocks for values and nodes. A failed allocation throws std::bad_alloc, and
// so does one that would take the blocks in use past the memory budget: a
// program that keeps growing its data ends with an error instead of taking
// all the machine's memory.
#pragma once

#include <cstddef>
#include <new>

namespace vell {

void* ZeroAlloc(std::size_t bytes);
// A block whose contents are not cleared; freed with ZeroFree like the others.
void* PlainAlloc(std::size_t bytes);
void ZeroFree(void* block) noexcept;

// Memory taken from the system by other means (the slabs of fixed_pool.h),
// counted like the blocks: Charge throws std::bad_alloc when the bytes would
// pass the budget, and counts nothing then.
void ChargeMemory(std::size_t bytes);
void RefundMemory(std::size_t bytes) noexcept;

// Bytes held by blocks in use now, and the budget for them. The budget starts
// at half the machine's memory, at most 8 GiB.
std::size_t MemoryInUse();
void SetMemoryBudget(std::size_t bytes);
std::size_t MemoryBudget();

// An allocator for standard containers of the interpreter's data, whose
// storage then counts against the budget like every other block.
template <typename T>
struct BudgetAllocator {
  using value_type = T;
  BudgetAllocator() = default;
  template <typename U>
  BudgetAllocator(const BudgetAllocator<U>&) noexcept {}
  T* allocate(std::size_t n) {
    if (n > std::size_t(-1) / sizeof(T)) throw std::bad_alloc();
    return static_cast<T*>(PlainAlloc(n * sizeof(T)));
  }
  void deallocate(T* p, std::size_t) noexcept { ZeroFree(p); }
  template <typename U>
  bool operator==(const BudgetAllocator<U>&) const noexcept {
    return true;
  }
};

}  // namespace vell
