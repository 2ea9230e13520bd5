// Running texts against the recording host: pump requests, stops, event
// texts, nested runs, error reports, failures that escape a run, and texts
// that change while they run.
#include "core/execution.h"

#include <gtest/gtest.h>

#include <alloca.h>

#include <algorithm>
#include <atomic>
#include <new>
#include <stdexcept>
#include <string>
#include <vector>

#include "core/interpreter_state.h"
#include "tests/support/recording_host.h"

using namespace vell;

namespace {

using vell::test::MessageAnswer;
using vell::test::TestInterpreter;
using vell::test::Utf8;

HandlerResult FailWithoutCode(Interpreter&, ExecContext&) { return ResultFailed; }

std::atomic<int>* gateForBuiltin = nullptr;

std::vector<int> WithoutPumps(const std::vector<int>& kinds) {
  std::vector<int> out;
  for (int k : kinds) {
    if (k != RequestPump) out.push_back(k);
  }
  return out;
}

TEST(Executor, PumpRequestBeforeEveryStatementRun) {
  TestInterpreter t;
  t.host.recordPumps = true;
  t.Run(u"IF 0 { PRINT 1 PRINT 2 } PRINT 3, 4");
  // IF, PRINT, the end of the text; passed-over statements cost nothing.
  EXPECT_EQ(t.host.Kinds(), (std::vector<int>{6, 6, 1, 1, 6, 4}));
  EXPECT_EQ(t.host.Output(), u"34");

  t.Run(u"FOR , , { BREAK }");
  // FOR, the body block, BREAK inside it, the statement after BREAK, the end.
  EXPECT_EQ(t.host.Kinds(), (std::vector<int>{6, 6, 6, 6, 6, 4}));
  EXPECT_EQ(t.interp().requestSlots[0].ItemInt(), 4);
}

TEST(Executor, PumpGateLeavesOutOnlyPumps) {
  TestInterpreter t;
  t.host.recordPumps = true;
  std::atomic<int> gate{0};
  t.host.pumpGate = &gate;
  // A closed gate: no pump request, everything else as before.
  t.Run(u"IF 0 { PRINT 1 } PRINT 3, 4");
  EXPECT_EQ(t.host.Kinds(), (std::vector<int>{1, 1, 4}));
  // Opened while the program runs (as the window's clock does): the next
  // statement's pump is sent.
  t.host.Clear();
  RegisterBuiltin(t.interp(), u"OPENGATE", [](Interpreter&, ExecContext&) -> HandlerResult {
    gateForBuiltin->store(1);
    return ResultDone;
  });
  gateForBuiltin = &gate;
  t.Run(u"PRINT 1 OPENGATE PRINT 2");
  EXPECT_EQ(t.host.Kinds(), (std::vector<int>{1, 6, 1, 6, 4}));
  gateForBuiltin = nullptr;
  t.host.pumpGate = nullptr;
}

TEST(Executor, StopsAndEndsWithoutMessages) {
  TestInterpreter t;
  t.host.stopAtPump = 3;
  EXPECT_EQ(t.Run(u"PRINT 1 PRINT 2 PRINT 3"), u"12");
  EXPECT_EQ(t.interp().runState, StateEnd);
  EXPECT_EQ(t.interp().mainRunning, 0);
  EXPECT_EQ(WithoutPumps(t.host.Kinds()), (std::vector<int>{1, 1, 4}));

  // A stop asked for before the run starts is forgotten.
  t.host.stopAtPump = 0;
  t.interp().runState = StateEnd;
  EXPECT_EQ(t.Run(u"PRINT 1"), u"1");

  EXPECT_EQ(t.Run(u"PRINT 1 EXIT PRINT 2"), u"1");
  EXPECT_EQ(t.interp().runState, StateExit);
  EXPECT_EQ(t.host.closePosts, 0);  // the main window closes after mode 2 itself

  // Abort in the error box ends the run.
  t.host.messageAnswers = {MessageAnswer::Abort};
  t.Run(u"PRINT Q");
  EXPECT_EQ(t.interp().runState, StateEnd);
}

TEST(Executor, EventTextsRunNestedAtThePump) {
  TestInterpreter t;
  RegisterBuiltin(t.interp(), u"FAIL", FailWithoutCode);
  t.host.eventAtPump = 2;
  t.host.eventRoutine = u"EV";

  t.host.eventText = u"PRINT \"E\"";
  EXPECT_EQ(t.Run(u"PRINT 1 PRINT 2"), u"1E2");

  t.host.eventText = u"END";
  EXPECT_EQ(t.Run(u"PRINT 1 PRINT 2"), u"1");

  // An error inside the event text is reported once, under the event's name,
  // and stops the main program before its next statement.
  t.host.eventText = u"PRINT \"E\"\nPRINT Q";
  EXPECT_EQ(t.Run(u"PRINT 1 PRINT 2"), u"1E[MSG]\nEV 2 Q: undefined error");

  // A failure without a code leaves runState 0: the main program completes
  // the statement it was about to run and then stops.
  t.host.eventText = u"FAIL";
  EXPECT_EQ(t.Run(u"PRINT 1 PRINT 2 PRINT 3"), u"12[MSG]\nEV 1 FAIL: system error\n");

  // EXIT in an event text run from idle closes the main window afterwards.
  t.host.eventAtPump = 0;
  t.host.Clear();
  t.interp().runState = 0;
  t.interp().routineName = u"CLICK";
  EXPECT_EQ(RunEventText(t.interp(), u"PRINT 5 EXIT PRINT 6"), ResultFailed);
  EXPECT_EQ(t.host.Output(), u"5");
  EXPECT_EQ(t.host.closePosts, 1);
  EXPECT_EQ(t.interp().runDepth, 0);
}

// Counts the output requests that came after the first message request.
int PrintsAfterMessage(const vell::test::RecordingHost& host) {
  int prints = -1;
  for (const auto& r : host.requests) {
    if (r.kind == RequestMessage && prints < 0) prints = 0;
    if (r.kind == RequestPrint && prints >= 0) ++prints;
  }
  return prints;
}

int gLateEventValue = -1;

TEST(Executor, EventErrorWithoutCodeStopsAfterTheInterruptedStatement) {
  TestInterpreter t;
  Interpreter& interp = t.interp();
  RegisterBuiltin(interp, u"FAIL", FailWithoutCode);
  RegisterBuiltin(interp, u"NESTED", [](Interpreter& interp, ExecContext& ctx) -> HandlerResult {
    interp.routineName = u"NESTED";  // as CALC and CALLSUB run their texts
    return RunText(interp, &ctx, u"PRINT \"n\"");
  });
  // An event arriving while the statement completes (inside a component
  // operation, or while the box is open) runs nothing and leaves no value
  // behind for the close event to read.
  RegisterBuiltin(interp, u"LATEEVENT", [](Interpreter& interp, ExecContext&) -> HandlerResult {
    interp.lastValue = 1;
    interp.routineName = u"LATE";
    if (RunEventText(interp, u"PRINT \"late\"\nRETURN (1)") == ResultFailed) {
      gLateEventValue = interp.lastValue.ToInt();
    }
    return ResultDone;
  });
  t.host.files[u"B.VELL"] = u"PRINT \"b\"";
  t.host.eventText = u"FAIL";
  t.host.eventRoutine = u"EV";

  // The event fails before the second statement, which starts a nested text:
  // that text does not run and the program stops.
  t.host.eventAtPump = 2;
  EXPECT_EQ(t.Run(u"PRINT 1\nNESTED\nPRINT 2"), u"1[MSG]\nEV 1 FAIL: system error\n");
  EXPECT_EQ(t.Run(u"PRINT 1\nLATEEVENT\nPRINT 2"), u"1[MSG]\nEV 1 FAIL: system error\n");
  EXPECT_EQ(gLateEventValue, 0);

  // Wherever the event lands, in loops, blocks, SUBs and nested texts, at
  // most the one statement it interrupted runs after the box.
  const std::u16string_view programs[] = {
      u"DIM I\nWHILE I < 3 { I = I + 1 PRINT I }\nPRINT \"after\"",
      u"DIM I\nFOR I = 0, I < 3, I = I + 1 { PRINT I PRINT \",\" }\nPRINT \"after\"",
      u"SUB F { PRINT \"f\" PRINT \"g\" }\nDIM I, A\n"
      u"WHILE I < 2 { I = I + 1 F NESTED CALL \"B.VELL\" INPUT A PRINT A }\nPRINT \"z\"",
      u"DIM I\nWHILE I < 2 { I = I + 1 IF I { { PRINT I } PRINT \"-\" } ELSE { } }\nPRINT 9",
  };
  for (const std::u16string_view program : programs) {
    t.host.eventAtPump = 0;
    t.host.recordPumps = true;
    t.host.inputAnswers = {u"a", u"a"};
    t.Run(program);
    const std::vector<int> kinds = t.host.Kinds();
    const int pumps = static_cast<int>(std::count(kinds.begin(), kinds.end(), RequestPump));
    t.host.recordPumps = false;
    for (int at = 1; at <= pumps; ++at) {
      t.host.eventAtPump = at;
      t.host.inputAnswers = {u"a", u"a"};
      const std::u16string out = t.Run(program);
      EXPECT_EQ(t.host.Messages().size(), 1u) << Utf8(program) << " pump " << at;
      EXPECT_LE(PrintsAfterMessage(t.host), 1) << Utf8(program) << " pump " << at << ": "
                                               << Utf8(out);
    }
  }

  // Once no run is left, the next event text starts afresh.
  t.host.eventAtPump = 0;
  t.host.Clear();
  interp.routineName = u"CLICK";
  EXPECT_NE(RunEventText(interp, u"PRINT 7"), ResultFailed);
  EXPECT_EQ(t.host.Output(), u"7");
}

TEST(Executor, NestedRunDoesNotClearAPendingStop) {
  TestInterpreter t;
  RegisterBuiltin(t.interp(), u"STOPTHENRUN",
                  [](Interpreter& interp, ExecContext& ctx) -> HandlerResult {
                    interp.runState = StateEnd;  // as an Abort chosen in a dialog would
                    return RunText(interp, &ctx, u"PRINT \"inner\"");
                  });
  RegisterBuiltin(t.interp(), u"CALCX", [](Interpreter& interp, ExecContext& ctx) -> HandlerResult {
    interp.routineName = u"CALCX";
    return RunText(interp, &ctx, u"LET 40 + 2");
  });
  EXPECT_EQ(t.Run(u"PRINT CALCX, \"|\" STOPTHENRUN PRINT \"after\""), u"42|");
  EXPECT_EQ(t.interp().runState, StateEnd);
  EXPECT_TRUE(t.host.Messages().empty());
  EXPECT_EQ(t.interp().localCount, 0);
}

TEST(Executor, ErrorMessages) {
  TestInterpreter t;
  RegisterBuiltin(t.interp(), u"FAIL", FailWithoutCode);
  EXPECT_EQ(t.Run(u"FAIL"), u"[MSG]\n 1 FAIL: system error\n");
  EXPECT_EQ(t.Run(u"\n{\n  FAIL }"), u"[MSG]\n 3 FAIL: system error\n");
  EXPECT_EQ(t.Run(u"PRINT 1 (1)"), u"1[MSG]\n 1 : syntax error");

  // The words of the codes no program reaches; unknown codes are system
  // errors; the stop codes report nothing.
  ExecContext ctx;
  ctx.source = MakeSharedText(u"A\nB\nC");
  ctx.text = ctx.source->chars.c_str();
  ctx.cursor = 3;
  ctx.routineName = u"SUBNAME";
  ctx.SetToken(u"TOK");
  const std::pair<int, std::u16string_view> codes[] = {
      {1, u"\nSUBNAME 2 TOK: cannot allocate memory"}, {4, u"\nSUBNAME 2 TOK: value type error"},
      {6, u"\nSUBNAME 2 TOK: file error"},             {0, u"\nSUBNAME 2 TOK: system error\n"},
      {42, u"\nSUBNAME 2 TOK: system error\n"},       {12, u""},
      {13, u""}};
  for (const auto& [code, message] : codes) {
    t.interp().runState = code;
    EXPECT_EQ(FormatErrorMessage(t.interp(), ctx), message) << code;
  }

  // A long routine name and a long token never overrun, and the line and the
  // words always stay: the name loses its start (a CALLed file's name stays),
  // the token its end, each marked with "…"; they share the room left.
  const std::u16string longPath = u"/" + std::u16string(250, u'd') + u"/called.vell";
  ctx.routineName = std::u16string_view(longPath);
  ctx.SetToken(std::u16string(255, u'T'));
  t.interp().runState = ErrorSyntax;
  EXPECT_EQ(FormatErrorMessage(t.interp(), ctx),
            u"\n\u2026" + std::u16string(105, u'd') + u"/called.vell 2 " +
                std::u16string(118, u'T') + u"\u2026: syntax error");
  ctx.SetToken(u"TOK");
  EXPECT_EQ(FormatErrorMessage(t.interp(), ctx),
            u"\n\u2026" + std::u16string(221, u'd') + u"/called.vell 2 TOK: syntax error");
  ctx.routineName = u"SUBNAME";
  ctx.SetToken(std::u16string(255, u'T'));
  t.interp().runState = ErrorArithmetic;  // no token shown: the name fits
  EXPECT_EQ(FormatErrorMessage(t.interp(), ctx), u"\nSUBNAME 2: arithmetic error");
  // A surrogate pair is never split.
  std::u16string pairs;
  for (int i = 0; i < 127; ++i) pairs += u"\U0001F600";
  ctx.SetToken(u"a" + pairs);
  t.interp().runState = ErrorUndefined;
  const std::u16string message = FormatErrorMessage(t.interp(), ctx);
  EXPECT_EQ(message.size(), 254u);
  EXPECT_TRUE(message.ends_with(u"\U0001F600\u2026: undefined error"));

  const std::u16string longName(300, u'Z');
  EXPECT_EQ(t.Run(u"PRINT " + longName),
            u"[MSG]\n 1 " + std::u16string(233, u'Z') + u"\u2026: undefined error");
}

// Fails in a chosen way from inside a run.
HandlerResult ThrowRuntime(Interpreter&, ExecContext&) { throw std::runtime_error("broken"); }
HandlerResult ThrowNoMemory(Interpreter&, ExecContext&) { throw std::bad_alloc(); }

class WarningOrderHost : public vell::test::RecordingHost {
 public:
  struct Seen {
    std::u16string text;
    int mainRunning;
    int lastKind;
  };
  std::vector<Seen> seen;
  void ShowWarning(std::u16string_view text) override {
    seen.push_back({std::u16string(text), gInterpreter ? gInterpreter->mainRunning : -1,
                    requests.empty() ? 0 : requests.back().kind});
  }
};

TEST(Executor, ExceptionLeavingARunEndsItCleanly) {
  WarningOrderHost host;
  InterpreterEntry(1, &host, &host);
  Interpreter& interp = *gInterpreter;
  RegisterBuiltin(interp, u"BREAKDOWN", ThrowRuntime);
  RegisterBuiltin(interp, u"NOMEMORY", ThrowNoMemory);

  interp.programText = u"PRINT 1 { BREAKDOWN } PRINT 2";
  InterpreterEntry(2);
  ASSERT_EQ(host.seen.size(), 1u);
  EXPECT_EQ(host.seen[0].text, u"cannot load Vell ");
  EXPECT_EQ(host.seen[0].mainRunning, 0);
  EXPECT_EQ(host.seen[0].lastKind, RequestRunEnded);
  EXPECT_EQ(interp.runDepth, 0);
  EXPECT_EQ(host.Output(), u"1");

  interp.programText = u"NOMEMORY";
  InterpreterEntry(2);
  ASSERT_EQ(host.seen.size(), 2u);
  EXPECT_EQ(host.seen[1].text, u"cannot allocate memory ");
  EXPECT_EQ(host.seen[1].lastKind, RequestRunEnded);

  // Event texts never let an exception reach the window's event handling.
  interp.runState = 0;
  interp.routineName = u"EV";
  EXPECT_EQ(RunEventText(interp, u"BREAKDOWN"), ResultFailed);
  EXPECT_EQ(host.seen.size(), 3u);
  EXPECT_EQ(interp.runDepth, 0);
  EXPECT_EQ(interp.localCount, 0);

  // The next run works as usual.
  host.Clear();
  interp.programText = u"PRINT 3";
  InterpreterEntry(2);
  EXPECT_EQ(host.Output(), u"3");
  InterpreterEntry(3);
}

TEST(Executor, NestingIsBoundedByTheStackGuard) {
  TestInterpreter t;
  const std::u16string parens =
      u"PRINT " + std::u16string(200000, u'(') + u"1" + std::u16string(200000, u')');
  EXPECT_EQ(t.Run(parens), u"[MSG]\n 1 : area overflow");
  EXPECT_EQ(t.Run(u"PRINT 0 " + std::u16string(200000, u'{') + std::u16string(200000, u'}')),
            u"0[MSG]\n 1 : area overflow");
  EXPECT_EQ(t.Run(u"PRINT " + std::u16string(200000, u'-') + u"1"), u"[MSG]\n 1 : area overflow");
  EXPECT_EQ(t.interp().runDepth, 0);
  EXPECT_EQ(t.interp().stackBase, 0u);

  // Endless SUB recursion stops where a text starts, whatever stack the run
  // began with: the message is the same every time.
  for (size_t pad : {0, 80, 272, 688, 1504, 3008}) {
    volatile char* used = static_cast<char*>(alloca(pad + 1));
    used[0] = 0;
    EXPECT_EQ(t.Run(u"SUB DEEP { DEEP }\nDEEP"), u"[MSG]\nDEEP 1 : area overflow") << pad;
  }

  // An event text that starts itself again at every pump.
  t.host.onPump = [](Interpreter& interp, int) {
    if (interp.runState == 0) {
      interp.routineName = u"AGAIN";
      RunEventText(interp, u"LET 1");
    }
  };
  const std::u16string out = t.Run(u"PRINT 1");
  EXPECT_EQ(out, u"[MSG]\nAGAIN 1 LET: area overflow") << Utf8(out);
  EXPECT_EQ(t.interp().runDepth, 0);
}

HandlerResult ClobberProgram(Interpreter& interp, ExecContext& ctx) {
  interp.programText = u"PRINT \"changed\"";
  interp.requestSlots[1].SetItem(vellvar(u"garbage"));
  ctx.value = 0;
  return ResultDone;
}

TEST(Executor, RunsNeverReadAChangedText) {
  TestInterpreter t;
  RegisterBuiltin(t.interp(), u"CLOBBER", ClobberProgram);
  EXPECT_EQ(t.Run(u"PRINT 1 CLOBBER PRINT 2"), u"12");

  // CALL's text arrives in request slot 1, which its first PRINT overwrites.
  t.host.files[u"B.VELL"] = u"PRINT \"x\", 1\nPRINT 2";
  EXPECT_EQ(t.Run(u"CALL \"B.VELL\" PRINT \"|\""), u"x12|");
}

TEST(Executor, RunStateAndValuesAcrossRuns) {
  TestInterpreter t;
  EXPECT_EQ(t.Run(u"GLOBAL G G = 5"), u"");
  EXPECT_EQ(t.Run(u"PRINT G"), u"5");
  EXPECT_EQ(t.Run(u"DIM L L = 1"), u"");
  EXPECT_EQ(t.Run(u"PRINT L"), u"[MSG]\n 1 L: undefined error");
  EXPECT_EQ(t.interp().runState, ErrorUndefined);  // left in force after the run

  RegisterBuiltin(t.interp(), u"RUNNING", [](Interpreter& interp, ExecContext& ctx) {
    ctx.value = interp.mainRunning;
    return ResultDone;
  });
  EXPECT_EQ(t.Run(u"PRINT RUNNING"), u"1");
  EXPECT_EQ(t.interp().mainRunning, 0);
}

TEST(Expressions, ValueKindsAndPushBack) {
  TestInterpreter t;
  auto eval = [&](std::u16string_view text, int& result) {
    ExecContext ctx;
    ctx.source = MakeSharedText(text);
    ctx.text = ctx.source->chars.c_str();
    t.interp().runState = 0;
    result = EvalExpression(t.interp(), ctx);
    return vellvar(ctx.value);
  };
  // Comparisons give integers, arithmetic reals (so hex values do not wrap).
  int r = 0;
  EXPECT_EQ(eval(u"1 < 2", r).kind, KindInteger);
  EXPECT_EQ(eval(u"\"a\" AND 1", r).kind, KindInteger);
  EXPECT_EQ(eval(u"0x7FFFFFFF + 0x80000000", r).RealValue(), 4294967294.0);

  // The token after an expression stays unread; a single = ends it.
  ExecContext ctx;
  ctx.source = MakeSharedText(u"1 + 2 = 3");
  ctx.text = ctx.source->chars.c_str();
  t.interp().runState = 0;
  EXPECT_NE(EvalExpression(t.interp(), ctx), ResultFailed);
  EXPECT_EQ(ctx.cursor, 6);

  // With a return pending, nothing is read and the value stays.
  ctx.returnFlag = 1;
  ctx.value = 7;
  EXPECT_NE(EvalExpression(t.interp(), ctx), ResultFailed);
  EXPECT_EQ(ctx.cursor, 6);
  EXPECT_EQ(ctx.value.IntValue(), 7);
}

}  // namespace
