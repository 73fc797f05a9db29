// Virtual file system and directory listing: lookups, handles, both archive
// kinds, directory mounts, refusal of damaged archives, paths and listings.
// Every test checks on the way out that the mount released all it allocated.
#include "engine/corefile/corefile.h"
#include "engine/corefile/dirlist.h"
#include "engine/system/memory.h"
#include "tests/unit/said.h"
#include "tools/corepack/archive_writer.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <set>
#include <sys/stat.h>
#include <unistd.h>

using entries = std::vector<std::pair<std::string, std::string>>;
using names = std::vector<std::string>;
static const size_t npos = std::string::npos;

// The archive as corepack lays it out; offsets count from host position BASE.
static std::string archive(const entries &list, uint32_t base = 0)
{
    std::vector<pack_file> files;
    for (const auto &[name, data] : list)
        files.push_back({name, std::vector<uint8_t>(data.begin(), data.end())});
    char *text = nullptr;
    size_t length = 0;
    FILE *out = open_memstream(&text, &length);
    pack_write(out, base, files);
    fclose(out);
    std::string bytes(text, length);
    free(text);
    return bytes;
}

static std::string u32(uint32_t value)
{
    return std::string{(char)value, (char)(value >> 8), (char)(value >> 16), (char)(value >> 24)};
}

