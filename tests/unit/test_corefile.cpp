// Virtual file system: lookups, handles, both archive kinds, directory
// mounts, and refusal of damaged archives. Every test checks on the way out
// that the mount released everything it allocated.
#include "engine/corefile/corefile.h"
#include "engine/corefile/dirlist.h"
#include "engine/system/debug.h"
#include "engine/system/memory.h"
#include "tests/unit/test_corefile_support.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstring>
#include <set>
#include <unistd.h>

// Collects what the debug channel prints.
struct debug_capture {
    char *text = nullptr;
    size_t length = 0;
    FILE *stream;
    debug_capture() : stream(open_memstream(&text, &length)) { _dbg_setstream(stream); }
    ~debug_capture()
    {
        _dbg_setstream(stdout);
        fclose(stream);
        free(text);
    }
    std::string take()
    {
        fflush(stream);
        std::string s(text, length);
        rewind(stream);
        return s;
    }
};

static const std::vector<test_entry> kFiles = {
    {"title.tga", "TGA-DATA-0123456789"},
    {"music/song.wav", "RIFF....WAVEfmt "},
    {"readme.txt", "line one\nline two\nlast"},
    {"last.bin", std::string("\x00\x01\x02\x03\xff", 5)},
};

static std::string upper(std::string s)
{
    for (char &c : s)
        c = (char)toupper((unsigned char)c);
    return s;
}

static std::string read_all(s_corefile *f)
{
    std::string data(f->size, '\0');
    EXPECT_EQ(corefile_read(&data[0], 1, f->size, f), f->size);
    return data;
}

class Corefile : public testing::Test {
protected:
    test_tempdir dir;
    uint32_t baseline = 0;
    void SetUp() override { baseline = g_mem_in_use; }
    void TearDown() override
    {
        corefile_closeimage();
        EXPECT_EQ(corefile_mounttype, COREFILE_MOUNT_NONE);
        EXPECT_EQ(g_fp, nullptr);
        EXPECT_EQ(g_mem_in_use, baseline) << "the mount leaked";
    }
    int mount_bytes(const std::vector<uint8_t> &bytes, int kind = COREFILE_KIND_ARCHIVE)
    {
        test_write_file(dir / "image.dat", bytes);
        return corefile_mountimage((dir / "image.dat").c_str(), kind);
    }
    // A real host file (this test program) with the archive appended.
    std::vector<uint8_t> appended(const std::vector<test_entry> &entries, uint32_t *base)
    {
        std::string host = test_read_file("/proc/self/exe");
        *base = (uint32_t)host.size();
        std::vector<uint8_t> bytes(host.begin(), host.end());
        std::vector<uint8_t> archive = test_archive(entries, *base);
        bytes.insert(bytes.end(), archive.begin(), archive.end());
        test_put_u32(&bytes, *base);
        return bytes;
    }
};

TEST(CorefileHash, SumsSignedBytesAndLowersOnlyAsciiLetters)
{
    EXPECT_EQ(corefile_gethash("abc"), 294u);
    EXPECT_EQ(corefile_gethash(""), 0u);
    EXPECT_EQ(corefile_gethash("\xff"), 0xFFFFFFFFu);
    EXPECT_EQ(corefile_gethash("a\x80"), (uint32_t)(97 - 128));

    char out[8] = "#######";
    file_downcase(out, "AbZ@[\xC4", 6);
    EXPECT_EQ(std::string(out, 7), std::string("abz@[\xC4#")) << "no terminator, only A..Z change";
}

TEST_F(Corefile, OpensEveryEntryInAnyCaseWithItsDerivedSize)
{
    ASSERT_EQ(mount_bytes(test_archive(kFiles)), 1);
    ASSERT_EQ(corefile_image.numfiles, kFiles.size());
    for (const test_entry &e : kFiles) {
        s_corefile f;
        ASSERT_EQ(corefile_open(upper(e.name).c_str(), &f, 0), 1) << e.name;
        EXPECT_EQ(corefile_fsize(&f), e.data.size()) << e.name;
        EXPECT_EQ(read_all(&f), e.data) << e.name;
        EXPECT_TRUE(corefile_feof(&f));
        corefile_close(&f);
        EXPECT_EQ(f.position, 0u);
        EXPECT_EQ(f.size, e.data.size()) << "close keeps the size";
    }

    debug_capture capture;
    s_corefile untouched = {nullptr, 7, 7, 7, 7};
    EXPECT_EQ(corefile_open("Music/Missing.WAV", &untouched, 0), 0);
    EXPECT_EQ(capture.take(), "couldn't find file: music/missing.wav\n");
    EXPECT_EQ(untouched.index, 7u);
    EXPECT_EQ(untouched.size, 7u);
}

