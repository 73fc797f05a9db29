// Archive lookups and whole-file loads. Baselines in the same run: hashing
// the name alone (the floor of a lookup) and a plain stdio read of the same
// bytes (the floor of a load).
#include "engine/corefile/corefile.h"
#include "engine/system/debug.h"
#include "engine/system/memory.h"
#include "tools/corepack/archive_writer.h"

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <string>
#include <unistd.h>

// An archive of COUNT names shaped like the demo's (gfx/NNNN.tga), mounted.
struct mounted_archive {
    char path[32] = "/tmp/bench_corefile-XXXXXX";
    std::vector<std::string> names;
    explicit mounted_archive(int count, size_t filesize = 16)
    {
        std::vector<pack_file> files;
        for (int i = 0; i < count; i++) {
            names.push_back("gfx/picture" + std::to_string(i) + ".tga");
            files.push_back({names.back(), std::vector<uint8_t>(filesize, (uint8_t)i)});
        }
        int fd = mkstemp(path);
        FILE *out = fd >= 0 ? fdopen(fd, "wb") : nullptr;
        if (!out || !pack_write(out, 0, files) || fclose(out) != 0)
            abort();
        _dbg_setstream(nullptr);
        corefile_mountimage(path, COREFILE_KIND_ARCHIVE);
    }
    ~mounted_archive()
    {
        corefile_closeimage();
        _dbg_setstream(stdout);
        unlink(path);
    }
};

static void BM_HashOnly(benchmark::State &state)
{
    const std::string name = "GFX/Picture" + std::to_string(state.range(0) - 1) + ".TGA";
    for (auto _ : state)
        benchmark::DoNotOptimize(corefile_gethash(name.c_str()));
}

// Looks up the last entry: the full linear scan.
static void BM_OpenLast(benchmark::State &state)
{
    mounted_archive archive((int)state.range(0));
    const std::string name = "GFX/Picture" + std::to_string(state.range(0) - 1) + ".TGA";
    s_corefile f;
    for (auto _ : state)
        benchmark::DoNotOptimize(corefile_open(name.c_str(), &f, 0));
}

static void BM_OpenMissing(benchmark::State &state)
{
    mounted_archive archive((int)state.range(0));
    s_corefile f;
    for (auto _ : state)
        benchmark::DoNotOptimize(corefile_open("gfx/absent.tga", &f, 0));
}

BENCHMARK(BM_HashOnly)->Arg(64)->Arg(4096);
BENCHMARK(BM_OpenLast)->Arg(64)->Arg(512)->Arg(4096);
BENCHMARK(BM_OpenMissing)->Arg(64)->Arg(4096);

static void BM_FreadBaseline(benchmark::State &state)
{
    mounted_archive archive(8, (size_t)state.range(0));
    std::vector<uint8_t> buffer((size_t)state.range(0));
    FILE *f = fopen(archive.path, "rb");
    for (auto _ : state) {
        fseek(f, (long)corefile_image.offsets[7], SEEK_SET);
        benchmark::DoNotOptimize(fread(buffer.data(), 1, buffer.size(), f));
    }
    fclose(f);
    state.SetBytesProcessed(state.iterations() * state.range(0));
}

static void BM_LoadBuffer(benchmark::State &state)
{
    mounted_archive archive(8, (size_t)state.range(0));
    const std::string name = archive.names[7];
    for (auto _ : state) {
        void *data = corefile_loadbuffer(name.c_str());
        benchmark::DoNotOptimize(data);
        _wrap_free_dbg(data, "bench", __LINE__);
    }
    state.SetBytesProcessed(state.iterations() * state.range(0));
}

BENCHMARK(BM_FreadBaseline)->Arg(4096)->Arg(1 << 20);
BENCHMARK(BM_LoadBuffer)->Arg(4096)->Arg(1 << 20);
