// Every counted allocation and release the file system makes names it as
// corefile/corefile-std. The test is linked with the counting calls
// wrapped (-Wl,--wrap), so it sees each call's source name on its way to
// the real allocator.
#include "engine/corefile/corefile.h"
#include "engine/corefile/dirlist.h"
#include "engine/system/memory.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <set>
#include <string>

static std::set<std::string> g_sources;

// The real counting calls, and the stand-ins the linker puts in their place.
void *real_malloc_dbg(size_t size, const char *source, int line) __asm__("__real__Z16_wrap_malloc_dbgmPKci");
void real_free_dbg(void *block, const char *source, int line) __asm__("__real__Z14_wrap_free_dbgPvPKci");
void *seen_malloc_dbg(size_t size, const char *source, int line) __asm__("__wrap__Z16_wrap_malloc_dbgmPKci");
void seen_free_dbg(void *block, const char *source, int line) __asm__("__wrap__Z14_wrap_free_dbgPvPKci");

void *seen_malloc_dbg(size_t size, const char *source, int line)
{
    g_sources.insert(source);
    return real_malloc_dbg(size, source, line);
}

void seen_free_dbg(void *block, const char *source, int line)
{
    g_sources.insert(source);
    real_free_dbg(block, source, line);
}

TEST(CorefileSource, EveryCountedCallNamesTheFileSystem)
{
    namespace fs = std::filesystem;
    char folder[] = "/tmp/floxa_source_XXXXXX";
    ASSERT_TRUE(mkdtemp(folder));
    fs::create_directories(fs::path(folder) / "music");
    std::ofstream(fs::path(folder) / "music" / "song.wav") << "RIFF";
    std::ofstream(fs::path(folder) / "title.tga") << "TGA";

    const uint32_t before = g_mem_in_use;
    g_sources.clear();
    ASSERT_TRUE(corefile_mountimage(folder, COREFILE_KIND_DIRECTORY));
    corefile_readdir("*.*");
    corefile_chdir("music");
    corefile_readdir("*.wav");
    corefile_chdir("/");
    void *title = corefile_loadbuffer("title.tga");
    corefile_closeimage();
    EXPECT_EQ(g_sources, std::set<std::string>{"corefile/corefile-std"});

    ASSERT_NE(title, nullptr);
    _wrap_free_dbg(title, "test", __LINE__);
    EXPECT_EQ(g_mem_in_use, before);
    fs::remove_all(folder);
}