static std::string slurp(const std::string &path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

static void spill(const std::string &path, const std::string &bytes)
{
    std::filesystem::create_directories(std::filesystem::path(path).parent_path());
    std::ofstream(path, std::ios::binary) << bytes;
}

static std::string take(s_corefile *f, uint32_t n)
{
    std::string data(n, '\0');
    EXPECT_EQ(corefile_read(&data[0], 1, n, f), n);
    return data;
}

// The listing as shown, files with their sizes.
static names listing()
{
    names shown;
    for (const s_corefile_entry *e = corefile_filelist; e < corefile_filelist + corefile_numfiles; e++)
        shown.push_back(e->displayname + (e->isdir ? "" : " " + std::to_string(e->size)));
    return shown;
}

// "ab" and "ab\x01\xff" share a hash; last.bin stays last for the short read.
static const entries kFiles = {
    {"title.tga", "TGA-DATA-0123456789"}, {"music/song.wav", "RIFF....WAVEfmt "},
    {"readme.txt", "line one\nline two\nlast"}, {"ab\x01\xff", "wrong"}, {"ab", "right"},
    {"last.bin", std::string("\x00\x01\x02\x03\xff", 5)},
};

class Corefile : public testing::Test {
protected:
    std::string pattern = testing::TempDir() + "corefile-XXXXXX";
    std::string dir = std::string(mkdtemp(&pattern[0])) + "/";
    uint32_t baseline = g_mem_in_use;
    void TearDown() override
    {
        corefile_closeimage();
        EXPECT_EQ(g_fp, nullptr);
        EXPECT_EQ(g_mem_in_use, baseline) << "the mount leaked";
        std::filesystem::remove_all(dir);
    }
    int mount(const std::string &bytes, int kind = COREFILE_KIND_ARCHIVE)
    {
        spill(dir + "image.dat", bytes);
        return corefile_mountimage((dir + "image.dat").c_str(), kind);
    }
};

// Both archive kinds; kind 1 is this test program with the archive and its
// position appended, so offsets count from the host's start.
TEST_F(Corefile, OpensEveryEntryInAnyCaseWithItsSizeAndNeverWrites)
{
    const std::string host = slurp("/proc/self/exe");
    for (int kind : {COREFILE_KIND_ARCHIVE, COREFILE_KIND_APPENDED}) {
        const uint32_t base = kind == COREFILE_KIND_APPENDED ? (uint32_t)host.size() : 0;
        ASSERT_EQ(mount(kind ? host + archive(kFiles, base) + u32(base) : archive(kFiles), kind), 1);
        for (auto [name, data] : kFiles) {
            std::transform(name.begin(), name.end(), name.begin(), [](unsigned char c) { return (char)toupper(c); });
            s_corefile f;
            ASSERT_EQ(corefile_open(name.c_str(), &f, 0), 1) << name;
            EXPECT_GT(corefile_tell(&f), base);
            EXPECT_EQ(take(&f, f.size), data) << "a longer name with the same hash is another file";
            EXPECT_TRUE(corefile_feof(&f));
        }
    }
    // Archives on disk carry these sums: they must not change.
    EXPECT_EQ(corefile_gethash("abc"), 294u);
    EXPECT_EQ(corefile_gethash("a\x80"), (uint32_t)(97 - 128));
    s_corefile f;
    EXPECT_EQ(said([&] { EXPECT_EQ(corefile_open("Music/Missing.WAV", &f, 0), 0); }),
              "couldn't find file: music/missing.wav\n");
    EXPECT_EQ(corefile_savebuffer("music/song.wav", "x", 1), 0);
    ASSERT_EQ(corefile_open("music/song.wav", &f, 1), 1);
    EXPECT_EQ(corefile_write("xyz", 1, 3, &f), 0u);
}

TEST_F(Corefile, ShortReadsLeaveZerosAndLoadBufferNoticesThem)
{
    ASSERT_EQ(mount(archive(kFiles)), 1);
    // The file shrinks under the mounted image: last.bin loses 3 of its 5 bytes.
    std::filesystem::resize_file(dir + "image.dat", std::filesystem::file_size(dir + "image.dat") - 3);
    s_corefile f;
    ASSERT_EQ(corefile_open("last.bin", &f, 0), 1);
    std::vector<uint8_t> buffer(6, 0xAA);
    EXPECT_EQ(corefile_read(buffer.data(), 1, 5, &f), 2u);
    EXPECT_EQ(buffer, (std::vector<uint8_t>{0, 1, 0, 0, 0, 0xAA})) << "zeros, and nothing past the request";
    EXPECT_NE(said([] { EXPECT_EQ(corefile_loadbuffer("last.bin"), nullptr); }).find("short read"), npos);
}

TEST_F(Corefile, DamagedArchivesAreRefusedWithAReason)
{
    // Header 0..12; entry 0 at 12 (name at 20, offset at 25); entry 1 at 29
    // (name at 37, offset at 42); data 46..57.
    const std::string good = archive({{"a.txt", "hello"}, {"b.txt", "world!"}});
    auto patched = [&](size_t at, uint32_t value, size_t length = 57) {
        return good.substr(0, length).replace(at, 4, u32(value));
    };
    struct { const char *what; std::string bytes; int kind; const char *reason; } cases[] = {
        {"wrong magic", "K" + good.substr(1), 0, "no CORE signature"},
        {"truncated header", good.substr(0, 8), 0, "truncated header"},
        {"numfiles too large", patched(4, 0x7FFFFFFF), 0, "cannot fit"},
        {"table truncated", patched(8, 44, 44), 0, "table truncated at entry 1"},
        {"namelength past the end", patched(12, 200), 0, "table truncated at entry 0"},
        {"huge namelength", patched(12, 0xFFFFFFF0u), 0, "bytes long"},
        {"name longer than 255 bytes", archive({{std::string(300, 'x'), "d"}}), 0, "300 bytes long"},
        {"NUL inside a name", good.substr(0, 21) + '\0' + good.substr(22), 0, "NUL"},
        {"offset past romsize", patched(42, 1000), 0, "outside"},
        {"offsets running backwards", patched(25, 52), 0, "outside"},
        {"offset inside the table", patched(25, 20), 0, "outside"},
        {"romsize past the end", patched(8, 58), 0, "romsize 58"},
        {"trailer outside the file", good + u32(0xFFFFFF00u), 1, "trailer points"},
        {"file too short for a trailer", "CORE", 1, "too short"},
        {"trailer pointing at junk", std::string(64, 'j') + u32(8), 1, "no CORE signature"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.what);
        std::string why = said([&] { EXPECT_EQ(mount(c.bytes, c.kind), 0); });
        EXPECT_NE(why.find(c.reason), npos) << why;
        EXPECT_EQ(corefile_mounttype, COREFILE_MOUNT_NONE);
        EXPECT_EQ(g_mem_in_use, baseline);
    }
    // A directory is no archive, and a pipe is refused rather than waited on.
    ASSERT_EQ(mkfifo((dir + "pipe.dat").c_str(), 0600), 0);
    for (std::string path : {dir + "absent.dat", dir, dir + "pipe.dat"})
        EXPECT_NE(said([&] { corefile_mountimage(path.c_str(), 1); }).find("could not open image: " + path), npos);
    EXPECT_NE(said([&] { corefile_mountimage((dir + "no").c_str(), 2); }).find("error reading directory"), npos);
    EXPECT_EQ(said([] { EXPECT_EQ(corefile_mountimage("x.dat", 3), 0); }), "Loading resource image: x.dat\n");
}

TEST_F(Corefile, DirectoryMountRecordsRelativeNamesAndLeavesTheWorkingDirectory)
{
    spill(dir + "tree/top.txt", "top");
    spill(dir + "tree/gfx/sub/d.tga", "dddd");
    // Skipped: a pipe (opening it would block), a link back up the tree, and
    // a name that does not fit the 255-byte name buffers.
    ASSERT_EQ(mkfifo((dir + "tree/pipe").c_str(), 0600), 0);
    ASSERT_EQ(symlink("..", (dir + "tree/gfx/loop").c_str()), 0);
    spill(dir + "tree/gfx/sub/" + std::string(250, 'n'), "n");

    const std::filesystem::path before = std::filesystem::current_path();
    const std::string levels = std::to_string(std::count(dir.begin(), dir.end(), '/'));
    std::string out = said([&] { ASSERT_EQ(corefile_mountimage((dir + "tree/").c_str(), COREFILE_KIND_DIRECTORY), 1); });
    EXPECT_NE(out.find("path has " + levels + " sublevels\n"), npos) << "neither end counts as a level: " << out;
    EXPECT_EQ(std::filesystem::current_path(), before);
    std::set<std::string> found(corefile_image.names, corefile_image.names + corefile_image.numfiles);
    EXPECT_EQ(found, (std::set<std::string>{"top.txt", "gfx/sub/d.tga"}));

    s_corefile f;
    ASSERT_EQ(corefile_open("TOP.txt", &f, 0), 1);
    char line[8];
    corefile_seek(&f, 1, 0);
    corefile_seek(&f, 2, 2);  // an unknown whence leaves the position
    EXPECT_STREQ(corefile_gets(line, 2, &f), "o") << "directory positions start at 0; at most n - 1 bytes";
    corefile_rewind(&f);
    EXPECT_EQ(take(&f, f.size), "top");
    corefile_close(&f);
    EXPECT_EQ(corefile_open("pipe", &f, 0), 0) << "a pipe is refused, not waited on";
    corefile_chdir("gfx/sub");
    ASSERT_EQ(corefile_savebuffer("saved.bin", "saved!", 6), 1);
    EXPECT_EQ(slurp(dir + "tree/gfx/sub/saved.bin"), "saved!");
    uint32_t size = 0;
    char *data = (char *)corefile_loadbuffer("SAVED.bin", &size);
    EXPECT_EQ(std::string(data, size), "saved!") << "loads follow the local path";
    _wrap_free_dbg(data, "test", __LINE__);
    // A new mount replaces this one without leaking it (checked on teardown).
    ASSERT_EQ(mount(archive(kFiles)), 1);
}

// The listing: [..] below the root, directories, then matching files in
// table order (filters are case-sensitive; none or ".*" takes all), bounded.
TEST_F(Corefile, ListsDirectoriesFirstThenMatchingFiles)
{
    ASSERT_EQ(mount(archive({{"a.tga", "1"}, {"gfx/b.tga", "22"}, {"gfx/c.wav", "333"}, {"gfx/sub/d.tga", "4444"}})), 1);
    const struct { const char *path, *filter; names shown; } rows[] = {
        {"/", "*.tga", {"[gfx]", "a.tga 1"}}, {"/gfx", "*.tga", {"[..]", "[sub]", "b.tga 2"}},
        {"/gfx", "*.TGA", {"[..]", "[sub]"}}, {"/gfx", "noextension", {"[..]", "[sub]", "b.tga 2", "c.wav 3"}},
        {"/gfx/sub", ".*", {"[..]", "d.tga 4"}},  // the last entry's size
    };
    for (const auto &r : rows) {
        corefile_chdir(r.path);
        corefile_readdir(r.filter);
        EXPECT_EQ(listing(), r.shown) << r.path << " " << r.filter;
    }
    entries many;
    for (int i = 0; i < COREFILE_MAXDIRS + 40; i++) many.push_back({"d" + std::to_string(i) + "/f", "x"});
    ASSERT_EQ(mount(archive(many)), 1);
    corefile_readdir(".*");
    EXPECT_EQ(listing().size(), (size_t)COREFILE_MAXDIRS);
}

TEST_F(Corefile, ChdirFollowsThePathRules)
{
    ASSERT_EQ(mount(archive({})), 1);
    struct { std::string path, result; } steps[] = {
        {"..", "/"}, {"music", "/music/"}, {"sub/", "/music/sub/"}, {"..", "/music/"}, {"/gfx/sub", "/gfx/sub/"},
        {".", "/gfx/sub/"}, {"\\win", "\\win/"}, {"..", "/"}, {"/gfx", "/gfx/"},
        {std::string(300, 'x'), "/gfx/"},                       // too long: refused whole
        {"/" + std::string(254, 'y'), "/gfx/"},                 // no room for the closing '/'
        {"/" + std::string(253, 'y'), "/" + std::string(253, 'y') + "/"},
    };
    for (const auto &s : steps) {
        corefile_chdir(s.path.c_str());
        EXPECT_EQ(corefile_getpath(), s.result) << "after " << s.path;
    }
}
