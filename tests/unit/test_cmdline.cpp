// The command-line splitter: whitespace, quotes and plain backslashes, with
// every argument inside the one block it allocates.
#include "engine/platform/cmdline.h"

#include <gtest/gtest.h>

#include <malloc.h>
#include <string.h>
#include <string>
#include <vector>

TEST(CommandLine, SplitsIntoArgumentsInsideOneBlock)
{
    using Args = std::vector<std::string>;
    const struct { const char *text; Args args; } rows[] = {
        {"prog \"a b\" c", {"prog", "a b", "c"}},
        {"prog  a\t\tb\r\nc ", {"prog", "a", "b", "c"}},
        {"x\"y z\"w next", {"xy zw", "next"}},  // quotes join onto the text around them
        {"a \"b c", {"a", "b c"}},              // an unclosed quote runs to the end
        {"C:\\dir\\ \"q\\\"\"", {"C:\\dir\\", "q\\"}},  // backslashes are plain
        {"\"\" \"\" \"\"", {"", "", ""}},       // the most text per character
        {"a b c d e f g h i", {"a", "b", "c", "d", "e", "f", "g", "h", "i"}},  // the most pointers
        {nullptr, {}},
    };
    for (const auto &row : rows) {
        int argc = -1;
        char **argv = CommandLineToArgvA(row.text, &argc);
        EXPECT_EQ(Args(argv, argv + argc), row.args) << (row.text ? row.text : "null");
        EXPECT_EQ(argv[argc], nullptr);
        const char *end = (const char *)argv + malloc_usable_size(argv);
        for (int i = 0; i < argc; i++)
            EXPECT_TRUE(argv[i] >= (const char *)(argv + argc + 1) && argv[i] + strlen(argv[i]) < end) << row.text;
        free(argv);
    }
}
