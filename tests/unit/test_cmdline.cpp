#include "engine/platform/cmdline.h"

#include <gtest/gtest.h>

#include <malloc.h>
#include <stdlib.h>
#include <string.h>
#include <string>
#include <vector>

using Args = std::vector<std::string>;

TEST(CommandLine, SplitsOnWhitespaceAndGroupsQuotes)
{
    const struct { const char *text; Args args; } rows[] = {
        {"prog \"a b\" c", {"prog", "a b", "c"}},
        {"prog  a\t\tb\r\nc ", {"prog", "a", "b", "c"}},
        {"x\"y z\"w next", {"xy zw", "next"}},  // quotes join onto the text around them
        {"a \"b c", {"a", "b c"}},              // an unclosed quote runs to the end
        {"C:\\dir\\ \"q\\\"\"", {"C:\\dir\\", "q\\"}},  // backslashes are plain
        {"\"\" \"\" \"\"", {"", "", ""}},
        {nullptr, {}},
    };
    for (const auto &row : rows) {
        int argc = -1;
        char **argv = CommandLineToArgvA(row.text, &argc);
        EXPECT_EQ(Args(argv, argv + argc), row.args) << (row.text ? row.text : "null");
        EXPECT_EQ(argv[argc], nullptr);
        free(argv);
    }
}

// Every line of up to 9 of the characters that drive the splitter: the
// pointers, then the text, must fit the one block it allocated.
TEST(CommandLine, NoLineOutgrowsItsBlock)
{
    char text[10];
    for (int len = 0, total = 1; len <= 9; len++, total *= 3) {
        for (int n = 0; n < total; n++) {
            for (int i = 0, v = n; i < len; i++, v /= 3) text[i] = "a\" "[v % 3];
            text[len] = '\0';
            int argc = 0;
            char **argv = CommandLineToArgvA(text, &argc);
            const char *end = (const char *)argv + malloc_usable_size(argv);
            for (int i = 0; i < argc; i++) {
                ASSERT_GE(argv[i], (const char *)(argv + argc + 1)) << text;
                ASSERT_LT(argv[i] + strlen(argv[i]), end) << text;
            }
            free(argv);
        }
    }
}
