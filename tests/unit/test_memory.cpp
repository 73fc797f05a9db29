// Counting allocator and the word-wise copy and fill helpers.
#include "engine/system/debug.h"
#include "engine/system/memory.h"

#include <gtest/gtest.h>

#include <cstring>
#include <malloc.h>

struct debug_to_string {
    char *text = nullptr;
    size_t length = 0;
    FILE *stream;
    debug_to_string() : stream(open_memstream(&text, &length)) { _dbg_setstream(stream); }
    ~debug_to_string()
    {
        _dbg_setstream(stdout);
        fclose(stream);
        free(text);
    }
    std::string str()
    {
        fflush(stream);
        return std::string(text, length);
    }
};

TEST(Memory, CountsUsableSizesAndKeepsThePeak)
{
    const uint32_t start = g_mem_in_use;
    void *a = _wrap_malloc_dbg(10, "test", 1);
    ASSERT_NE(a, nullptr);
    const uint32_t a_size = (uint32_t)malloc_usable_size(a);
    EXPECT_GE(a_size, 10u);
    EXPECT_EQ(g_mem_in_use, start + a_size);

    void *b = _wrap_malloc_iwram_dbg(1000, "test", 2);
    ASSERT_NE(b, nullptr);
    const uint32_t high = g_mem_in_use;
    EXPECT_EQ(high, start + a_size + (uint32_t)malloc_usable_size(b));
    EXPECT_GE(g_mem_in_use_peak, high);

    _wrap_free_iwram_dbg(b, "test", 3);
    _wrap_free_dbg(a, "test", 4);
    EXPECT_EQ(g_mem_in_use, start);
    EXPECT_GE(g_mem_in_use_peak, high) << "the peak stays";

    void *plain = _wrap_malloc(64);   // not counted
    EXPECT_EQ(g_mem_in_use, start);
    _wrap_free(plain);
    EXPECT_EQ(g_mem_in_use, start);
}

TEST(Memory, ReportsFailuresWithTheCallersSourceAndLine)
{
    const uint32_t start = g_mem_in_use, peak = g_mem_in_use_peak;
    debug_to_string out;
    _wrap_free_dbg(nullptr, "corefile/dirlist", 42);
    EXPECT_EQ(_wrap_malloc_dbg(SIZE_MAX / 2, "gfx/loader", 7), nullptr);
    EXPECT_EQ(out.str(),
              "corefile/dirlist(42): wrap_free() tried to free a NULL pointer!\n"
              "gfx/loader(7): wrap_malloc(" + std::to_string(SIZE_MAX / 2) + ") failed!\n");
    EXPECT_EQ(g_mem_in_use, start);
    EXPECT_EQ(g_mem_in_use_peak, peak);
}

TEST(Memory, ShowUsagePrintsInUseAndPeak)
{
    debug_to_string out;
    wrap_showusage();
    EXPECT_EQ(out.str(), "memory usage: " + std::to_string(g_mem_in_use) + " (peak: " +
                             std::to_string(g_mem_in_use_peak) + ")\n");
}

TEST(Memory, CopyAndFillStopExactlyAtTheirLength)
{
    unsigned char buffer[12];
    memset(buffer, 0x11, sizeof buffer);
    wrap_memset(buffer + 1, 0xAB, 7);   // one word, then three bytes
    EXPECT_EQ(buffer[0], 0x11);
    for (int i = 1; i <= 7; i++)
        EXPECT_EQ(buffer[i], 0xAB) << i;
    EXPECT_EQ(buffer[8], 0x11);

    memset(buffer, 0x11, sizeof buffer);
    wrap_memset(buffer, 0x1CD, 3);   // bytes only: the low byte of the value
    EXPECT_EQ(buffer[0], 0xCD);
    EXPECT_EQ(buffer[2], 0xCD);
    EXPECT_EQ(buffer[3], 0x11);

    memset(buffer, 0x11, sizeof buffer);
    wrap_memclr(buffer + 3, 6);
    EXPECT_EQ(buffer[2], 0x11);
    EXPECT_EQ(buffer[3], 0);
    EXPECT_EQ(buffer[8], 0);
    EXPECT_EQ(buffer[9], 0x11);

    const unsigned char source[12] = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12};
    memset(buffer, 0, sizeof buffer);
    wrap_memcpy(buffer + 1, source, 6);   // unaligned destination
    EXPECT_EQ(memcmp(buffer + 1, source, 6), 0);
    EXPECT_EQ(buffer[7], 0);

    memset(buffer, 0, sizeof buffer);
    wrap_memcpy16(buffer, source, 3);
    EXPECT_EQ(memcmp(buffer, source, 6), 0);
    EXPECT_EQ(buffer[6], 0);
    wrap_memcpy32(buffer, source, 2);
    EXPECT_EQ(memcmp(buffer, source, 8), 0);
    EXPECT_EQ(buffer[8], 0);
}
