// The process's command line: what each option sets, and every refusal
// with its exit status and its reason.
#include "engine/platform/entry.h"
#include "engine/platform/options.h"

#include <gtest/gtest.h>

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
};

Read readoptions(std::vector<const char *> args)
{
    args.insert(args.begin(), "floxa");
    Read r{};
    char *outtext = nullptr, *errtext = nullptr;
    size_t outsize = 0, errsize = 0;
    FILE *out = open_memstream(&outtext, &outsize), *err = open_memstream(&errtext, &errsize);
    r.status = vxe_readoptions((int)args.size(), const_cast<char **>(args.data()), vxe_program, &r.options,
                               out, err);
    fclose(out);
    fclose(err);
    r.out = outtext;
    r.err = errtext;
    free(outtext);
    free(errtext);
    return r;
}

TEST(Options, EachOptionSetsItsField)
{
    Read r = readoptions({});
    EXPECT_EQ(OPTIONS_GO_ON, r.status);
    EXPECT_EQ(0, r.options.windowed);
    EXPECT_EQ(nullptr, r.options.script);
    EXPECT_EQ(nullptr, r.options.capture);
    EXPECT_EQ(90.0, r.options.seconds) << "a capture's default length is the program's";
    EXPECT_EQ(1280, r.options.width);
    EXPECT_EQ(720, r.options.height);

    r = readoptions({"--capture", "out", "--seconds", "2.5", "--png-every", "10", "--size", "1920x1080",
                     "--script", "s.txt", "--windowed"});
    ASSERT_EQ(OPTIONS_GO_ON, r.status) << r.err;
    EXPECT_EQ(1, r.options.windowed);
    EXPECT_STREQ("s.txt", r.options.script);
    EXPECT_STREQ("out", r.options.capture);
    EXPECT_EQ(2.5, r.options.seconds);
    EXPECT_EQ(10, r.options.pngevery);
    EXPECT_EQ(1920, r.options.width);
    EXPECT_EQ(1080, r.options.height);
    EXPECT_TRUE(r.err.empty());
}

TEST(Options, HelpTellsTheCaptureLength)
{
    const Read r = readoptions({"--windowed", "--help", "--bogus"});
    EXPECT_EQ(0, r.status);
    EXPECT_NE(std::string::npos, r.out.find("default 90: the whole show")) << r.out;
    EXPECT_NE(std::string::npos, r.out.find("--size WxH")) << r.out;
    EXPECT_TRUE(r.err.empty());
}

TEST(Options, RefusalsSayWhyAndEndWithStatus2)
{
    const struct {
        std::vector<const char *> args;
        const char *reason;
    } cases[] = {
        {{"--bogus"}, "unknown option '--bogus'"},
        {{"--script"}, "a value is missing after '--script'"},
        {{"--capture", "d", "--seconds"}, "a value is missing after '--seconds'"},
        {{"--seconds", "3"}, "--seconds and --png-every go with --capture DIR"},
        {{"--size", "1920x1080"}, "and so does --size"},
        {{"--capture", "d", "--seconds", "0"}, "--seconds wants a number of seconds from 0.001 to 21600, not '0'"},
        {{"--capture", "d", "--seconds", "21601"}, "not '21601'"},
        {{"--capture", "d", "--seconds", "5s"}, "not '5s'"},
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
