// Name lookup, the argument parser, the component member bridge, NEW and
// CALL, driven through whole program texts with the recording host.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/arguments.h"
#include "core/interpreter_state.h"
#include "core/variables.h"
#include "tests/support/recording_host.h"

using namespace vell;

namespace {

using vell::test::TestInterpreter;
using vell::test::Utf8;

// What the test built-ins saw.
struct ParsedCall {
  int count = 0;
  std::vector<std::u16string> slots;
};
std::vector<ParsedCall> parsedCalls;

template <int Max, int ReferenceSlot = -1>
HandlerResult RecordArguments(Interpreter& interp, ExecContext& ctx) {
  vellvar slots[Max > 0 ? Max : 1];
  if (ReferenceSlot >= 0) slots[ReferenceSlot] = 1;
  ParsedCall call;
  call.count = ParseArguments(interp, ctx, slots, Max);
  for (int i = 0; i < (Max > 0 ? Max : 1); ++i) {
    vellvar copy(slots[i]);
    call.slots.emplace_back(copy.WideText());
  }
  parsedCalls.push_back(call);
  if (call.count < 0) return ResultFailed;
  ctx.value = call.count;
  return ResultDone;
}

// A command whose result is whatever value the argument parser left behind.
HandlerResult KeepValue(Interpreter& interp, ExecContext& ctx) {
  vellvar slots[2] = {vellvar(0), vellvar(0)};
  const int count = ParseArguments(interp, ctx, slots, 2);
  if (count < 0) return ResultFailed;
  return ResultDone;
}

// A command without arguments that sets no result.
HandlerResult LeaveValue(Interpreter&, ExecContext&) { return ResultDone; }

class ArgumentsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    parsedCalls.clear();
    RegisterBuiltin(t.interp(), u"KEEP", KeepValue);
    RegisterBuiltin(t.interp(), u"SAME", LeaveValue);
    RegisterBuiltin(t.interp(), u"F3", RecordArguments<3>);
    RegisterBuiltin(t.interp(), u"F0", RecordArguments<0>);
    RegisterBuiltin(t.interp(), u"FR", RecordArguments<2, 0>);
  }
  std::string Run(std::u16string_view text) { return Utf8(t.Run(text)); }
  TestInterpreter t;
};

TEST_F(ArgumentsTest, CountsWithAndWithoutParentheses) {
  EXPECT_EQ(Run(u"PRINT F3(1, 2), F3 1, 2"), "22");
  ASSERT_EQ(parsedCalls.size(), 2u);
  EXPECT_EQ(Utf8(parsedCalls[0].slots[0]), "1");
  EXPECT_EQ(Utf8(parsedCalls[0].slots[1]), "2");
  EXPECT_EQ(Utf8(parsedCalls[0].slots[2]), "0");  // untouched preset


  // With no argument allowed, () is an empty list and a following token stays.
  parsedCalls.clear();
  EXPECT_EQ(Run(u"PRINT F0()\nF0\nPRINT 5"), "05");
  ASSERT_EQ(parsedCalls.size(), 2u);
  EXPECT_EQ(parsedCalls[1].count, 0);

  // An open list ends at any other token, which stays for the next statement.
  EXPECT_EQ(Run(u"PRINT F3(1, 2\nPRINT \"n\""), "2n");
}

// The parser copies each argument into its slot: the current value is still
// the last argument's, which is the result of the commands that set none.
TEST_F(ArgumentsTest, TheLastArgumentStaysTheCurrentValue) {
  EXPECT_EQ(Run(u"PRINT KEEP(300, 200), \"|\", KEEP(\"a\"), \"|\", KEEP(7) + 1"), "200|a|8");
  EXPECT_EQ(Run(u"PRINT 5 + KEEP()"), "[MSG]\n 1 : syntax error");
}

