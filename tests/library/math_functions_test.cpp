#include "library/math_functions.h"

#include <gtest/gtest.h>

#include <climits>
#include <memory>

#include "core/interpreter_state.h"

using namespace vell;

namespace vell {
namespace {

// Expected values worked out by tests/library/rnd_sequence.py.

TEST(RandomGenerator, LongDrawsAdvanceTheWhole64BitState) {
  auto interp = std::make_unique<Interpreter>();
  interp->randomState = 0x0123456789ABCDEFULL;
  EXPECT_EQ(DrawLongRandom(*interp), 229064551);
  EXPECT_EQ(DrawLongRandom(*interp), 2142188622);
  EXPECT_EQ(DrawLongRandom(*interp), 1584278380);
}

TEST(RandomGenerator, DrawsAfterSeedingFollowTheSeed) {
  auto interp = std::make_unique<Interpreter>();
  SeedRandom(*interp, 12345);
  EXPECT_EQ(interp->randomState, 0x3BC559CEULL);
  EXPECT_EQ(DrawLongRandom(*interp), 1220244142);
  EXPECT_EQ(DrawLongRandom(*interp), 1374406965);
  EXPECT_EQ(DrawLongRandom(*interp), 308141128);

  SeedRandom(*interp, 12345);
  EXPECT_EQ(RandomBelow(*interp, 100), 42);
  EXPECT_EQ(RandomBelow(*interp, 100), 65);
  EXPECT_EQ(RandomBelow(*interp, -6), 4);  // a negative bound draws like its magnitude
  EXPECT_EQ(RandomBelow(*interp, 1000000), 318993);
  EXPECT_EQ(RandomBelow(*interp, 7), 2);
}

TEST(RandomGenerator, BoundsOfRandomBelow) {
  auto interp = std::make_unique<Interpreter>();
  interp->randomState = 42;
  const uint64_t before = interp->randomState;
  EXPECT_EQ(RandomBelow(*interp, 0), 0);
  EXPECT_EQ(interp->randomState, before);  // 0 draws nothing
  for (int i = 0; i < 1000; ++i) {
    EXPECT_EQ(RandomBelow(*interp, 1), 0);
    EXPECT_EQ(RandomBelow(*interp, -1), 0);
    const int32_t r = RandomBelow(*interp, -6);
    EXPECT_TRUE(r >= 0 && r < 6) << r;
    EXPECT_GE(RandomBelow(*interp, INT_MIN), 0);
    EXPECT_GE(RandomBelow(*interp, INT_MAX), 0);
  }
}

}  // namespace
}  // namespace vell
