// A program that keeps growing its data ends with the out-of-memory warning
// and leaves the interpreter usable, whether the data is text or nodes.
#include <gtest/gtest.h>

#include "core/vellarray.h"
#include "platform/memory.h"
#include "tests/support/recording_host.h"

using namespace vell;

namespace vell::test {
namespace {

class MemoryBudgetTest : public ::testing::Test {
 protected:
  void SetUp() override { saved_ = MemoryBudget(); }
  void TearDown() override { SetMemoryBudget(saved_); }
  std::size_t saved_ = 0;
};

TEST_F(MemoryBudgetTest, GrowingDataEndsTheRunWithAWarning) {
  TestInterpreter t;
  SetMemoryBudget(MemoryInUse() + (std::size_t(64) << 20));
  const char16_t* programs[] = {
      u"GLOBAL S\nS = \"x\"\nWHILE 1 { S = S + S }",
      u"GLOBAL X, I\nWHILE 1 { X[I] = \"0123456789\" I = I + 1 }",
      u"GLOBAL Y\nY[50000000] = 1",
  };
  for (const char16_t* program : programs) {
    t.host.warnings.clear();
    t.Run(program);
    ASSERT_EQ(t.host.warnings.size(), 1u) << Utf8(program);
    EXPECT_EQ(t.host.warnings[0], u"cannot allocate memory ");
    // The data is released again and the next run works.
    EXPECT_EQ(t.Run(u"NEW\nPRINT 1 + 1"), u"2");
  }
  EXPECT_LT(MemoryInUse(), MemoryBudget());
}

}  // namespace
}  // namespace vell::test
