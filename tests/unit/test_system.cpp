// Counting allocator, word-wise copy and fill, and the debug channel.
#include "engine/system/debug.h"
#include "engine/system/memory.h"
#include "tests/unit/said.h"

#include <gtest/gtest.h>

#include <malloc.h>
#include <unistd.h>

TEST(Memory, CountsUsableSizesAndKeepsThePeak)
{
    const uint32_t start = g_mem_in_use;
    void *a = _wrap_malloc_dbg(10, "test", 1);
    void *b = _wrap_malloc_iwram_dbg(1000, "test", 2);
    ASSERT_TRUE(a && b);
    const uint32_t high = g_mem_in_use;
    EXPECT_EQ(high, start + (uint32_t)(malloc_usable_size(a) + malloc_usable_size(b)));
    _wrap_free_iwram_dbg(b, "test", 3);
    _wrap_free_dbg(a, "test", 4);
    _wrap_free(_wrap_malloc(64));
    EXPECT_EQ(g_mem_in_use, start) << "plain calls are not counted";
    EXPECT_GE(g_mem_in_use_peak, high) << "the peak stays";
    EXPECT_EQ(said(wrap_showusage), "memory usage: " + std::to_string(start) + " (peak: " +
                                        std::to_string(g_mem_in_use_peak) + ")\n");

    // Failures name the caller's source and line.
    EXPECT_EQ(said([] {
                  _wrap_free_dbg(nullptr, "corefile/dirlist", 42);
                  EXPECT_EQ(_wrap_malloc_dbg(SIZE_MAX / 2, "gfx/loader", 7), nullptr);
              }),
              "corefile/dirlist(42): wrap_free() tried to free a NULL pointer!\n"
              "gfx/loader(7): wrap_malloc(" + std::to_string(SIZE_MAX / 2) + ") failed!\n");
}

// Copy and fill stop exactly at their length (a word, then bytes); a fill
// takes the value's low byte. The debug channel prints formatted, or nowhere.
TEST(Memory, CopyFillAndDebugChannel)
{
    std::string buffer(18, '.');
    wrap_memset(&buffer[1], 'f', 7);
    wrap_memclr(&buffer[2], 2);
    wrap_memcpy(&buffer[9], "0123456", 7);
    wrap_memset(&buffer[16], 0x100 + 'z', 1);
    EXPECT_EQ(buffer, std::string(".f\0\0ffff.0123456z.", 18));
    EXPECT_EQ(said([] {
                  _dbg_printf("numfiles: %d\n", 12);
                  _dbg_setstream(nullptr);
                  _dbg_printf("silenced\n");
                  _dbg_setstream(stdout);
              }),
              "numfiles: 12\n");
}

TEST(DebugDeathTest, AssertAndErrorEndTheProcessWithStatusOne)
{
    // The fatal calls print on standard output; death tests watch standard error.
    auto to_stderr = [] { dup2(STDERR_FILENO, STDOUT_FILENO); };
    EXPECT_EXIT((to_stderr(), _dbg_assert("video/video", 12, "width > 0")), testing::ExitedWithCode(1),
                "^video/video\\(12\\): assertion failed: width > 0\n$");
    EXPECT_EXIT((to_stderr(), error("no archive")), testing::ExitedWithCode(1), "^Error: no archive\n$");
    // Even a silenced channel does not swallow a fatal report.
    EXPECT_EXIT((to_stderr(), _dbg_setstream(nullptr), error("quiet")), testing::ExitedWithCode(1), "Error: quiet");
}
