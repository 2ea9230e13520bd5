// List boxes and timers driven by programs through the component table:
// 100,000 and 3,000,000 lines put into a LISTBOX by one ITEMS and read back, and a TIMER at
// 10 ms over 2 s whose SUB counts its ticks while the main program waits in a
// loop that lets the window's events through as the window does (at most
// every 4 ms).
#include <benchmark/benchmark.h>

// clang-format off
// Before Qt's headers, which make "slots" a keyword.
#include "tests/support/recording_host.h"
// clang-format on

#include <QApplication>
#include <QElapsedTimer>
#include <QPlainTextEdit>
#include <string>

#include "bench/support/gui_bench.h"
#include "components/keywords/component_keywords.h"
#include "components/widgets/component_table.h"
#include "library/library_builtins.h"
#include "tests/support/component_window.h"

namespace {

using vell::Interpreter;

struct Setup {
  Setup() : table(window) {
    t.host.onComponent = [this](Interpreter& interp) { table.HandleHostRequest(interp); };
    vell::test::PrepareComponentTable(table, t.interp());
  }
  ~Setup() {
    vell::test::ReleaseComponentTable(table);
  }
  vell::vellarray* Global(std::u16string_view name) {
    return vell::test::FindGlobal(t.interp(), name);
  }

  vell::test::TestInterpreter t;
  vell::test::StandInWindow window;
  vell::mwin table;
};

void BM_ListBoxItems(benchmark::State& state) {
  const int count = static_cast<int>(state.range(0));
  Setup s;
  s.t.Run(u"GLOBAL L, BIG, X\nL = CREATE LISTBOX");
  std::u16string big;
  for (int i = 0; i < count; ++i) big += u"line " + std::u16string(1, u'a' + i % 26) + u"\r\n";
  s.Global(u"BIG")->SetItem(vell::vellvar(big));
  for (auto _ : state) {
    s.t.Run(u"L.ITEMS = BIG\nX = L.ITEMS\nX = LEN(X)");
    if (s.t.interp().runState != 0) state.SkipWithError("the program failed");
  }
  state.counters["lines"] = count;
}
BENCHMARK(BM_ListBoxItems)->Arg(100000)->Unit(benchmark::kMillisecond);
// Three million lines: the work of one call, with no drawing per line.
BENCHMARK(BM_ListBoxItems)->Arg(3000000)->Iterations(2)->Unit(benchmark::kMillisecond);

void BM_Timer10msOver2s(benchmark::State& state) {
  Setup s;
  QElapsedTimer sincePump;
  sincePump.start();
  s.t.host.onPump = [&sincePump](Interpreter&, int) {
    if (sincePump.elapsed() < 4) return;
    QCoreApplication::processEvents();
    sincePump.restart();
  };
  double ticks = 0;
  for (auto _ : state) {
    s.t.Run(
        u"GLOBAL T, N\nN = 0\nSUB TICK() { N = N + 1 }\nT = CREATE TIMER\n"
        u"T.INTERVAL = 10\nT.ONTIMER = TICK\nDIM S\nS = NOW\n"
        u"WHILE (NOW - S) * 86400 < 2 { }\nT.ENABLED = 0\nDELETE T");
    if (s.t.interp().runState != 0) state.SkipWithError("the program failed");
    ticks += s.Global(u"N")->item.ToInt();
  }
  state.counters["ticks"] = benchmark::Counter(ticks, benchmark::Counter::kAvgIterations);
}
BENCHMARK(BM_Timer10msOver2s)->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace

int main(int argc, char** argv) { return vell::bench::RunGuiBenchmarks(argc, argv); }
