// Components in the real window: a member read (X = B.LEFT) and a member
// write (B.LEFT = I) in a 100,000-pass loop, beside the same loop with a
// plain assignment, and CREATE then DELETE of a BUTTON 10,000 times, with the
// live widgets and the resident memory before and after.
//
// The cost of one access is (member loop - plain loop) / 100,000.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <QApplication>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>

#include "host/form_main.h"
#include "platform/qt/dialogs.h"
#include "platform/qt/memo_text.h"

namespace {

constexpr int kPasses = 100000;

// A program's error message is answered at once and counted, so that a
// failed run ends the benchmark instead of waiting for a click.
class CountedMessages : public vell::qt::DialogSeam {
 public:
  vell::qt::MessageAnswer AskYesNoAbort(QWidget*, const QString&, const QString& text) override {
    ++count;
    last = text;
    return vell::qt::MessageAnswer::No;
  }
  int count = 0;
  QString last;
};
CountedMessages gMessages;

bool Failed(benchmark::State& state) {
  if (gMessages.count == 0) return false;
  static std::string message;
  message = gMessages.last.toStdString();
  state.SkipWithError(message.c_str());
  gMessages.count = 0;
  return true;
}

std::unique_ptr<TFormMain> MakeWindow() {
  auto form = std::make_unique<TFormMain>();
  form->FormCreate({QStringLiteral("vell")});
  form->show();
  QCoreApplication::processEvents();
  return form;
}

void RunLoop(benchmark::State& state, const char16_t* program) {
  auto form = MakeWindow();
  vell::qt::SetMemoText(*form->MemoProg, program);
  for (auto _ : state) {
    form->MenuProgRunClick();
    if (Failed(state)) break;
  }
  state.SetItemsProcessed(state.iterations() * kPasses);
}

void BM_PlainAssignmentLoop(benchmark::State& state) {
  RunLoop(state,
          u"GLOBAL B, X\nB = CREATE BUTTON\nDIM I\n"
          u"FOR (I = 0, I < 100000, I = I + 1) { X = I }\nDELETE B");
}
BENCHMARK(BM_PlainAssignmentLoop)->Unit(benchmark::kMillisecond);

void BM_MemberReadLoop(benchmark::State& state) {
  RunLoop(state,
          u"GLOBAL B, X\nB = CREATE BUTTON\nDIM I\n"
          u"FOR (I = 0, I < 100000, I = I + 1) { X = B.LEFT }\nDELETE B");
}
BENCHMARK(BM_MemberReadLoop)->Unit(benchmark::kMillisecond);

void BM_MemberWriteLoop(benchmark::State& state) {
  RunLoop(state,
          u"GLOBAL B, X\nB = CREATE BUTTON\nDIM I\n"
          u"FOR (I = 0, I < 100000, I = I + 1) { B.LEFT = I }\nDELETE B");
}
BENCHMARK(BM_MemberWriteLoop)->Unit(benchmark::kMillisecond);

long ResidentKilobytes() {
  long pages = 0, resident = 0;
  if (std::FILE* f = std::fopen("/proc/self/statm", "r")) {
    if (std::fscanf(f, "%ld %ld", &pages, &resident) != 2) resident = 0;
    std::fclose(f);
  }
  return resident * (sysconf(_SC_PAGESIZE) / 1024);
}

void BM_CreateDeleteButton10000(benchmark::State& state) {
  auto form = MakeWindow();
  vell::qt::SetMemoText(*form->MemoProg,
                        u"GLOBAL B\nDIM I\n"
                        u"FOR (I = 0, I < 10000, I = I + 1) { B = CREATE BUTTON\nDELETE B }");
  // One run first, so that what a first run allocates once is not counted.
  form->MenuProgRunClick();
  QCoreApplication::processEvents();
  const auto widgetsBefore = QApplication::allWidgets().size();
  const long memoryBefore = ResidentKilobytes();
  for (auto _ : state) {
    form->MenuProgRunClick();
    if (Failed(state)) break;
  }
  QCoreApplication::processEvents();
  state.counters["widget_growth"] =
      static_cast<double>(QApplication::allWidgets().size() - widgetsBefore);
  state.counters["memory_growth_kb"] = static_cast<double>(ResidentKilobytes() - memoryBefore);
}
BENCHMARK(BM_CreateDeleteButton10000)->Unit(benchmark::kMillisecond)->Iterations(20);

}  // namespace

int main(int argc, char** argv) {
  if (std::getenv("QT_QPA_PLATFORM") == nullptr) setenv("QT_QPA_PLATFORM", "offscreen", 1);
  QApplication app(argc, argv);
  QApplication::setQuitOnLastWindowClosed(false);
  vell::qt::SetDialogs(&gMessages);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
