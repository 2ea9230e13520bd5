// Component events and common members in a window offscreen, with the
// component table behind a stand-in main window:
//   - a click on a button whose ONCLICK SUB adds 1 to a global, timed from
//     the mouse release (sent with QTest) to the SUB's return, per click;
//   - a program loop that moves and resizes every control a program can
//     have (195) once, timed per loop.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QPlainTextEdit>
#include <QTest>
#include <chrono>
#include <memory>
#include <string>

#include "bench/support/gui_bench.h"
#include "components/keywords/component_keywords.h"
#include "components/widgets/component_table.h"
#include "core/interpreter.h"
#include "library/library_builtins.h"
#include "tests/support/component_window.h"

using namespace vell;

namespace {

class BenchWindow : public HostRequestHandler, public HostShell {
 public:
  BenchWindow() : window(800, 600, 500), table(window) {
    InterpreterEntry(1, this, this);
    test::PrepareComponentTable(table, *gInterpreter);
    window.main.show();
    QCoreApplication::processEvents();
  }
  ~BenchWindow() override {
    test::ReleaseComponentTable(table);
    InterpreterEntry(3);
  }
  // Runs a program text; false when it failed.
  bool Run(std::u16string_view text) {
    gInterpreter->programText = text;
    InterpreterEntry(2);
    return gInterpreter->runState == 0 && gInterpreter->errorReported == 0;
  }
  int Global(std::u16string_view name) {
    const vellarray* global = test::FindGlobal(*gInterpreter, name);
    return global != nullptr ? global->item.ToInt() : -1;
  }

  void HandleHostRequest(Interpreter& interp) override {
    if (interp.requestSlots[0].item.ToInt() == RequestComponent) table.HandleHostRequest(interp);
  }
  void PostCloseMainWindow() override {}
  void ShowWarning(std::u16string_view) override {}
  void ReleaseProgramComponents() override { table.DestroyAllComponents(); }

  test::StandInWindow window;
  vell::mwin table;
};

using Clock = std::chrono::steady_clock;

void BM_ButtonClickRunsSub(benchmark::State& state) {
  BenchWindow window;
  if (!window.Run(u"GLOBAL B, N\nN = 0\nSUB CLICKED() { N = N + 1 }\n"
                  u"B = CREATE BUTTON\nB.ONCLICK = \"CLICKED\"")) {
    state.SkipWithError("the program failed");
    return;
  }
  // The click goes to what lies under the pointer (the face of a button
  // made of more than one widget).
  auto* control = static_cast<QWidget*>(window.table.Slot(5).object.data());
  QWidget* button = control->childAt(control->rect().center());
  if (button == nullptr) button = control;
  const QPoint at = button->rect().center();
  for (auto _ : state) {
    QTest::mousePress(button, Qt::LeftButton, {}, at);
    const auto start = Clock::now();
    QTest::mouseRelease(button, Qt::LeftButton, {}, at);
    state.SetIterationTime(std::chrono::duration<double>(Clock::now() - start).count());
  }
  if (window.Global(u"N") != static_cast<int>(state.iterations())) {
    state.SkipWithError("not every click ran the SUB");
  }
}
BENCHMARK(BM_ButtonClickRunsSub)->UseManualTime()->Iterations(1000)->Unit(benchmark::kMicrosecond);

void BM_MoveAndResizeAllControls(benchmark::State& state) {
  BenchWindow window;
  if (!window.Run(u"GLOBAL C, I\n"
                  u"FOR (I = 0, I < 195, I = I + 1) { C[I] = CREATE BUTTON }")) {
    state.SkipWithError("the program failed");
    return;
  }
  int pass = 0;
  for (auto _ : state) {
    ++pass;
    const std::u16string n = std::u16string(1, static_cast<char16_t>(u'0' + pass % 10));
    if (!window.Run(u"FOR (I = 0, I < 195, I = I + 1) {\n"
                    u"C[I].LEFT = I * 3 + " +
                    n +
                    u"\nC[I].TOP = I * 2\n"
                    u"C[I].WIDTH = 40 + " +
                    n + u"\nC[I].HEIGHT = 20 + " + n + u" }")) {
      state.SkipWithError("the loop failed");
      return;
    }
  }
  state.counters["controls"] = 195;
}
BENCHMARK(BM_MoveAndResizeAllControls)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) { return vell::bench::RunGuiBenchmarks(argc, argv); }
