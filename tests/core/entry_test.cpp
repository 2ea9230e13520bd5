#include <gtest/gtest.h>

#include <memory>

#include "core/interpreter_state.h"
#include "tests/support/recording_host.h"

using namespace vell;

namespace {

using vell::test::RecordingHost;
using vell::test::TestInterpreter;

TEST(Entry, RandomGenerator) {
  auto interp = std::make_unique<Interpreter>();
  interp->randomState = 0xABCDEF0000000000ull;
  SeedRandom(*interp, 1);  // drops the first draw, 346
  EXPECT_EQ(DrawRandom(*interp), 130);
  EXPECT_EQ(DrawRandom(*interp), 10982);
  EXPECT_EQ(DrawRandom(*interp), 1090);
  EXPECT_EQ(interp->randomState >> 32, 0u);  // seeding clears the long draw's word
}

TEST(Entry, Lifecycle) {
  RecordingHost host;
  ASSERT_EQ(gInterpreter, nullptr);
  EXPECT_EQ(InterpreterEntry(2), 0);  // nothing to run yet
  EXPECT_EQ(InterpreterEntry(1, &host, &host), 0);
  ASSERT_NE(gInterpreter, nullptr);
  Interpreter& interp = *gInterpreter;

  RegisterBuiltin(interp, u"twice", [](Interpreter&, ExecContext& ctx) {
    ctx.value = 2;
    return ResultDone;
  });
  RegisterBuiltin(interp, u"TWICE", [](Interpreter&, ExecContext& ctx) {
    ctx.value = 3;
    return ResultDone;
  });
  interp.programText = u"GLOBAL G\nG = TWICE\nPRINT G";
  InterpreterEntry(2);
  EXPECT_EQ(host.Output(), u"2");  // the first registration of a name wins
  EXPECT_EQ(host.requests.back().kind, RequestRunEnded);

  EXPECT_EQ(InterpreterEntry(3), 0);
  EXPECT_EQ(gInterpreter, nullptr);
  EXPECT_EQ(InterpreterEntry(2), 0);
  EXPECT_EQ(InterpreterEntry(3), 0);
  EXPECT_EQ(InterpreterMain(nullptr), 1);
  EXPECT_TRUE(host.warnings.empty());
}

TEST(Entry, ProgramTextThatWasNeverSetRunsAsEmpty) {
  TestInterpreter t;
  t.interp().programText.clear();
  t.host.Clear();
  InterpreterEntry(2);
  EXPECT_TRUE(t.host.Messages().empty());
  EXPECT_EQ(t.interp().runState, 0);
}

}  // namespace
