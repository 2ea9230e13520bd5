// What the window benchmarks share: the main window made, shown and settled
// before timing starts, and the main function that runs the benchmarks under
// a QApplication (offscreen unless a platform is chosen).
#pragma once

#include <benchmark/benchmark.h>

#include <QApplication>
#include <cstdlib>
#include <memory>

#include "host/form_main.h"

namespace vell::bench {

inline std::unique_ptr<TFormMain> ShownMainWindow() {
  auto form = std::make_unique<TFormMain>();
  form->FormCreate({QStringLiteral("vell")});
  form->show();
  QCoreApplication::processEvents();
  return form;
}

inline int RunGuiBenchmarks(int argc, char** argv) {
  if (std::getenv("QT_QPA_PLATFORM") == nullptr) setenv("QT_QPA_PLATFORM", "offscreen", 1);
  QApplication app(argc, argv);
  QApplication::setQuitOnLastWindowClosed(false);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}

}  // namespace vell::bench
