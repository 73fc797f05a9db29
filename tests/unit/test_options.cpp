// The process's command line: what each option sets, every refusal with
// its exit status and its reason, and the engine's command-line splitter
// (whitespace, quotes and plain backslashes, every argument inside the one
// block it allocates).
#include "engine/platform/cmdline.h"
#include "engine/platform/entry.h"
#include "engine/platform/options.h"

#include <gtest/gtest.h>

#include <malloc.h>
#include <string.h>
#include <string>
#include <vector>

const s_program vxe_program = {"floxa", "floxa.dat", 320, 200, 90, "the whole show"};

int coremain(int, char **)
{
    return 0;
}

namespace {

struct Read {
    int status;
    s_options options;
    std::string out, err;
    // The fields as text, for one comparison per command line.
    std::string fields() const
    {
        const s_options &o = options;
        return std::to_string(o.windowed) + " " + (o.script ? o.script : "-") + " " + (o.capture ? o.capture : "-") +
               " " + std::to_string(o.seconds) + " " + std::to_string(o.pngevery) + " " + std::to_string(o.width) +
               "x" + std::to_string(o.height);
    }
};

Read readoptions(std::vector<const char *> args)
{
    args.insert(args.begin(), "floxa");
    Read r{};
    char *text[2] = {};
    size_t size[2] = {};
    FILE *out = open_memstream(&text[0], &size[0]), *err = open_memstream(&text[1], &size[1]);
    r.status = vxe_readoptions((int)args.size(), const_cast<char **>(args.data()), vxe_program, &r.options, out, err);
    fclose(out);
    fclose(err);
    r.out = text[0], r.err = text[1];
    free(text[0]);
    free(text[1]);
    return r;
}

// A capture's default length is the program's; --help answers before a bad option.
TEST(Options, EachOptionSetsItsFieldAndHelpTellsTheCaptureLength)
{
    const struct { std::vector<const char *> args; std::string fields; } rows[] = {
        {{}, "0 - - 90.000000 0 1280x720"},
        {{"--capture", "out", "--seconds", "2.5", "--png-every", "10", "--size", "1920x1080", "--script", "s.txt",
          "--windowed"}, "1 s.txt out 2.500000 10 1920x1080"},
    };
    for (const auto &row : rows) {
        const Read r = readoptions(row.args);
        EXPECT_EQ(OPTIONS_GO_ON, r.status) << r.err;
        EXPECT_EQ(row.fields, r.fields());
        EXPECT_TRUE(r.err.empty()) << r.err;
    }
    const Read r = readoptions({"--windowed", "--help", "--bogus"});
    EXPECT_EQ(0, r.status);
    EXPECT_NE(std::string::npos, r.out.find("default 90: the whole show")) << r.out;
    EXPECT_NE(std::string::npos, r.out.find("--size WxH")) << r.out;
    EXPECT_TRUE(r.err.empty());
}

TEST(Options, RefusalsSayWhyAndEndWithStatus2)
{
    const struct { std::vector<const char *> args; const char *reason; } cases[] = {
        {{"--bogus"}, "unknown option '--bogus'"}, {{"--script"}, "a value is missing after '--script'"},
        {{"--capture", "d", "--seconds"}, "a value is missing after '--seconds'"},
        {{"--seconds", "3"}, "--seconds and --png-every go with --capture DIR"},
        {{"--size", "1920x1080"}, "and so does --size"},
        {{"--capture", "d", "--seconds", "0"}, "--seconds wants a number of seconds from 0.001 to 21600, not '0'"},
        {{"--capture", "d", "--seconds", "21601"}, "not '21601'"}, {{"--capture", "d", "--seconds", "5s"}, "not '5s'"},
        {{"--capture", "d", "--png-every", "0"}, "--png-every wants a whole number of frames from 1, not '0'"},
        {{"--capture", "d", "--png-every", "2.5"}, "not '2.5'"},
        {{"--capture", "d", "--size", "800x600"}, "--size is 1280x720 or 1920x1080, not '800x600'"},
        {{"--capture", "d", "--size", "1920x1080x"}, "not '1920x1080x'"},
    };
    for (const auto &c : cases) {
        const Read r = readoptions(c.args);
        EXPECT_EQ(2, r.status) << c.reason;
        EXPECT_NE(std::string::npos, r.err.find(c.reason)) << r.err;
        EXPECT_EQ(0u, r.err.find("floxa: ")) << r.err;
    }
}

}  // namespace

TEST(CommandLine, SplitsIntoArgumentsInsideOneBlock)
{
    using Args = std::vector<std::string>;
    const struct { const char *text; Args args; } rows[] = {
        {"prog \"a b\" c", {"prog", "a b", "c"}}, {"prog  a\t\tb\r\nc ", {"prog", "a", "b", "c"}},
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
