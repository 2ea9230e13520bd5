// Lines without a break in the window: a program whose one line holds a long
// text literal shown in the program area, and a long text without line
// breaks printed into the output area. Both must grow linearly with the
// length of the line.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QPlainTextEdit>
#include <QTextDocument>
#include <memory>
#include <string>

#include "bench/support/gui_bench.h"
#include "core/interpreter.h"
#include "host/form_main.h"
#include "platform/qt/long_runs.h"
#include "platform/qt/memo_text.h"

namespace {

// The program area shows a program of one line: PRINT LEN("xxx…").
void BM_ShowProgramWithOneLongLine(benchmark::State& state) {
  const auto form = vell::bench::ShownMainWindow();
  const std::u16string program =
      u"PRINT LEN(\"" + std::u16string(static_cast<size_t>(state.range(0)), u'x') + u"\")";
  for (auto _ : state) {
    vell::qt::SetMemoText(*form->MemoProg, u"");
    QCoreApplication::processEvents();
    vell::qt::SetMemoText(*form->MemoProg, program);
    form->MemoProg->repaint();
    QCoreApplication::processEvents();  // laid out and painted
  }
  state.counters["chars"] = static_cast<double>(form->MemoProg->document()->characterCount());
}
BENCHMARK(BM_ShowProgramWithOneLongLine)
    ->Arg(100000)
    ->Arg(300000)
    ->Arg(1000000)
    ->Unit(benchmark::kMillisecond);

// The worst case that keeps word wrapping: one line of runs just short of
// the length that counts as long, each followed by a space.
void BM_ShowLineOfRunsJustShortOfLong(benchmark::State& state) {
  const auto form = vell::bench::ShownMainWindow();
  std::u16string line;
  while (line.size() < static_cast<size_t>(state.range(0))) {
    line += std::u16string(vell::qt::kLongRun - 1, u'w') + u' ';
  }
  for (auto _ : state) {
    vell::qt::SetMemoText(*form->MemoProg, u"");
    QCoreApplication::processEvents();
    vell::qt::SetMemoText(*form->MemoProg, line);
    form->MemoProg->repaint();
    QCoreApplication::processEvents();
  }
  state.counters["chars"] = static_cast<double>(line.size());
}
BENCHMARK(BM_ShowLineOfRunsJustShortOfLong)->Arg(1000000)->Unit(benchmark::kMillisecond);

// PRINT of a text without line breaks: "x" doubled up to the length asked
// (a power of two).
void BM_PrintOneLongLine(benchmark::State& state) {
  const auto form = vell::bench::ShownMainWindow();
  int doublings = 0;
  while ((int64_t{1} << doublings) < state.range(0)) ++doublings;
  const std::u16string program = u"DIM I, S\nS = \"x\"\nFOR (I = 0, I < " +
                                 QString::number(doublings).toStdU16String() +
                                 u", I = I + 1) { S = S + S }\nPRINT S";
  vell::qt::SetMemoText(*form->MemoProg, program);
  for (auto _ : state) {
    form->MenuProgClsClick();
    form->MenuProgRunClick();
    form->MemoOut->repaint();
    QCoreApplication::processEvents();  // laid out and painted
  }
  state.counters["chars"] = static_cast<double>(form->MemoOut->document()->characterCount() - 1);
}
BENCHMARK(BM_PrintOneLongLine)
    ->Arg(1 << 17)
    ->Arg(1 << 18)
    ->Arg(1 << 20)
    ->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) { return vell::bench::RunGuiBenchmarks(argc, argv); }
