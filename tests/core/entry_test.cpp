#include <gtest/gtest.h>

#include <memory>

#include "core/interpreter.h"
#include "tests/support/recording_host.h"

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

  // Each run reseeds from the saved seed and saves one further draw.
  TestInterpreter t;
  const int32_t seed = t.interp().seed;
  Interpreter expected;
  SeedRandom(expected, static_cast<uint32_t>(seed));
  const int32_t next = DrawRandom(expected);
  const uint64_t stateAfter = expected.randomState;
  t.Run(u"");
  EXPECT_EQ(t.interp().seed, next);
  EXPECT_EQ(t.interp().randomState, stateAfter);
  t.Run(u"");
  EXPECT_NE(t.interp().randomState, stateAfter);
}

TEST(Entry, Lifecycle) {
  RecordingHost host;
  ASSERT_EQ(gInterpreter, nullptr);
  EXPECT_EQ(InterpreterEntry(2), 0);  // nothing to run yet
  EXPECT_EQ(InterpreterEntry(1, &host, &host), 0);
  ASSERT_NE(gInterpreter, nullptr);
  Interpreter& interp = *gInterpreter;
  EXPECT_EQ(interp.globals[0].kind, 0);
  EXPECT_EQ(interp.locals[499].kind, 0);
  EXPECT_EQ(interp.mainWindow, &host);

  RegisterBuiltin(interp, u"twice", [](Interpreter&, ExecContext& ctx) {
    ctx.value = 2;
    return static_cast<int>(ResultDone);
  });
  RegisterBuiltin(interp, u"TWICE", [](Interpreter&, ExecContext& ctx) {
    ctx.value = 3;
    return static_cast<int>(ResultDone);
  });
  interp.programText = u"GLOBAL G\nG = TWICE\nPRINT G";
  InterpreterEntry(2);
  EXPECT_EQ(host.Output(), u"2");  // the first registration of a name wins
  EXPECT_EQ(host.requests.back().kind, RequestRunEnded);
  EXPECT_EQ(interp.globals[0].kind, 1);

  EXPECT_EQ(InterpreterEntry(3), 0);
  EXPECT_EQ(gInterpreter, nullptr);
  EXPECT_EQ(InterpreterEntry(2), 0);
  EXPECT_EQ(InterpreterEntry(3), 0);
  EXPECT_EQ(InterpreterMain(nullptr), 1);
  EXPECT_TRUE(host.warnings.empty());
}

TEST(Entry, ProgramTextThatWasNeverSetRunsAsEmpty) {
  TestInterpreter t;
  t.interp().programText = 0;
  t.host.Clear();
  InterpreterEntry(2);
  EXPECT_TRUE(t.host.Messages().empty());
  EXPECT_EQ(t.interp().runState, 0);
}

}  // namespace