TEST_F(Corefile, LongerNameWithTheSameHashIsAnotherFile)
{
    // "ab" followed by bytes that sum to zero has the hash of "ab".
    ASSERT_EQ(mount_bytes(test_archive({{"ab\x01\xff", "wrong"}, {"ab", "right"}})), 1);
    s_corefile f;
    ASSERT_EQ(corefile_open("AB", &f, 0), 1);
    EXPECT_EQ(read_all(&f), "right");
}

TEST_F(Corefile, EmptyArchiveMountsAndFindsNothing)
{
    ASSERT_EQ(mount_bytes(test_archive({})), 1);
    debug_capture capture;
    s_corefile f;
    EXPECT_EQ(corefile_open("Title.tga", &f, 0), 0);
    EXPECT_EQ(capture.take(), "couldn't find file: title.tga\n");
}

TEST_F(Corefile, SeekTellGetsAndRewindInBothArchiveKinds)
{
    for (int kind : {COREFILE_KIND_ARCHIVE, COREFILE_KIND_APPENDED}) {
        SCOPED_TRACE(kind);
        uint32_t base = 0;
        std::vector<uint8_t> bytes = kind == COREFILE_KIND_ARCHIVE ? test_archive(kFiles) : appended(kFiles, &base);
        ASSERT_EQ(mount_bytes(bytes, kind), 1);

        s_corefile f;
        ASSERT_EQ(corefile_open("readme.txt", &f, 0), 1);
        const uint32_t start = corefile_tell(&f);
        EXPECT_GT(start, base) << "offsets count from the host file's start";
        EXPECT_EQ(bytes[start], 'l');

        corefile_seek(&f, 5, 0);
        EXPECT_EQ(corefile_tell(&f), start + 5);
        corefile_seek(&f, 2, 2);
        EXPECT_EQ(corefile_tell(&f), start + 5) << "unknown whence leaves the position";
        corefile_seek(&f, -5, 1);
        corefile_seek(&f, 0, 0);
        EXPECT_EQ(corefile_tell(&f), start);

        char line[64];
        corefile_seek(&f, 5, 0);
        EXPECT_STREQ(corefile_gets(line, sizeof line, &f), "one\n");
        EXPECT_EQ(corefile_tell(&f), start + 9);
        EXPECT_STREQ(corefile_gets(line, 5, &f), "line") << "at most n - 1 bytes";
        EXPECT_STREQ(corefile_gets(line, sizeof line, &f), " two\n");
        EXPECT_FALSE(corefile_feof(&f));
        char rest[4];
        EXPECT_EQ(corefile_read(rest, 4, 1, &f), 1u);
        EXPECT_EQ(std::string(rest, 4), "last");
        EXPECT_TRUE(corefile_feof(&f));

        corefile_rewind(&f);
        EXPECT_EQ(corefile_tell(&f), start);
        EXPECT_FALSE(corefile_feof(&f));
        EXPECT_EQ(read_all(&f), "line one\nline two\nlast");
        corefile_closeimage();
    }
}

TEST_F(Corefile, TwoHandlesReadAlternatelyEachFromItsOwnPosition)
{
    uint32_t base;
    ASSERT_EQ(mount_bytes(appended(kFiles, &base), COREFILE_KIND_APPENDED), 1);
    s_corefile a, b;
    ASSERT_EQ(corefile_open("title.tga", &a, 0), 1);
    ASSERT_EQ(corefile_open("readme.txt", &b, 0), 1);
    std::string got_a, got_b;
    char chunk[3];
    for (int i = 0; i < 3; i++) {
        corefile_read(chunk, 1, 3, &a);
        got_a.append(chunk, 3);
        corefile_read(chunk, 3, 1, &b);
        got_b.append(chunk, 3);
    }
    EXPECT_EQ(got_a, "TGA-DATA-");
    EXPECT_EQ(got_b, "line one\n");
}

TEST_F(Corefile, ShortReadsLeaveZerosAndLoadBufferNoticesThem)
{
    std::vector<uint8_t> bytes = test_archive(kFiles);
    ASSERT_EQ(mount_bytes(bytes), 1);
    // The file shrinks under the mounted image: last.bin loses 3 of its 5 bytes.
    ASSERT_EQ(truncate((dir / "image.dat").c_str(), (off_t)bytes.size() - 3), 0);

    s_corefile f;
    ASSERT_EQ(corefile_open("last.bin", &f, 0), 1);
    unsigned char buffer[8];
    memset(buffer, 0xAA, sizeof buffer);
    EXPECT_EQ(corefile_read(buffer, 1, 5, &f), 2u);
    EXPECT_EQ(buffer[1], 0x01);
    for (int i = 2; i < 5; i++)
        EXPECT_EQ(buffer[i], 0) << i;
    EXPECT_EQ(buffer[5], 0xAA) << "nothing beyond the request";

    debug_capture capture;
    uint32_t size = 99;
    EXPECT_EQ(corefile_loadbuffer("last.bin", &size), nullptr);
    EXPECT_NE(capture.take().find("short read"), std::string::npos);
    EXPECT_EQ(size, 99u);

    corefile_closeimage();
    memset(buffer, 0xAA, sizeof buffer);
    EXPECT_EQ(corefile_read(buffer, 4, 2, &f), 0u) << "nothing mounted";
    EXPECT_EQ(buffer[7], 0);
}

