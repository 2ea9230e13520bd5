// What a nested text costs: 1000 statements that evaluate 1 + 2 through
// CALC and through CALLSUB, beside the same statements without a nested run;
// and COMMANDLINE far past the end of the list, which must cost no more than
// a position inside it.
#include <benchmark/benchmark.h>

#include <string>

#include "bench/support/idle_host.h"
#include "core/execution.h"
#include "core/interpreter_state.h"
#include "library/library_builtins.h"

using namespace vell;

namespace {

using vell::bench::IdleHost;

Interpreter& Prepared() {
  static IdleHost idle;
  if (gInterpreter == nullptr) {
    InterpreterEntry(1, &idle, &idle);
    vell::RegisterLibraryBuiltins(*gInterpreter);
    gInterpreter->commandLine.Append(vellvar(u"/opt/vell/vell"));
    gInterpreter->commandLine.Append(vellvar(u"program.vell"));
  }
  gInterpreter->routineName = u"";
  return *gInterpreter;
}

void RunStatements(benchmark::State& state, const std::u16string& statement) {
  Interpreter& interp = Prepared();
  std::u16string text;
  for (int i = 0; i < 1000; ++i) text += statement + u"\n";
  const SharedText shared = MakeSharedText(text);
  for (auto _ : state) RunText(interp, nullptr, shared);
  if (interp.runState != 0) state.SkipWithError("run failed");
  state.SetItemsProcessed(state.iterations() * 1000);
}

void BM_Inline(benchmark::State& state) { RunStatements(state, u"LET 1 + 2"); }
void BM_Calc(benchmark::State& state) { RunStatements(state, u"LET CALC(\"1 + 2\")"); }
void BM_CallSub(benchmark::State& state) { RunStatements(state, u"LET CALLSUB(\"LET 1 + 2\")"); }
void BM_CommandLineInside(benchmark::State& state) { RunStatements(state, u"LET COMMANDLINE(1)"); }
void BM_CommandLinePastEnd(benchmark::State& state) {
  RunStatements(state, u"LET COMMANDLINE(2000000000)");
}

BENCHMARK(BM_Inline);
BENCHMARK(BM_Calc);
BENCHMARK(BM_CallSub);
BENCHMARK(BM_CommandLineInside);
BENCHMARK(BM_CommandLinePastEnd);

}  // namespace

BENCHMARK_MAIN();
