// The string-list and text-file services on large lists and files.
#include <benchmark/benchmark.h>
#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <string>

#include "core/interpreter_state.h"
#include "library/service_router.h"
#include "platform/text_codec.h"

using namespace vell;

namespace {

class NoErrors : public vell::ServiceErrorSink {
 public:
  void ShowServiceError(std::u16string_view) override {}
};

std::u16string MakeList(int items) {
  std::u16string list;
  for (int i = 0; i < items; ++i) {
    // Items in a scrambled order, of mixed case.
    const int n = (i * 7919) % items;
    list += (n % 2 == 0) ? u"Item " : u"item ";
    for (char c : std::to_string(n)) list += static_cast<char16_t>(c);
    list += u"\r\n";
  }
  return list;
}

void Request(Interpreter& interp, int service, const std::u16string& list, int arg) {
  NoErrors errors;
  interp.requestSlots[1].SetItem(vellvar(service));
  interp.requestSlots[2].SetItem(vellvar(std::u16string_view(list)));
  interp.requestSlots[3].SetItem(vellvar(arg));
  vell::RouteServiceRequest(interp, errors);
}

void BM_ListService(benchmark::State& state, int service) {
  auto interp = std::make_unique<Interpreter>();
  const std::u16string list = MakeList(static_cast<int>(state.range(0)));
  for (auto _ : state) {
    Request(*interp, service, list, static_cast<int>(state.range(0)) / 2);
    benchmark::DoNotOptimize(interp->requestSlots[1].item.Bytes());
  }
  state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK_CAPTURE(BM_ListService, CountList, 1001)->Arg(1000)->Arg(100000);
BENCHMARK_CAPTURE(BM_ListService, GetList, 1002)->Arg(1000)->Arg(100000);
BENCHMARK_CAPTURE(BM_ListService, AddList, 1004)->Arg(1000)->Arg(100000);
BENCHMARK_CAPTURE(BM_ListService, SortList, 1008)->Arg(1000)->Arg(100000);

// GETKEYLIST of the name of the middle item of a list of name=value items.
void BM_GetKeyList(benchmark::State& state) {
  const int items = static_cast<int>(state.range(0));
  std::u16string list;
  for (int i = 0; i < items; ++i) {
    for (char c : "Key " + std::to_string(i) + "=" + std::to_string(i)) list += static_cast<char16_t>(c);
    list += u"\r\n";
  }
  std::u16string name = u"KEY ";
  for (char c : std::to_string(items / 2)) name += static_cast<char16_t>(c);
  auto interp = std::make_unique<Interpreter>();
  NoErrors errors;
  for (auto _ : state) {
    interp->requestSlots[1].SetItem(vellvar(int(ServiceGetKeyList)));
    interp->requestSlots[2].SetItem(vellvar(std::u16string_view(list)));
    interp->requestSlots[3].SetItem(vellvar(std::u16string_view(name)));
    vell::RouteServiceRequest(*interp, errors);
    benchmark::DoNotOptimize(interp->requestSlots[1].item.Bytes());
  }
  state.SetItemsProcessed(state.iterations() * items);
}
BENCHMARK(BM_GetKeyList)->Arg(1000)->Arg(100000);

void BM_ReadFile(benchmark::State& state) {
  char pattern[] = "/tmp/vell-bench-XXXXXX";
  if (::mkdtemp(pattern) == nullptr) {
    state.SkipWithError("no temporary folder");
    return;
  }
  const std::string path = std::string(pattern) + "/big.txt";
  std::ofstream(path, std::ios::binary)
      << vell::text::WideToUtf8(MakeList(static_cast<int>(state.range(0))));
  auto interp = std::make_unique<Interpreter>();
  const std::u16string widePath = vell::text::Utf8ToWide(path);
  for (auto _ : state) {
    Request(*interp, ServiceReadFile, widePath, 0);
    benchmark::DoNotOptimize(interp->requestSlots[1].item.Bytes());
  }
  state.SetItemsProcessed(state.iterations() * state.range(0));
  std::filesystem::remove_all(pattern);
}
BENCHMARK(BM_ReadFile)->Arg(100000);

}  // namespace

BENCHMARK_MAIN();