TEST_F(Corefile, LoadBufferFollowsTheLocalPathAndArchivesAreReadOnly)
{
    ASSERT_EQ(mount_bytes(test_archive(kFiles)), 1);
    uint32_t size = 0;
    char *data = (char *)corefile_loadbuffer("TITLE.tga", &size);
    ASSERT_NE(data, nullptr);
    EXPECT_EQ(std::string(data, size), kFiles[0].data);
    _wrap_free_dbg(data, "test", __LINE__);

    corefile_chdir("music");
    data = (char *)corefile_loadbuffer("song.wav", &size);
    ASSERT_NE(data, nullptr);
    EXPECT_EQ(std::string(data, size), kFiles[1].data);
    _wrap_free_dbg(data, "test", __LINE__);

    EXPECT_EQ(corefile_savebuffer("song.wav", "x", 1), 0);
    s_corefile f;
    ASSERT_EQ(corefile_open("music/song.wav", &f, 1), 1);
    EXPECT_EQ(corefile_write("xyz", 1, 3, &f), 0u);
    EXPECT_EQ(read_all(&f), kFiles[1].data);
}

TEST_F(Corefile, DamagedArchivesAreRefusedWithAReason)
{
    const std::vector<uint8_t> good = test_archive({{"a.txt", "hello"}, {"b.txt", "world!"}});
    // Layout: header 0..12; entry 0 at 12 (name at 20, offset at 25);
    // entry 1 at 29 (name at 37, offset at 42); data 46..57.
    auto patched = [&](size_t at, uint32_t value) {
        std::vector<uint8_t> b = good;
        test_patch_u32(&b, at, value);
        return b;
    };
    auto cut = [&](size_t length, uint32_t romsize) {
        std::vector<uint8_t> b(good.begin(), good.begin() + length);
        test_patch_u32(&b, 8, romsize);
        return b;
    };
    std::vector<uint8_t> nul_name = good, bad_magic = good;
    nul_name[21] = 0;
    bad_magic[0] = 'K';
    std::vector<uint8_t> wild_trailer = good, short_trailer = {'C', 'O', 'R', 'E', 0};
    test_put_u32(&wild_trailer, 0xFFFFFF00u);
    std::vector<uint8_t> junk_trailer(64, 'j');
    test_put_u32(&junk_trailer, 8);
    std::string long_name(300, 'x');

    struct bad_case {
        const char *what;
        std::vector<uint8_t> bytes;
        int kind;
        const char *reason;
    } cases[] = {
        {"wrong magic", bad_magic, 0, "no CORE signature"},
        {"truncated header", std::vector<uint8_t>(good.begin(), good.begin() + 8), 0, "truncated header"},
        {"numfiles too large", patched(4, 0x7FFFFFFF), 0, "cannot fit"},
        {"table truncated", cut(44, 44), 0, "table truncated at entry 1"},
        {"namelength past the end", patched(12, 200), 0, "table truncated at entry 0"},
        {"huge namelength", patched(12, 0xFFFFFFF0u), 0, "bytes long"},
        {"name longer than 255 bytes", test_archive({{long_name, "d"}}), 0, "300 bytes long"},
        {"NUL inside a name", nul_name, 0, "NUL"},
        {"offset past romsize", patched(42, 1000), 0, "outside"},
        {"offsets running backwards", patched(25, 52), 0, "outside"},
        {"offset inside the table", patched(25, 20), 0, "outside"},
        {"romsize past the end", patched(8, 58), 0, "romsize 58"},
        {"trailer outside the file", wild_trailer, 1, "trailer points"},
        {"file too short for a trailer", short_trailer, 1, "too short"},
        {"trailer pointing at junk", junk_trailer, 1, "no CORE signature"},
    };
    for (const bad_case &c : cases) {
        SCOPED_TRACE(c.what);
        debug_capture capture;
        EXPECT_EQ(mount_bytes(c.bytes, c.kind), 0);
        EXPECT_NE(capture.take().find(c.reason), std::string::npos) << capture.take();
        EXPECT_EQ(corefile_mounttype, COREFILE_MOUNT_NONE);
        EXPECT_EQ(g_fp, nullptr);
        EXPECT_EQ(g_mem_in_use, baseline);
        s_corefile f;
        EXPECT_EQ(corefile_open("a.txt", &f, 0), 0);
    }

    debug_capture capture;
    EXPECT_EQ(corefile_mountimage((dir / "absent.dat").c_str(), 0), 0);
    EXPECT_EQ(corefile_mountimage(dir.path.c_str(), 0), 0) << "a directory is no archive";
    ASSERT_EQ(mkfifo((dir / "pipe.dat").c_str(), 0600), 0);
    EXPECT_EQ(corefile_mountimage((dir / "pipe.dat").c_str(), 1), 0) << "a pipe is refused, not waited on";
    EXPECT_EQ(corefile_mountimage((dir / "absent").c_str(), COREFILE_KIND_DIRECTORY), 0);
    std::string said = capture.take();
    EXPECT_NE(said.find("could not open image: " + (dir / "absent.dat")), std::string::npos);
    EXPECT_NE(said.find("error reading directory"), std::string::npos);
    EXPECT_EQ(corefile_mountimage((dir / "absent.dat").c_str(), 3), 0);
}