// While the right operand of an operator, or the next argument of a SUB call,
// is evaluated, the current value is still the one before it: a command that
// sets no result gives that value.
TEST_F(ArgumentsTest, ACommandWithoutResultSeesTheValueBeforeIt) {
  EXPECT_EQ(Run(u"PRINT 2 + SAME, \"|\", 3 * SAME, \"|\", \"a\" + SAME, \"|\", 5 > SAME, \"|\","
                u" 1 AND SAME, \"|\", 2 + (SAME), \"|\", 2 + -SAME"),
            "4|9|aa|0|1|4|0");
  EXPECT_EQ(Run(u"SUB F(A, B) { RETURN (A + B) }\nPRINT F(4, SAME), \"|\", F(\"x\", SAME)"), "8|xx");
}

TEST_F(ArgumentsTest, ReferenceSlotsReceiveTheReferenceSpelledAgain) {
  EXPECT_EQ(Run(u"PRINT FR(A[1 + 1].B, 3)"), "2");
  ASSERT_EQ(parsedCalls.size(), 1u);
  EXPECT_EQ(Utf8(parsedCalls[0].slots[0]), "A[2].B");
  EXPECT_EQ(Utf8(parsedCalls[0].slots[1]), "3");

  parsedCalls.clear();
  EXPECT_EQ(Run(u"PRINT FR(A[\"x\"][1.5])"), "1");
  EXPECT_EQ(Utf8(parsedCalls.at(0).slots[0]), "A[x][1.5]");

  EXPECT_EQ(Run(u"FR(A[-1])"), "[MSG]\n 1 : variable error");
  EXPECT_EQ(Run(u"FR(A[1)"), "[MSG]\n 1 : syntax error");
}

// A component side that records what the bridge asks of it.
class FakeComponents : public ComponentBridge {
 public:
  struct Call {
    bool set;
    int slot;
    int member;
    std::vector<std::u16string> args;
  };
  std::vector<Call> calls;

  int MemberArgumentCount(int memberCode) override {
    switch (memberCode) {
      case 90: return 2;  // a two-argument method
      case 91: return 0;  // a method without arguments
      default: return 1;
    }
  }
  HandlerResult GetComponentMember(Interpreter&, ExecContext& ctx, int slot, int member,
                                   vellvar* args) override {
    Record(false, slot, member, args);
    ctx.value = u"read";
    return ResultDone;
  }
  HandlerResult SetComponentMember(Interpreter&, ExecContext& ctx, int slot, int member,
                                   vellvar* args) override {
    Record(true, slot, member, args);
    ctx.value = 1;
    return ResultDone;
  }

 private:
  void Record(bool set, int slot, int member, vellvar* args) {
    Call c{set, slot, member, {}};
    for (int i = 0; i < 3; ++i) {
      vellvar copy(args[i]);
      c.args.emplace_back(copy.WideText());
    }
    calls.push_back(c);
  }
};

class ComponentBridgeTest : public ::testing::Test {
 protected:
  void SetUp() override {
    // A component variable B in slot 7 with the members the tests use.
    Interpreter& interp = t.interp();
    vellarray& b = interp.globals[0];
    b.kind = 12;
    b.key = u"B";
    b.item = 7;
    const std::pair<const char16_t*, int> members[] = {
        {u"CAPTION", 31}, {u"LINE", 90}, {u"CLS", 91}, {u"PRINT", 97}, {u"ONCLICK", 111}};
    for (const auto& [name, code] : members) b.GetNode(vellvar(name))->kind = code;
    interp.components = &fake;
  }
  std::string Run(std::u16string_view text) { return Utf8(t.Run(text)); }
  TestInterpreter t;
  FakeComponents fake;
};

