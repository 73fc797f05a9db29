// The baseline that the grid and effect benchmarks are read against, in
// the same run: one whole-grid FillBlock.
#pragma once

#include <benchmark/benchmark.h>

#include "app/grid/blockgrid.h"

inline void BM_FillBlockBaseline(benchmark::State &state)
{
    for (auto _ : state) {
        FillBlock(3);
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_FillBlockBaseline);
