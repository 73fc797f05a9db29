// Directory listing over the mounted image: path rules, listing order,
// filters, sizes and the bounds of the listing tables.
#include "engine/corefile/corefile.h"
#include "engine/corefile/dirlist.h"
#include "engine/system/debug.h"
#include "engine/system/memory.h"
#include "tests/unit/test_corefile_support.h"

#include <gtest/gtest.h>

static std::vector<std::string> listing()
{
    std::vector<std::string> shown;
    for (uint32_t i = 0; i < corefile_numfiles; i++)
        shown.push_back(corefile_filelist[i].displayname);
    return shown;
}

using names = std::vector<std::string>;

class Dirlist : public testing::Test {
protected:
    test_tempdir dir;
    uint32_t baseline = 0;
    void SetUp() override
    {
        baseline = g_mem_in_use;
        _dbg_setstream(nullptr);
    }
    void TearDown() override
    {
        corefile_closeimage();
        _dbg_setstream(stdout);
        EXPECT_EQ(g_mem_in_use, baseline) << "the listing leaked";
        EXPECT_STREQ(corefile_getpath(), "");
    }
    void mount(const std::vector<test_entry> &entries)
    {
        test_write_file(dir / "image.dat", test_archive(entries));
        ASSERT_EQ(corefile_mountimage((dir / "image.dat").c_str(), COREFILE_KIND_ARCHIVE), 1);
    }
};

TEST_F(Dirlist, ListsDirectoriesFirstThenMatchingFilesInTableOrder)
{
    mount({{"a.tga", "1"}, {"gfx/b.tga", "22"}, {"gfx/c.wav", "333"}, {"gfx/sub/d.tga", "4444"}});
    EXPECT_STREQ(corefile_getpath(), "/");
    corefile_readdir("*.tga");
    EXPECT_EQ(listing(), (names{"[gfx]", "a.tga"}));
    EXPECT_EQ(corefile_filelist[0].isdir, 1);
    EXPECT_STREQ(corefile_filelist[0].fullname, "gfx");
    EXPECT_EQ(corefile_filelist[0].size, 0u);

    corefile_chdir("gfx");
    EXPECT_STREQ(corefile_getpath(), "/gfx/");
    corefile_readdir("*.tga");
    EXPECT_EQ(listing(), (names{"[..]", "[sub]", "b.tga"}));
    EXPECT_STREQ(corefile_filelist[2].fullname, "gfx/b.tga");
    EXPECT_EQ(corefile_filelist[2].size, 2u);
    EXPECT_EQ(corefile_filelist[2].isdir, 0);

    corefile_readdir(".*");
    EXPECT_EQ(listing(), (names{"[..]", "[sub]", "b.tga", "c.wav"}));
    EXPECT_EQ(corefile_filelist[3].size, 3u);
    corefile_readdir("*.TGA");
    EXPECT_EQ(listing(), (names{"[..]", "[sub]"})) << "the filter is case-sensitive";
    corefile_readdir("noextension");
    EXPECT_EQ(listing().size(), 4u) << "no '.' lists every file";

    // Listing again gives the same entries and releases the first strings.
    corefile_readdir("*.tga");
    uint32_t in_use = g_mem_in_use;
    corefile_readdir("*.tga");
    EXPECT_EQ(listing(), (names{"[..]", "[sub]", "b.tga"}));
    EXPECT_EQ(g_mem_in_use, in_use);

    corefile_chdir("sub");
    corefile_readdir(".*");
    EXPECT_EQ(listing(), (names{"[..]", "d.tga"}));
    EXPECT_EQ(corefile_filelist[1].size, 4u) << "the last entry's size";
}

TEST_F(Dirlist, ChdirRules)
{
    mount({{"a.tga", "1"}});
    struct step {
        const char *path;
        const char *result;
    } steps[] = {
        {".", "/"},           {"..", "/"},          {"music", "/music/"},  {"sub/", "/music/sub/"},
        {"..", "/music/"},    {"..", "/"},          {"/gfx/sub", "/gfx/sub/"}, {".", "/gfx/sub/"},
        {"\\win", "\\win/"},  {"..", "/"},          {"/", "/"},
    };
    for (const step &s : steps) {
        corefile_chdir(s.path);
        EXPECT_STREQ(corefile_getpath(), s.result) << "after " << s.path;
    }

    // Paths that would not fit the 256-byte path are refused whole.
    corefile_chdir("/gfx");
    corefile_chdir(std::string(300, 'x').c_str());
    EXPECT_STREQ(corefile_getpath(), "/gfx/");
    corefile_chdir(("/" + std::string(254, 'y')).c_str());
    EXPECT_STREQ(corefile_getpath(), "/gfx/") << "no room left for the closing '/'";
    corefile_chdir(("/" + std::string(253, 'y')).c_str());
    EXPECT_EQ(strlen(corefile_getpath()), 255u);
}

TEST_F(Dirlist, ListingHoldsTheParentEntryAndBoundsTheDirectoryTable)
{
    // One file below the root: the listing needs two entries, ".." and it.
    mount({{"gfx/only.tga", "1"}});
    corefile_chdir("gfx");
    corefile_readdir(".*");
    EXPECT_EQ(listing(), (names{"[..]", "only.tga"}));

    std::vector<test_entry> many;
    for (int i = 0; i < COREFILE_MAXDIRS + 40; i++)
        many.push_back({"d" + std::to_string(i) + "/f", "x"});
    mount(many);
    corefile_readdir(".*");
    EXPECT_EQ(corefile_numfiles, (uint32_t)COREFILE_MAXDIRS);
    EXPECT_STREQ(corefile_filelist[COREFILE_MAXDIRS - 1].displayname, "[d259]");
    EXPECT_EQ(corefile_numdirs, 0) << "the names went over to the listing";
}

TEST_F(Dirlist, AddDirKeepsOneCopyPerName)
{
    mount({});
    char *first = corefile_adddir("music");
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(corefile_adddir("music"), first);
    EXPECT_NE(corefile_adddir("gfx"), first);
    EXPECT_EQ(corefile_numdirs, 2);
    for (int i = 2; i < COREFILE_MAXDIRS; i++)
        ASSERT_NE(corefile_adddir(("d" + std::to_string(i)).c_str()), nullptr);
    EXPECT_EQ(corefile_adddir("one-too-many"), nullptr);
    EXPECT_EQ(corefile_adddir("gfx"), corefile_dirnames[1]) << "a full table still finds its names";
}

TEST_F(Dirlist, DirectoryMountsListSizesFromDisk)
{
    dir.mkdir("tree");
    dir.mkdir("tree/snd");
    test_write_file(dir / "tree/snd/beep.wav", "12345678", 8);
    ASSERT_EQ(corefile_mountimage((dir / "tree").c_str(), COREFILE_KIND_DIRECTORY), 1);
    corefile_readdir("*.wav");
    EXPECT_EQ(listing(), (names{"[snd]"}));
    corefile_chdir("snd");
    corefile_readdir("*.wav");
    ASSERT_EQ(listing(), (names{"[..]", "beep.wav"}));
    EXPECT_EQ(corefile_filelist[1].size, 8u);
}