TEST_F(ComponentBridgeTest, PropertiesMethodsAndEvents) {
  EXPECT_EQ(Run(u"B.CAPTION = \"OK\"\nGLOBAL x\nx = B.CAPTION\nPRINT x"), "read");
  ASSERT_EQ(fake.calls.size(), 2u);
  EXPECT_TRUE(fake.calls[0].set);
  EXPECT_EQ(fake.calls[0].slot, 7);
  EXPECT_EQ(fake.calls[0].member, 31);
  EXPECT_EQ(Utf8(fake.calls[0].args[0]), "OK");
  EXPECT_FALSE(fake.calls[1].set);
  EXPECT_EQ(fake.calls[1].member, 31);

  fake.calls.clear();
  EXPECT_EQ(Run(u"B.LINE(10, 20)\nB.CLS\nB.ONCLICK = CLICKED\nB.ONCLICK OTHER"), "");
  ASSERT_EQ(fake.calls.size(), 4u);
  EXPECT_EQ(fake.calls[0].member, 90);
  EXPECT_EQ(Utf8(fake.calls[0].args[1]), "20");
  EXPECT_EQ(fake.calls[1].member, 91);
  EXPECT_TRUE(fake.calls[1].set);  // a method is a call even when only named
  EXPECT_EQ(Utf8(fake.calls[2].args[0]), "CLICKED");
  EXPECT_EQ(Utf8(fake.calls[3].args[0]), "OTHER");

  // Wrong argument counts: no code of their own, so a system error.
  fake.calls.clear();
  EXPECT_EQ(Run(u"B.LINE(10)"), "[MSG]\n 1 : system error\n");
  EXPECT_TRUE(fake.calls.empty());
  // CLS takes nothing: it is called, and the 1 left over is a syntax error.
  EXPECT_EQ(Run(u"B.CLS(1)"), "[MSG]\n 1 1: syntax error");
  EXPECT_EQ(fake.calls.size(), 1u);

  t.interp().components = nullptr;
  EXPECT_EQ(Run(u"B.CAPTION = 1"), "[MSG]\n 1 : undefined error");
}

TEST_F(ComponentBridgeTest, PrintMemberSendsOneRequestPerValue) {
  EXPECT_EQ(Run(u"B.PRINT 1, \"A\""), "");
  std::vector<const vell::test::RecordedRequest*> sent;
  for (const auto& r : t.host.requests) {
    if (r.kind == RequestComponent) sent.push_back(&r);
  }
  ASSERT_EQ(sent.size(), 2u);
  EXPECT_EQ(sent[0]->slots[1].ToInt(), 6);
  EXPECT_EQ(sent[0]->slots[2].ToInt(), 7);
  EXPECT_EQ(sent[0]->slots[3].ToInt(), 97);
  EXPECT_EQ(sent[0]->slots[4].kind, KindReal);
  EXPECT_EQ(sent[0]->slots[4].ToReal(), 1.0);
  vellvar second(sent[1]->slots[4]);
  EXPECT_EQ(second.kind, KindWide);
  EXPECT_EQ(Utf8(second.WideText()), "A");
  EXPECT_TRUE(fake.calls.empty());
}

TEST(DeclarationsTest, NewKeepsTheProtectedGlobals) {
  TestInterpreter t;
  EXPECT_EQ(Utf8(t.Run(u"GLOBAL kept, lost\nkept = \"k\"\nlost = \"l\"\nkept[0] = 1")), "");
  t.interp().subTop = 1;
  EXPECT_EQ(Utf8(t.Run(u"DIM local\nNEW\nPRINT kept, kept[0]\nPRINT lost")),
            "k1[MSG]\n 4 LOST: undefined error");
  EXPECT_EQ(t.host.componentReleases, 1);
  EXPECT_EQ(t.interp().localCount, 0);
  EXPECT_TRUE(t.interp().lastNode);
  EXPECT_EQ(Utf8(t.Run(u"NEW")), "");
  EXPECT_FALSE(t.interp().thisSource);
  EXPECT_FALSE(t.interp().lastNode);
  // The freed entries are free again: a new global takes the first of them.
  EXPECT_EQ(Utf8(t.Run(u"GLOBAL again\nPRINT \"[\", again, \"]\"")), "[]");
  EXPECT_EQ(Utf8(t.interp().globals[1].key.WideText()), "AGAIN");
}

}  // namespace
