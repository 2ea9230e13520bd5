#include "platform/memory.h"

#include <malloc.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <new>

namespace vell {

namespace {

std::size_t DefaultBudget() {
  constexpr std::size_t kMost = std::size_t(8) << 30;
  const long pages = ::sysconf(_SC_PHYS_PAGES);
  const long pageSize = ::sysconf(_SC_PAGESIZE);
  if (pages <= 0 || pageSize <= 0) return kMost;
  return std::min(kMost, std::size_t(pages) / 2 * std::size_t(pageSize));
}

// Blocks of up to this size come from the C library's heap rather than from
// mappings of their own, and the heap keeps up to this much free memory at
// its top: a text of hundreds of kilobytes made and freed again and again
// reuses the same memory instead of going back to the kernel and being
// faulted in anew each time.
constexpr int kMappedBlockSize = 32 << 20;
constexpr int kKeptFreeTop = 64 << 20;

// Set once when the process starts.
[[maybe_unused]] const bool allocatorTuned = [] {
  ::mallopt(M_MMAP_THRESHOLD, kMappedBlockSize);
  ::mallopt(M_TRIM_THRESHOLD, kKeptFreeTop);
  return true;
}();

std::size_t inUse = 0;
std::size_t budget = 0;  // set on first use

std::size_t Budget() {
  if (budget == 0) budget = DefaultBudget();
  return budget;
}

void* Account(void* block) {
  if (block == nullptr) throw std::bad_alloc();
  inUse += ::malloc_usable_size(block);
  return block;
}

void CheckBudget(std::size_t bytes) {
  const std::size_t most = Budget();
  if (bytes > most || inUse > most - bytes) throw std::bad_alloc();
}

}  // namespace

void* ZeroAlloc(std::size_t bytes) {
  if (bytes == 0) bytes = 1;
  CheckBudget(bytes);
  return Account(std::calloc(1, bytes));
}

void* PlainAlloc(std::size_t bytes) {
  if (bytes == 0) bytes = 1;
  CheckBudget(bytes);
  return Account(std::malloc(bytes));
}

void ZeroFree(void* block) noexcept {
  if (block == nullptr) return;
  inUse -= ::malloc_usable_size(block);
  std::free(block);
}

void ChargeMemory(std::size_t bytes) {
  CheckBudget(bytes);
  inUse += bytes;
}

void RefundMemory(std::size_t bytes) noexcept { inUse -= bytes; }

std::size_t MemoryInUse() { return inUse; }
void SetMemoryBudget(std::size_t bytes) { budget = bytes == 0 ? 1 : bytes; }
std::size_t MemoryBudget() { return Budget(); }

}  // namespace vell
