// Text boxes: 100000 short lines appended by a program's T.PRINT in the
// window and straight into the edit, reading and setting the selection start
// at the end of a 1 MB text, and printing a 100-page text into a PDF file.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QPrinter>
#include <QTemporaryDir>
#include <cstdlib>
#include <memory>

#include "components/widgets/text_box_printing.h"
#include "host/form_main.h"
#include "platform/qt/memo_edit.h"
#include "platform/qt/memo_text.h"

namespace {

// A program in the window: T.PRINT of 100000 short lines into a text box.
void BM_TPrint100000LinesInWindow(benchmark::State& state) {
  auto form = std::make_unique<TFormMain>();
  form->FormCreate({QStringLiteral("vell")});
  form->show();
  QCoreApplication::processEvents();
  vell::qt::SetMemoText(*form->MemoProg,
                        u"GLOBAL T\nDIM I\nT = CREATE TEXTBOX\n"
                        u"FOR (I = 0, I < 100000, I = I + 1) { T.PRINT \"line\\n\" }");
  int blocks = 0;
  for (auto _ : state) {
    form->MenuProgClsClick();
    form->MenuProgRunClick();
    for (MemoEdit* box : form->PanelOut->findChildren<MemoEdit*>()) {
      if (box == form->MemoOut) continue;
      box->FlushOutput();  // the last lines are in and painted too
      QCoreApplication::processEvents();
      blocks = box->document()->blockCount();
    }
  }
  state.counters["blocks"] = blocks;
}
BENCHMARK(BM_TPrint100000LinesInWindow)->Unit(benchmark::kMillisecond);

// The same lines appended to the edit directly.
void BM_Append100000Lines(benchmark::State& state) {
  MemoEdit edit;
  edit.resize(300, 200);
  edit.show();
  QCoreApplication::processEvents();
  for (auto _ : state) {
    edit.SetText(u"");
    for (int i = 0; i < 100000; ++i) edit.AppendOutput(u"line\n");
    QCoreApplication::processEvents();  // the last lines are painted too
  }
  state.counters["blocks"] = edit.document()->blockCount();
}
BENCHMARK(BM_Append100000Lines)->Unit(benchmark::kMillisecond);

// 1 MB of text in lines of 62 characters, the caret at the end.
std::u16string Megabyte() {
  std::u16string text;
  const std::u16string line = std::u16string(60, u'x') + u"\r\n";
  while (text.size() * 2 < 1024 * 1024) text += line;
  return text;
}

void BM_ReadSelStartAtEndOf1MB(benchmark::State& state) {
  MemoEdit edit;
  edit.SetText(Megabyte());
  edit.moveCursor(QTextCursor::End);
  int start = 0;
  for (auto _ : state) {
    start = edit.SelStart();
    benchmark::DoNotOptimize(start);
  }
  state.counters["selstart"] = start;
}
BENCHMARK(BM_ReadSelStartAtEndOf1MB)->Unit(benchmark::kMicrosecond);

void BM_SetSelStartAtEndOf1MB(benchmark::State& state) {
  MemoEdit edit;
  const std::u16string text = Megabyte();
  edit.SetText(text);
  const int end = static_cast<int>(text.size()) - 5;
  for (auto _ : state) {
    edit.SetSelStart(end);
    edit.SetSelStart(end - 70);
  }
}
BENCHMARK(BM_SetSelStartAtEndOf1MB)->Unit(benchmark::kMicrosecond);

// The printer, counting the pages it starts.
class CountingSurface : public vell::widgets::PrinterSurface {
 public:
  using PrinterSurface::PrinterSurface;
  void NewPage() override {
    ++pages;
    PrinterSurface::NewPage();
  }
  int pages = 1;
};

void BM_Print100PagesToPdf(benchmark::State& state) {
  QTemporaryDir dir;
  qputenv("VELL_PRINT_PDF", dir.filePath(QStringLiteral("bench.pdf")).toLocal8Bit());
  MemoEdit edit;
  edit.resize(300, 200);
  std::u16string text;
  // 57 lines a page on A4 in the edit's font: 100 pages.
  for (int i = 0; i < 100 * 57; ++i) {
    text += u"Line " + std::u16string(1, static_cast<char16_t>(u'A' + i % 26)) +
            u"\tof a text printed to see how long a hundred pages take.\r\n";
  }
  edit.SetText(text);
  QPrinter printer(QPrinter::HighResolution);
  int pages = 0;
  for (auto _ : state) {
    QString error;
    CountingSurface surface(printer);
    if (!vell::widgets::PrintMemo(edit, surface, error)) state.SkipWithError("print failed");
    pages = surface.pages;
  }
  state.counters["pages"] = pages;
  qunsetenv("VELL_PRINT_PDF");
}
BENCHMARK(BM_Print100PagesToPdf)->Unit(benchmark::kMillisecond);

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
