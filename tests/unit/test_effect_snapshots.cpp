// Every effect's whole grid at fixed moments, against the fixtures in
// snapshots/ (gridshot's own output under a first line naming the shot),
// so any change of what an effect draws shows in review. The "--synch 0"
// shots stand still at timer 0: an effect that reseeded itself there
// would change from frame to frame. snapshots/update.sh writes them anew
// from the gridshot tool.
#include <gtest/gtest.h>

#include <dirent.h>

#include <algorithm>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "tools/gridshot/gridshot_run.h"

static std::vector<std::string> Fixtures()
{
    std::vector<std::string> names;
    if (DIR *d = opendir(SNAPSHOTS)) {
        while (dirent *e = readdir(d)) {
            const std::string n = e->d_name;
            if (n.size() > 4 && n.compare(n.size() - 4, 4, ".txt") == 0) names.push_back(n);
        }
        closedir(d);
    }
    std::sort(names.begin(), names.end());
    return names;
}

// The grid as gridshot writes it.
static std::string GridText()
{
    char *text = nullptr;
    size_t size = 0;
    FILE *out = open_memstream(&text, &size);
    WriteGrid(out);
    fclose(out);
    const std::string s(text, size);
    free(text);
    return s;
}

TEST(EffectSnapshots, EveryEffectDrawsItsFixture)
{
    const std::vector<std::string> names = Fixtures();
    ASSERT_GE(names.size(), 11u) << "fixtures missing from " << SNAPSHOTS;
    for (const std::string &name : names) {
        SCOPED_TRACE(name);
        std::ifstream in(std::string(SNAPSHOTS) + "/" + name);
        std::string header, expected, line;
        std::getline(in, header);
        while (std::getline(in, line)) expected += line + "\n";
        ASSERT_EQ(0u, header.rfind("# gridshot ", 0)) << "no shot named on the first line";

        // The header's words after "# gridshot" are the tool's arguments.
        std::istringstream words(header.substr(11));
        std::vector<std::string> args{"gridshot"};
        for (std::string w; words >> w;) args.push_back(w);
        std::vector<char *> argv;
        for (std::string &a : args) argv.push_back(&a[0]);
        s_gridshot shot;
        ASSERT_EQ(1, ParseGridShot((int)argv.size(), argv.data(), 1, &shot, stderr));

        RunGridShot(shot);
        EXPECT_EQ(expected, GridText());
    }
}

TEST(EffectSnapshots, ShotsRepeatAndRefuseBadArguments)
{
    // The same shot twice in one process gives the same grid: the start
    // state, the generator included, is restored each time.
    const char *args[] = {"gridshot", "3", "0", "40"};
    s_gridshot shot;
    ASSERT_EQ(1, ParseGridShot(4, (char **)args, 1, &shot, stderr));
    RunGridShot(shot);
    const std::string first = GridText();
    RunGridShot(shot);
    EXPECT_EQ(first, GridText());

    const std::vector<std::vector<const char *>> bad = {
        {"gridshot"}, {"gridshot", "3"}, {"gridshot", "1", "0"}, {"gridshot", "13", "0"},
        {"gridshot", "3", "-1"}, {"gridshot", "3", "0", "0"}, {"gridshot", "3", "0", "2", "9"},
        {"gridshot", "2", "0", "--pointer", "5"}, {"gridshot", "3", "0", "--blend", "3"},
        {"gridshot", "3", "0", "--synch", "10000"}, {"gridshot", "3x", "0"},
    };
    FILE *quiet = fopen("/dev/null", "w");
    for (const auto &b : bad)
        EXPECT_EQ(0, ParseGridShot((int)b.size(), (char **)b.data(), 1, &shot, quiet)) << b.size();
    fclose(quiet);
}
