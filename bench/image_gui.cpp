// Drawing on IMAGE bitmaps: the flood fill of a large bounded region, the
// three pixel effects over a million pixels, and 100,000 PIXEL writes from a
// program loop in the window (interpreter, requests and member included), at
// one pixel and, with a POS before each, at 100,000 different pixels.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <cstdlib>
#include <memory>

#include "components/widgets/image_control.h"
#include "components/widgets/image_pixels.h"
#include "core/interpreter_state.h"
#include "host/form_main.h"
#include "platform/qt/memo_text.h"

namespace {

// A 2000 x 2000 region inside a drawn square frame, with a drawn ellipse
// cutting into it. Each round fills it with the other of two colours.
void BM_Fill2000x2000(benchmark::State& state) {
  vell::ImageControl image;
  image.SetWidthAndBitmap(2002);
  image.SetHeightAndBitmap(2002);
  image.SetColor(0);
  const QPoint corners[] = {{0, 0}, {2001, 0}, {2001, 2001}, {0, 2001}, {0, 0}};
  image.SetPos(corners[0]);
  for (const QPoint& p : corners) image.LineTo(p);
  image.SetPos(QPoint(1500, 1500));
  image.Circle(1000, 1000);
  int round = 0;
  for (auto _ : state) {
    image.SetColor(++round % 2 == 0 ? 0x0000FF : 0xFF0000);
    image.SetPos(QPoint(1, 1));
    image.Fill();
  }
  state.counters["pixels"] = 2000.0 * 2000.0;
}
BENCHMARK(BM_Fill2000x2000)->Unit(benchmark::kMillisecond);

QImage Gradient(int side) {
  QImage image(side, side, QImage::Format_RGB32);
  for (int y = 0; y < side; ++y) {
    auto* row = reinterpret_cast<QRgb*>(image.scanLine(y));
    for (int x = 0; x < side; ++x) row[x] = qRgb(x & 0xFF, y & 0xFF, (x + y) & 0xFF);
  }
  return image;
}

void BM_Dark1000x1000(benchmark::State& state) {
  QImage image = Gradient(1000);
  for (auto _ : state) {
    vell::ScaleBrightness(image, QPoint(0, 0), 1000, 1000, 255);
    benchmark::ClobberMemory();
  }
}
BENCHMARK(BM_Dark1000x1000)->Unit(benchmark::kMillisecond);

void BM_Cross1000x1000(benchmark::State& state) {
  QImage image = Gradient(1000);
  const QImage scratch = Gradient(1000).mirrored(true, false);
  for (auto _ : state) {
    vell::BlendImage(image, QPoint(0, 0), scratch, 128);
    benchmark::ClobberMemory();
  }
}
BENCHMARK(BM_Cross1000x1000)->Unit(benchmark::kMillisecond);

void BM_Merge1000x1000(benchmark::State& state) {
  QImage image = Gradient(1000);
  const QImage scratch = Gradient(1000).mirrored(true, false);
  for (auto _ : state) {
    image.fill(qRgb(200, 150, 100));
    vell::MultiplyImage(image, QPoint(0, 0), scratch);
    benchmark::ClobberMemory();
  }
}
BENCHMARK(BM_Merge1000x1000)->Unit(benchmark::kMillisecond);

// Programs in the real window: the interpreter, the requests and the member.
void RunInWindow(benchmark::State& state, const char16_t* program) {
  auto form = std::make_unique<TFormMain>();
  form->FormCreate({QStringLiteral("vell")});
  form->show();
  QCoreApplication::processEvents();
  vell::qt::SetMemoText(*form->MemoProg, program);
  for (auto _ : state) {
    form->MenuProgRunClick();
    if (vell::gInterpreter->runState != 0) state.SkipWithError("the program failed");
  }
  state.SetItemsProcessed(state.iterations() * 100000);
}

// 100,000 PIXEL writes, one request each.
void BM_PixelWrites100000InWindow(benchmark::State& state) {
  RunInWindow(state,
              u"GLOBAL P\nP = CREATE IMAGE\nP.POS(5, 5)\nDIM I\n"
              u"FOR (I = 0, I < 100000, I = I + 1) { P.PIXEL = I }\nDELETE P");
}
BENCHMARK(BM_PixelWrites100000InWindow)->Unit(benchmark::kMillisecond);

// 100,000 different pixels: a POS before each PIXEL, so 200,000 requests.
void BM_PixelWritesWithPos100000InWindow(benchmark::State& state) {
  RunInWindow(state,
              u"GLOBAL P\nP = CREATE IMAGE\nP.WIDTH = 400\nP.HEIGHT = 250\nDIM I\n"
              u"FOR (I = 0, I < 100000, I = I + 1) {\n"
              u"  P.POS(MOD(I, 400), INT(I / 400))\n  P.PIXEL = I\n}\nDELETE P");
}
BENCHMARK(BM_PixelWritesWithPos100000InWindow)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
  if (std::getenv("QT_QPA_PLATFORM") == nullptr) setenv("QT_QPA_PLATFORM", "offscreen", 1);
  QApplication app(argc, argv);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
