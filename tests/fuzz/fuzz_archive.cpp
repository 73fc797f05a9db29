// Fuzz target for the archive reader: the input is mounted as an archive of
// its own and as one appended to a host file, then every entry is opened and
// read, and the listing walks the first directory. A mount that leaves
// memory behind is a finding as much as a crash is.
#include "engine/corefile/corefile.h"
#include "engine/corefile/dirlist.h"
#include "engine/system/debug.h"
#include "engine/system/memory.h"

#include <cstdint>
#include <cstdlib>
#include <string>
#include <unistd.h>
#include <vector>

static char input[] = "/tmp/fuzz_archive-XXXXXX";

static void remove_input()
{
    unlink(input);
}

static std::string input_path()
{
    int fd = mkstemp(input);
    if (fd < 0)
        abort();
    close(fd);
    atexit(remove_input);
    return input;
}

static void exercise()
{
    std::vector<uint8_t> data;
    for (uint32_t i = 0; i < corefile_image.numfiles; i++) {
        s_corefile f;
        if (!corefile_open(corefile_image.names[i], &f, 0))
            continue;
        // A repeated name finds its first row, so compare with the row found.
        if (f.index > i || f.size != corefile_entrysize(f.index))
            abort();
        data.resize(f.size + 1);
        corefile_read(data.data(), 1, f.size, &f);
        corefile_rewind(&f);
        char line[32];
        corefile_gets(line, sizeof line, &f);
        corefile_close(&f);
        uint32_t size;
        if (void *buffer = corefile_loadbuffer(corefile_image.names[i], &size))
            _wrap_free_dbg(buffer, "fuzz", __LINE__);
    }
    corefile_readdir(".*");
    for (uint32_t i = 0; i < corefile_numfiles; i++) {
        if (corefile_filelist[i].isdir) {
            corefile_chdir(corefile_filelist[i].fullname);
            corefile_readdir("*.tga");
            break;
        }
    }
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *bytes, size_t size)
{
    static const std::string path = input_path();
    FILE *f = fopen(path.c_str(), "wb");
    if (!f)
        abort();
    fwrite(bytes, 1, size, f);
    fclose(f);

    _dbg_setstream(nullptr);
    const uint32_t baseline = g_mem_in_use;
    for (int kind : {COREFILE_KIND_ARCHIVE, COREFILE_KIND_APPENDED}) {
        if (corefile_mountimage(path.c_str(), kind))
            exercise();
        corefile_closeimage();
        if (g_mem_in_use != baseline)
            abort();
    }
    return 0;
}
