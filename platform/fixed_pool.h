// Blocks of one fixed size, carved from large aligned slabs instead of taken
// one by one from the C library (which adds a header to every block). A slab
// goes back to the system once all its blocks are free, but for a number of
// empty slabs kept for the next blocks, so that data made and freed again
// and again is not mapped and faulted in anew each time. Slabs in use count
// against the memory budget (memory.h), kept empty ones do not: a pool that
// would pass it throws std::bad_alloc.
#pragma once

#include <cstddef>
#include <cstdint>

namespace vell {

class FixedPool {
 public:
  // blockSize: a multiple of 8, at least 16; keptEmpty: how many empty
  // slabs stay in the process, at least 1.
  explicit FixedPool(std::size_t blockSize, std::size_t keptEmpty = 1);
  ~FixedPool();  // gives back every slab; blocks still taken become invalid
  FixedPool(const FixedPool&) = delete;
  FixedPool& operator=(const FixedPool&) = delete;

  void* Take();                     // uncleared; throws std::bad_alloc
  void Give(void* block) noexcept;  // a block this pool handed out

  std::size_t BlocksTaken() const { return taken_; }
  std::size_t Slabs() const { return slabs_; }

  static constexpr std::size_t kSlabBytes = std::size_t(256) << 10;

 private:
  struct Slab;
  Slab* NewSlab();
  void UnmapSlab(Slab* slab) noexcept;  // gone, without a refund
  void FreeSlab(Slab* slab) noexcept;
  void Unlink(Slab* slab) noexcept;
  void PushPartial(Slab* slab) noexcept;

  std::size_t blockSize_;
  std::size_t blocksPerSlab_;
  std::size_t keptEmpty_;
  Slab* partial_ = nullptr;  // slabs with free blocks, most recently freed into first
  Slab* spare_ = nullptr;    // empty slabs kept back (linked by next), not charged
  std::size_t spares_ = 0;
  Slab* all_ = nullptr;      // every slab, the spare one included
  std::size_t taken_ = 0;
  std::size_t slabs_ = 0;
};

}  // namespace vell
