// The cost of one statement: a text of simple statements and a counting loop,
// each with the pump request going to a host that does nothing, to a host
// that only counts, and with no host at all (the request is not sent).
#include <benchmark/benchmark.h>

#include <string>

#include "bench/support/idle_host.h"
#include "core/execution.h"
#include "core/interpreter_state.h"

using namespace vell;

namespace {

using vell::bench::IdleHost;

class CountingHost : public IdleHost {
 public:
  int64_t pumps = 0;
  void HandleHostRequest(Interpreter& interp) override {
    if (interp.requestSlots[0].ItemInt() == RequestPump) ++pumps;
  }
};

enum HostKind { kIdle, kCounting, kNone };

Interpreter& Prepared(HostKind kind) {
  static IdleHost idle;
  static CountingHost counting;
  if (gInterpreter == nullptr) InterpreterEntry(1, &idle, &idle);
  Interpreter& interp = *gInterpreter;
  interp.mainWindow = kind == kIdle ? static_cast<HostRequestHandler*>(&idle)
                      : kind == kCounting ? &counting
                                          : nullptr;
  interp.routineName = u"";
  return interp;
}

const char* HostLabel(HostKind kind) {
  return kind == kIdle ? "idle host" : kind == kCounting ? "counting host" : "no pump request";
}

// Runs `text` once an iteration, counting `items` statements or passes a run;
// the locals a run's DIM makes are dropped before the next.
void TimeRuns(benchmark::State& state, Interpreter& interp, const SharedText& text, int64_t items) {
  for (auto _ : state) {
    interp.localCount = 0;
    RunText(interp, nullptr, text);
  }
  if (interp.runState != 0) state.SkipWithError("run failed");
  state.SetItemsProcessed(state.iterations() * items);
}

// 1000 statements of the form LET 1 + 2.
void BM_SimpleStatements(benchmark::State& state) {
  const auto kind = static_cast<HostKind>(state.range(0));
  Interpreter& interp = Prepared(kind);
  std::u16string text;
  for (int i = 0; i < 1000; ++i) text += u"LET 1 + 2\n";
  TimeRuns(state, interp, MakeSharedText(text), 1000);
  state.SetLabel(HostLabel(kind));
}
BENCHMARK(BM_SimpleStatements)->Arg(kIdle)->Arg(kCounting)->Arg(kNone);

// A counting loop: per pass the condition, the body block, one statement in
// it and the step: three statements run.
void BM_CountingLoop(benchmark::State& state) {
  const auto kind = static_cast<HostKind>(state.range(0));
  Interpreter& interp = Prepared(kind);
  TimeRuns(state, interp,
           MakeSharedText(u"DIM I, X\nX = 0\nFOR I = 0, I < 10000, I = I + 1 { X = X + 1 }"),
           10000);
  state.SetLabel(HostLabel(kind));
}
BENCHMARK(BM_CountingLoop)->Arg(kIdle)->Arg(kCounting)->Arg(kNone);

// String building: one character appended 10000 times by S = S + "x".
void BM_StringBuilding(benchmark::State& state) {
  Interpreter& interp = Prepared(kIdle);
  TimeRuns(state, interp,
           MakeSharedText(u"DIM I, S\nS = \"\"\nFOR I = 0, I < 10000, I = I + 1 { S = S + \"x\" }"),
           10000);
}
BENCHMARK(BM_StringBuilding);

// A text run once, as a new text each time: 1000 statements read a single
// time, so whatever the lexer keeps for texts read again is pure cost here.
void BM_TextRunOnce(benchmark::State& state) {
  Interpreter& interp = Prepared(kIdle);
  std::u16string text;
  for (int i = 0; i < 1000; ++i) text += u"LET 1 + 2\n";
  for (auto _ : state) {
    RunText(interp, nullptr, MakeSharedText(text));
  }
  if (interp.runState != 0) state.SkipWithError("run failed");
  state.SetItemsProcessed(state.iterations() * 1000);
}
BENCHMARK(BM_TextRunOnce);

}  // namespace

BENCHMARK_MAIN();
