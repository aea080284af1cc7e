// Loading the layer table of a package: parse the clear configuration once
// and look up every layer. It must grow linearly with the number of layers:
// the fit is to N, and its RMS tells how far the figures are from a line.

#include <benchmark/benchmark.h>

#include "core/config/profile.h"
#include "core/config/layer_table.h"
#include "samples/sample_package.h"

namespace {

void BM_LayerTableLoad(benchmark::State& state) {
  const int layers = static_cast<int>(state.range(0));
  const std::string text = atrybuty::samples::ClearConfiguration(atrybuty::samples::LargePackage(layers));
  for (auto _ : state) {
    auto table = atrybuty::LoadLayerTable(atrybuty::Profile::Parse(text));
    benchmark::DoNotOptimize(table);
  }
  state.SetComplexityN(layers);
  state.counters["layers"] = layers;
  state.counters["ns_per_layer"] = benchmark::Counter(
      static_cast<double>(layers), benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}
BENCHMARK(BM_LayerTableLoad)->Arg(1000)->Arg(8000)->Arg(32767)->Unit(benchmark::kMillisecond)->Complexity(benchmark::oN);

}  // namespace
