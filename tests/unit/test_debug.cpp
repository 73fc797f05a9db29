// Debug channel: formatted output, redirection, and the two fatal calls.
#include "engine/system/debug.h"

#include <gtest/gtest.h>

#include <unistd.h>

TEST(Debug, PrintsFormattedToTheChosenStreamOrNowhere)
{
    char *text = nullptr;
    size_t length = 0;
    FILE *stream = open_memstream(&text, &length);
    _dbg_setstream(stream);
    _dbg_printf("numfiles: %d\n", 12);
    _dbg_setstream(nullptr);
    _dbg_printf("silenced\n");
    _dbg_setstream(stdout);
    fclose(stream);
    EXPECT_EQ(std::string(text, length), "numfiles: 12\n");
    free(text);
}

// The fatal calls print on standard output; death tests watch standard error.
static void to_stderr()
{
    dup2(STDERR_FILENO, STDOUT_FILENO);
}

TEST(DebugDeathTest, AssertAndErrorEndTheProcessWithStatusOne)
{
    EXPECT_EXIT((to_stderr(), _dbg_assert("video/video", 12, "width > 0")), testing::ExitedWithCode(1),
                "^video/video\\(12\\): assertion failed: width > 0\n$");
    EXPECT_EXIT((to_stderr(), error("no archive")), testing::ExitedWithCode(1), "^Error: no archive\n$");
    // Even a silenced channel does not swallow a fatal report.
    EXPECT_EXIT((to_stderr(), _dbg_setstream(nullptr), error("quiet")), testing::ExitedWithCode(1),
                "Error: quiet");
}
