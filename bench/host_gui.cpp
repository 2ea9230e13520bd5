// The cost of running in the window: a loop of simple statements with the
// window's real (throttled) message pump, the same loop with a host that does
// nothing, the same loop processing events before every statement, and
// 100000 PRINTs of short lines into the output area.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <cstdlib>
#include <memory>

#include "core/interpreter_state.h"
#include "host/form_main.h"
#include "platform/qt/memo_text.h"

using namespace vell;

namespace {

constexpr char16_t kLoop[] = u"DIM I, S\nS = 0\nFOR (I = 0, I < 100000, I = I + 1) { S = S + I }";

// Does what the window does for pump requests but without any window.
class QuietHost : public HostRequestHandler, public HostShell {
 public:
  explicit QuietHost(bool processEvents) : processEvents_(processEvents) {}
  void HandleHostRequest(Interpreter& interp) override {
    if (processEvents_ && interp.requestSlots[0].ItemInt() == RequestPump) {
      QCoreApplication::processEvents();
    }
  }
  void PostCloseMainWindow() override {}
  void ShowWarning(std::u16string_view) override {}
  void ReleaseProgramComponents() override {}

 private:
  bool processEvents_;
};

void RunWithHost(benchmark::State& state, bool processEvents) {
  QuietHost host(processEvents);
  InterpreterEntry(1, &host, &host);
  for (auto _ : state) {
    gInterpreter->programText = vellvar(kLoop);
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
  auto form = std::make_unique<TFormMain>();
  form->FormCreate({QStringLiteral("vell")});
  form->show();
  QCoreApplication::processEvents();
  for (auto _ : state) {
    vell::qt::SetMemoText(*form->MemoProg, kLoop);
    form->MenuProgRunClick();
  }
  state.SetItemsProcessed(state.iterations() * 100000);
}
BENCHMARK(BM_LoopInWindow)->Unit(benchmark::kMillisecond);

void BM_Print100000LinesInWindow(benchmark::State& state) {
  auto form = std::make_unique<TFormMain>();
  form->FormCreate({QStringLiteral("vell")});
  form->show();
  QCoreApplication::processEvents();
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

int main(int argc, char** argv) {
  if (std::getenv("QT_QPA_PLATFORM") == nullptr) setenv("QT_QPA_PLATFORM", "offscreen", 1);
  QApplication app(argc, argv);
  QApplication::setQuitOnLastWindowClosed(false);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
