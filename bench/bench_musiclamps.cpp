// Cost of the drive-lamp analysis per frame (16 Goertzel passes over one
// 2048-value mix block), against a plain sum over the same block.
#include <benchmark/benchmark.h>

#include <cmath>
#include <vector>

#include "app/monitor/musiclamps.h"

static std::vector<int32_t> Block()
{
    std::vector<int32_t> block(2048);
    for (int i = 0; i < 2048; i++)
        block[i] = (int32_t)(8000 * sin(i * 0.05) * 126);
    return block;
}

static void BM_BlockSumBaseline(benchmark::State &state)
{
    std::vector<int32_t> block = Block();
    for (auto _ : state) {
        int64_t sum = 0;
        for (int32_t v : block)
            sum += v;
        benchmark::DoNotOptimize(sum);
    }
}
BENCHMARK(BM_BlockSumBaseline);

static void BM_ComputeMusicLamps(benchmark::State &state)
{
    std::vector<int32_t> block = Block();
    unsigned char lamps[MUSICLAMP_COUNT];
    for (auto _ : state) {
        ComputeMusicLamps(block.data(), 2048, 44100, lamps);
        benchmark::DoNotOptimize(lamps);
    }
}
BENCHMARK(BM_ComputeMusicLamps);
