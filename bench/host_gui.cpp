// The cost of running in the window: a loop of simple statements with the
// window's real (throttled) message pump, the same loop with a host that does
// nothing, the same loop processing events before every statement, and
// 100000 PRINTs of short lines into the output area.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <memory>

#include "bench/support/gui_bench.h"
#include "bench/support/idle_host.h"
#include "core/interpreter_state.h"
#include "host/form_main.h"
#include "platform/qt/memo_text.h"

using namespace vell;

namespace {

constexpr char16_t kLoop[] = u"DIM I, S\nS = 0\nFOR (I = 0, I < 100000, I = I + 1) { S = S + I }";

// Does what the window does for pump requests but without any window.
class QuietHost : public vell::bench::IdleHost {
 public:
  explicit QuietHost(bool processEvents) : processEvents_(processEvents) {}
  void HandleHostRequest(Interpreter& interp) override {
    if (processEvents_ && interp.requestSlots[0].ItemInt() == RequestPump) {
      QCoreApplication::processEvents();
    }
  }

 private:
  bool processEvents_;
};

void RunWithHost(benchmark::State& state, bool processEvents) {
  QuietHost host(processEvents);
  InterpreterEntry(1, &host, &host);
  for (auto _ : state) {
    gInterpreter->programText = kLoop;
    InterpreterEntry(2);
  }
  InterpreterEntry(3);
  state.SetItemsProcessed(state.iterations() * 100000);
}

void BM_LoopWithoutWindow(benchmark::State& state) { RunWithHost(state, false); }
BENCHMARK(BM_LoopWithoutWindow)->Unit(benchmark::kMillisecond);

void BM_LoopProcessingEventsEveryStatement(benchmark::State& state) { RunWithHost(state, true); }
BENCHMARK(BM_LoopProcessingEventsEveryStatement)->Unit(benchmark::kMillisecond);

void BM_LoopInWindow(benchmark::State& state) {
  const auto form = vell::bench::ShownMainWindow();
  for (auto _ : state) {
    vell::qt::SetMemoText(*form->MemoProg, kLoop);
    form->MenuProgRunClick();
  }
  state.SetItemsProcessed(state.iterations() * 100000);
}
BENCHMARK(BM_LoopInWindow)->Unit(benchmark::kMillisecond);

void BM_Print100000LinesInWindow(benchmark::State& state) {
  const auto form = vell::bench::ShownMainWindow();
  vell::qt::SetMemoText(*form->MemoProg,
                        u"DIM I\nFOR (I = 0, I < 100000, I = I + 1) { PRINT \"line\\n\" }");
  for (auto _ : state) {
    form->MenuProgClsClick();
    form->MenuProgRunClick();
    QCoreApplication::processEvents();  // the last lines are painted too
  }
  state.counters["blocks"] = form->MemoOut->document()->blockCount();
}
BENCHMARK(BM_Print100000LinesInWindow)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) { return vell::bench::RunGuiBenchmarks(argc, argv); }
