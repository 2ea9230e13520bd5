// Values and tree nodes: conversions, appends, child access.
#include <benchmark/benchmark.h>

#include <string>

#include "core/vellarray.h"
#include "core/vellvar.h"

using namespace vell;

namespace {

void BM_IntToWideText(benchmark::State& state) {
  int i = 0;
  vellvar v;
  for (auto _ : state) {
    v = ++i * 7919;
    benchmark::DoNotOptimize(v.WideText());
  }
}
BENCHMARK(BM_IntToWideText);

void BM_RealToNarrowText(benchmark::State& state) {
  double d = 0.0;
  vellvar v;
  for (auto _ : state) {
    d += 1.0 / 3;
    v = d;
    benchmark::DoNotOptimize(v.Text());
  }
}
BENCHMARK(BM_RealToNarrowText);

void BM_WideTextToInt(benchmark::State& state) {
  vellvar v(u"  -123456789");
  for (auto _ : state) benchmark::DoNotOptimize(v.ToInt());
}
BENCHMARK(BM_WideTextToInt);

void BM_WideTextToReal(benchmark::State& state) {
  vellvar v(u"3.14159265358979e-3");
  for (auto _ : state) benchmark::DoNotOptimize(v.ToReal());
}
BENCHMARK(BM_WideTextToReal);

void BM_WideToNarrowAndBack(benchmark::State& state) {
  for (auto _ : state) {
    vellvar v(u"日本語のテキストと ASCII text");
    v.ChangeKind(KindNarrow);
    v.ChangeKind(KindWide);
    benchmark::DoNotOptimize(v.Bytes());
  }
}
BENCHMARK(BM_WideToNarrowAndBack);

// A wide string grown one short piece at a time (a += "x" in a loop).
void BM_WideAppend(benchmark::State& state) {
  const vellvar piece(u"abc");
  for (auto _ : state) {
    vellvar s(u"");
    for (int64_t i = 0; i < state.range(0); ++i) s += piece;
    benchmark::DoNotOptimize(s.Bytes());
  }
  state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_WideAppend)->Arg(100)->Arg(10000);

// X[i] for i = 0 .. n-1, first creating the children, then reading them.
void BM_NodeByPosition(benchmark::State& state) {
  const int n = int(state.range(0));
  for (auto _ : state) {
    vellarray root;
    for (int i = 0; i < n; ++i) root.GetNode(vellvar(i))->SetItem(vellvar(i));
    int64_t sum = 0;
    for (int i = 0; i < n; ++i) sum += root.GetNode(vellvar(i))->ItemInt();
    benchmark::DoNotOptimize(sum);
  }
  state.SetItemsProcessed(state.iterations() * n * 2);
}
BENCHMARK(BM_NodeByPosition)->Arg(1000)->Arg(100000)->Unit(benchmark::kMillisecond);

// Lookups by key among n named children (a linear search by nature).
void BM_NodeByKey(benchmark::State& state) {
  const int n = int(state.range(0));
  vellarray root;
  std::u16string name;
  for (int i = 0; i < n; ++i) {
    name = u"key" + std::u16string(1, char16_t(u'A' + i % 26)) + char16_t(u'0' + i / 26 % 10) +
           char16_t(u'0' + i / 260);
    root.GetNodeByKey(vellvar(name));
  }
  const vellvar last(name);
  const vellvar first(root.Child(0)->Key());
  for (auto _ : state) {
    benchmark::DoNotOptimize(root.GetNodeByKey(first));
    benchmark::DoNotOptimize(root.GetNodeByKey(last));
  }
  state.SetItemsProcessed(state.iterations() * 2);
}
BENCHMARK(BM_NodeByKey)->Arg(10)->Arg(1000);

void BM_DeepCopyAndRelease(benchmark::State& state) {
  vellarray source;
  for (int i = 0; i < 100; ++i) {
    vellarray* row = source.GetNode(vellvar(i));
    for (int j = 0; j < 10; ++j) row->GetNode(vellvar(j))->SetItem(vellvar(i * j));
  }
  for (auto _ : state) {
    vellarray copy;
    copy.CopyFrom(source);
    benchmark::DoNotOptimize(copy.Child(0));
  }
  state.SetItemsProcessed(state.iterations() * 1100);
}
BENCHMARK(BM_DeepCopyAndRelease);

}  // namespace

BENCHMARK_MAIN();
