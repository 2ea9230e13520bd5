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
#include <cstdlib>
#include <string>

#include "components/keywords/component_keywords.h"
#include "components/widgets/component_table.h"
#include "library/library_builtins.h"

namespace {

using vell::Interpreter;

class BenchWindow : public vell::ComponentHost {
 public:
  BenchWindow() : panel(new QWidget(&main)), output(new QPlainTextEdit(&main)) {}
  QWidget* MainWindowWidget() override { return &main; }
  QPlainTextEdit* OutputArea() override { return output; }
  QWidget* DefaultParent() override { return panel; }
  void FlushOutput() override {}
  int RunEventText(std::u16string_view text) override {
    return vell::RunEventText(*vell::gInterpreter, text);
  }
  void SetOutputAreaVisible(bool) override {}

  QWidget main;
  QWidget* panel;
  QPlainTextEdit* output;
};

struct Setup {
  Setup() : table(window) {
    vell::RegisterLibraryBuiltins(t.interp());
    vell::RegisterComponentKeywords(t.interp());
    t.host.onComponent = [this](Interpreter& interp) { table.HandleHostRequest(interp); };
    table.CreateEntryObjects();
    table.ResetProgramSlots();
    table.InstallDefaults(t.interp());
  }
  ~Setup() {
    table.DestroyAllComponents();
    table.CarryOutPendingDeletions();
  }
  vell::vellarray* Global(std::u16string_view name) {
    for (int i = 0; i < vell::kTableEntries; ++i) {
      vell::vellvar key(t.interp().globals[i].key);
      if (std::u16string_view(key.WideText()) == name) return &t.interp().globals[i];
    }
    return nullptr;
  }

  vell::test::TestInterpreter t;
  BenchWindow window;
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

int main(int argc, char** argv) {
  if (std::getenv("QT_QPA_PLATFORM") == nullptr) setenv("QT_QPA_PLATFORM", "offscreen", 1);
  QApplication app(argc, argv);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
