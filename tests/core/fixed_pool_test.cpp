// The pool that nodes come from: distinct blocks, slabs given back once all
// their blocks are, and every slab counted against the memory budget.
#include "platform/fixed_pool.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <new>
#include <random>
#include <set>
#include <vector>

#include "platform/memory.h"

using namespace vell;

namespace {

constexpr std::size_t kBlock = 48;

}  // namespace

TEST(FixedPool, BlocksAreDistinctAndSlabsGoBackWhenEmpty) {
  const std::size_t before = MemoryInUse();
  {
    FixedPool pool(kBlock);
    const std::size_t perSlab = FixedPool::kSlabBytes / kBlock;
    std::vector<void*> blocks;
    for (std::size_t i = 0; i < 3 * perSlab; ++i) {
      void* block = pool.Take();
      std::memset(block, int(i & 0xFF), kBlock);
      blocks.push_back(block);
    }
    EXPECT_EQ(std::set<void*>(blocks.begin(), blocks.end()).size(), blocks.size());
    EXPECT_EQ(pool.BlocksTaken(), blocks.size());
    EXPECT_GE(pool.Slabs(), 3u);
    EXPECT_EQ(MemoryInUse(), before + pool.Slabs() * FixedPool::kSlabBytes);
    // No block overlaps another: each still holds what was written into it.
    for (std::size_t i = 0; i < blocks.size(); ++i) {
      const auto* bytes = static_cast<const unsigned char*>(blocks[i]);
      ASSERT_EQ(bytes[kBlock - 1], i & 0xFF) << i;
    }

    // Given back in a random order, half of them: blocks are taken again
    // from the freed places before a new slab is made.
    std::mt19937 random(5);
    std::shuffle(blocks.begin(), blocks.end(), random);
    const std::size_t slabs = pool.Slabs();
    for (std::size_t i = 0; i < blocks.size() / 2; ++i) pool.Give(blocks[i]);
    blocks.erase(blocks.begin(), blocks.begin() + long(blocks.size() / 2));
    for (std::size_t i = 0; i < perSlab; ++i) blocks.push_back(pool.Take());
    EXPECT_LE(pool.Slabs(), slabs);

    for (void* block : blocks) pool.Give(block);
    EXPECT_EQ(pool.BlocksTaken(), 0u);
    EXPECT_LE(pool.Slabs(), 1u);  // one empty slab is kept back
  }
  EXPECT_EQ(MemoryInUse(), before);
}

TEST(FixedPool, ASlabBeyondTheBudgetIsRefused) {
  const std::size_t saved = MemoryBudget();
  {
    FixedPool pool(kBlock);
    void* first = pool.Take();
    SetMemoryBudget(MemoryInUse() + FixedPool::kSlabBytes / 2);
    std::vector<void*> blocks;
    EXPECT_THROW(for (;;) blocks.push_back(pool.Take()), std::bad_alloc);
    EXPECT_EQ(pool.Slabs(), 1u);
    SetMemoryBudget(saved);
    blocks.push_back(pool.Take());  // works again within the budget
    EXPECT_EQ(pool.Slabs(), 2u);
    for (void* block : blocks) pool.Give(block);
    pool.Give(first);
  }
  SetMemoryBudget(saved);
}

// Empty slabs up to the number asked for stay for the next blocks, without
// counting against the budget; they count again once they are taken.
TEST(FixedPool, KeptEmptySlabsAreReusedAndNotCharged) {
  const std::size_t before = MemoryInUse();
  {
    FixedPool pool(kBlock, 2);
    const std::size_t perSlab = FixedPool::kSlabBytes / kBlock;
    std::vector<void*> blocks;
    for (std::size_t i = 0; i < 4 * perSlab; ++i) blocks.push_back(pool.Take());
    const std::size_t slabs = pool.Slabs();
    EXPECT_GE(slabs, 4u);
    for (void* block : blocks) pool.Give(block);
    EXPECT_EQ(pool.Slabs(), 2u);
    EXPECT_EQ(MemoryInUse(), before);

    // Taken again: the kept slabs first, each charged as it is taken.
    blocks.clear();
    for (std::size_t i = 0; i < perSlab + 1; ++i) blocks.push_back(pool.Take());
    EXPECT_EQ(pool.Slabs(), 2u);
    EXPECT_EQ(MemoryInUse(), before + 2 * FixedPool::kSlabBytes);
    for (void* block : blocks) pool.Give(block);
    EXPECT_EQ(MemoryInUse(), before);
  }
  EXPECT_EQ(MemoryInUse(), before);
}

// A kept slab is refused like a new one when taking it would pass the budget.
TEST(FixedPool, AKeptSlabBeyondTheBudgetIsRefused) {
  const std::size_t saved = MemoryBudget();
  {
    FixedPool pool(kBlock, 4);
    pool.Give(pool.Take());
    EXPECT_EQ(pool.Slabs(), 1u);
    SetMemoryBudget(MemoryInUse() + FixedPool::kSlabBytes / 2);
    EXPECT_THROW(pool.Take(), std::bad_alloc);
    SetMemoryBudget(saved);
    pool.Give(pool.Take());
    EXPECT_EQ(pool.Slabs(), 1u);
  }
  SetMemoryBudget(saved);
}