TEST_F(Corefile, DirectoryMountRecordsRelativeNamesAndLeavesTheWorkingDirectory)
{
    dir.mkdir("tree");
    dir.mkdir("tree/gfx");
    dir.mkdir("tree/gfx/sub");
    dir.mkdir("tree/empty");
    test_write_file(dir / "tree/top.txt", "top", 3);
    test_write_file(dir / "tree/gfx/b.tga", "bb", 2);
    test_write_file(dir / "tree/gfx/sub/d.tga", "dddd", 4);
    // Skipped: a pipe (opening it would block), a link back up the tree,
    // and a name that does not fit the 255-byte name buffers.
    ASSERT_EQ(mkfifo((dir / "tree/pipe").c_str(), 0600), 0);
    ASSERT_EQ(symlink("..", (dir / "tree/gfx/loop").c_str()), 0);
    test_write_file(dir / ("tree/gfx/sub/" + std::string(250, 'n')), "n", 1);

    char before[PATH_MAX], after[PATH_MAX];
    ASSERT_NE(getcwd(before, sizeof before), nullptr);
    ASSERT_EQ(corefile_mountimage((dir / "tree").c_str(), COREFILE_KIND_DIRECTORY), 1);
    ASSERT_NE(getcwd(after, sizeof after), nullptr);
    EXPECT_STREQ(after, before);

    std::set<std::string> names;
    for (uint32_t i = 0; i < corefile_image.numfiles; i++)
        names.insert(corefile_image.names[i]);
    EXPECT_EQ(names, (std::set<std::string>{"top.txt", "gfx/b.tga", "gfx/sub/d.tga"}));

    s_corefile f;
    ASSERT_EQ(corefile_open("GFX/Sub/D.TGA", &f, 0), 1);
    EXPECT_EQ(corefile_fsize(&f), 4u);
    corefile_seek(&f, 2, 0);
    EXPECT_EQ(corefile_tell(&f), 2u);
    corefile_seek(&f, 0, 0);
    EXPECT_EQ(corefile_tell(&f), 0u) << "directory positions start at 0";
    EXPECT_EQ(read_all(&f), "dddd");
    corefile_close(&f);
    EXPECT_EQ(f.stream, nullptr);
    EXPECT_EQ(corefile_open("gfx/absent.tga", &f, 0), 0);
    EXPECT_EQ(corefile_open("pipe", &f, 0), 0) << "a pipe is refused, not waited on";

    ASSERT_EQ(corefile_savebuffer("gfx/saved.bin", "saved!", 6), 1);
    uint32_t size = 0;
    char *data = (char *)corefile_loadbuffer("gfx/saved.bin", &size);
    ASSERT_NE(data, nullptr);
    EXPECT_EQ(std::string(data, size), "saved!");
    _wrap_free_dbg(data, "test", __LINE__);

    ASSERT_EQ(corefile_open("top.txt", &f, 1), 1);
    corefile_seek(&f, 1, 0);
    EXPECT_EQ(corefile_write("xy", 2, 1, &f), 1u);
    EXPECT_EQ(corefile_tell(&f), 3u);
    corefile_close(&f);
    EXPECT_EQ(test_read_file(dir / "tree/top.txt"), std::string("\0xy", 3));

    // A new mount replaces this one without leaking it (checked on teardown).
    ASSERT_EQ(mount_bytes(test_archive(kFiles)), 1);
    EXPECT_EQ(corefile_mounttype, COREFILE_MOUNT_ARCHIVE);
}
