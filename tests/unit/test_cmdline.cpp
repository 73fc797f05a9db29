#include "engine/platform/cmdline.h"

#include <gtest/gtest.h>

#include <stdlib.h>
#include <string.h>
#include <string>
#include <vector>

static std::vector<std::string> split(const char *text)
{
    int argc = -1;
    char **argv = CommandLineToArgvA(text, &argc);
    std::vector<std::string> args;
    for (int i = 0; i < argc; i++) args.push_back(argv[i]);
    EXPECT_EQ(argv[argc], nullptr);
    free(argv);
    return args;
}

using Args = std::vector<std::string>;

TEST(CommandLine, SplitsOnWhitespaceAndGroupsQuotes)
{
    EXPECT_EQ(split("prog \"a b\" c"), (Args{"prog", "a b", "c"}));
    EXPECT_EQ(split("prog  a\t\tb\r\nc "), (Args{"prog", "a", "b", "c"}));
    EXPECT_EQ(split("  leading"), (Args{"leading"}));
    // Quotes join onto the text around them and are dropped.
    EXPECT_EQ(split("x\"y z\"w next"), (Args{"xy zw", "next"}));
    // An unclosed quote runs to the end.
    EXPECT_EQ(split("a \"b c"), (Args{"a", "b c"}));
    // Backslashes are ordinary characters.
    EXPECT_EQ(split("C:\\dir\\ \"q\\\"\""), (Args{"C:\\dir\\", "q\\"}));
}

TEST(CommandLine, EmptyQuotesMakeAnEmptyArgument)
{
    EXPECT_EQ(split("prog \"\" c"), (Args{"prog", "", "c"}));
    EXPECT_EQ(split("\"\""), (Args{""}));
    EXPECT_EQ(split("\"\" \"\" \"\""), (Args{"", "", ""}));
}

TEST(CommandLine, NothingGivesNoArguments)
{
    EXPECT_EQ(split(""), Args{});
    EXPECT_EQ(split(" \t "), Args{});
    EXPECT_EQ(split(nullptr), Args{});
}

// Every line of up to 9 characters made of the characters that drive the
// splitter: the arguments must fit the block the splitter sized for itself.
TEST(CommandLine, NoLineOutgrowsItsBlock)
{
    const char alphabet[] = {'a', '"', ' '};
    char text[10];
    for (int len = 0; len <= 9; len++) {
        int total = 1;
        for (int i = 0; i < len; i++) total *= 3;
        for (int n = 0; n < total; n++) {
            int v = n;
            for (int i = 0; i < len; i++, v /= 3) text[i] = alphabet[v % 3];
            text[len] = '\0';
            int argc = 0;
            char **argv = CommandLineToArgvA(text, &argc);
            size_t pointers = (len + 2) / 2 + 1;
            ASSERT_LE((size_t)argc + 1, pointers) << text;
            const char *chars = (const char *)(argv + pointers);
            for (int i = 0; i < argc; i++) {
                ASSERT_GE(argv[i], chars) << text;
                ASSERT_LT(argv[i] + strlen(argv[i]), chars + len + 2) << text;
            }
            free(argv);
        }
    }
}
