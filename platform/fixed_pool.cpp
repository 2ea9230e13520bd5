#include "platform/fixed_pool.h"

#include <sys/mman.h>

#include <new>

#include "platform/memory.h"

namespace vell {

// The head of a slab; its blocks follow. A slab's address is a multiple of
// its size, so a block finds its slab by clearing the low bits.
struct FixedPool::Slab {
  Slab* prev;  // the slabs with free blocks (partial_)
  Slab* next;
  Slab* allPrev;  // every slab of the pool
  Slab* allNext;
  void* freeList;     // blocks given back, each holding the next one's address
  std::size_t live;   // blocks taken
  std::size_t fresh;  // blocks from this index on were never handed out
  bool listed;        // in partial_
};

namespace {

constexpr std::size_t kHeadBytes = (sizeof(void*) * 8 + 15) / 16 * 16;

std::byte* FirstBlock(void* slab) { return static_cast<std::byte*>(slab) + kHeadBytes; }

}  // namespace

FixedPool::FixedPool(std::size_t blockSize, std::size_t keptEmpty)
    : blockSize_(blockSize),
      blocksPerSlab_((kSlabBytes - kHeadBytes) / blockSize),
      keptEmpty_(keptEmpty < 1 ? 1 : keptEmpty) {
  static_assert(sizeof(Slab) <= kHeadBytes);
}

FixedPool::~FixedPool() {
  // Kept empty slabs are not charged: they go without a refund.
  while (spare_ != nullptr) {
    Slab* slab = spare_;
    spare_ = slab->next;
    UnmapSlab(slab);
  }
  while (all_ != nullptr) FreeSlab(all_);
}

FixedPool::Slab* FixedPool::NewSlab() {
  ChargeMemory(kSlabBytes);
  // Twice the size, then the unaligned ends are given back.
  void* mapped =
      ::mmap(nullptr, 2 * kSlabBytes, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
  if (mapped == MAP_FAILED) {
    RefundMemory(kSlabBytes);
    throw std::bad_alloc();
  }
  const auto start = reinterpret_cast<uintptr_t>(mapped);
  const uintptr_t aligned = (start + kSlabBytes - 1) & ~(uintptr_t(kSlabBytes) - 1);
  if (aligned > start) ::munmap(mapped, aligned - start);
  const uintptr_t end = start + 2 * kSlabBytes;
  if (end > aligned + kSlabBytes) {
    ::munmap(reinterpret_cast<void*>(aligned + kSlabBytes), end - (aligned + kSlabBytes));
  }
  auto* slab = reinterpret_cast<Slab*>(aligned);
  *slab = Slab{nullptr, nullptr, nullptr, all_, nullptr, 0, 0, false};
  if (all_ != nullptr) all_->allPrev = slab;
  all_ = slab;
  ++slabs_;
  return slab;
}

void FixedPool::UnmapSlab(Slab* slab) noexcept {
  if (slab->allPrev != nullptr) slab->allPrev->allNext = slab->allNext;
  if (slab->allNext != nullptr) slab->allNext->allPrev = slab->allPrev;
  if (all_ == slab) all_ = slab->allNext;
  ::munmap(slab, kSlabBytes);
  --slabs_;
}

void FixedPool::FreeSlab(Slab* slab) noexcept {
  UnmapSlab(slab);
  RefundMemory(kSlabBytes);
}

void FixedPool::Unlink(Slab* slab) noexcept {
  if (!slab->listed) return;
  if (slab->prev != nullptr) slab->prev->next = slab->next;
  if (slab->next != nullptr) slab->next->prev = slab->prev;
  if (partial_ == slab) partial_ = slab->next;
  slab->prev = slab->next = nullptr;
  slab->listed = false;
}

void FixedPool::PushPartial(Slab* slab) noexcept {
  slab->prev = nullptr;
  slab->next = partial_;
  if (partial_ != nullptr) partial_->prev = slab;
  partial_ = slab;
  slab->listed = true;
}

void* FixedPool::Take() {
  Slab* slab = partial_;
  if (slab == nullptr) {
    if (spare_ != nullptr) {
      ChargeMemory(kSlabBytes);
      slab = spare_;
      spare_ = slab->next;
      slab->next = nullptr;
      --spares_;
    } else {
      slab = NewSlab();
    }
    PushPartial(slab);
  }
  void* block;
  if (slab->freeList != nullptr) {
    block = slab->freeList;
    slab->freeList = *static_cast<void**>(block);
  } else {
    block = FirstBlock(slab) + slab->fresh * blockSize_;
    ++slab->fresh;
  }
  ++slab->live;
  ++taken_;
  if (slab->freeList == nullptr && slab->fresh == blocksPerSlab_) Unlink(slab);  // full
  return block;
}

void FixedPool::Give(void* block) noexcept {
  auto* slab =
      reinterpret_cast<Slab*>(reinterpret_cast<uintptr_t>(block) & ~(uintptr_t(kSlabBytes) - 1));
  *static_cast<void**>(block) = slab->freeList;
  slab->freeList = block;
  --slab->live;
  --taken_;
  if (!slab->listed) PushPartial(slab);
  if (slab->live != 0) return;
  Unlink(slab);
  if (spares_ < keptEmpty_) {
    slab->freeList = nullptr;
    slab->fresh = 0;
    slab->next = spare_;
    spare_ = slab;
    ++spares_;
    RefundMemory(kSlabBytes);
  } else {
    FreeSlab(slab);
  }
}

}  // namespace vell
