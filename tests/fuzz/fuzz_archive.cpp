// Fuzz target for the archive reader: the input is mounted as an archive of
// its own and as one appended to a host file, every entry is opened and loaded,
// and the listing walks the first directory. A leak is a finding too.
#include "engine/corefile/corefile.h"
#include "engine/corefile/dirlist.h"
#include "engine/system/debug.h"
#include "engine/system/memory.h"

#include <cstdlib>
#include <strings.h>
#include <string>
#include <sys/mman.h>
#include <unistd.h>

static void exercise()
{
    for (uint32_t i = 0; i < corefile_image.numfiles; i++) {
        s_corefile f;
        if (!corefile_open(corefile_image.names[i], &f, 0))
            continue;
        // Lookups lower-case the name, and a repeated name may find another
        // row of it (the first whose stored hash is right): compare with the
        // row found.
        const char *found = f.index < corefile_image.numfiles ? corefile_image.names[f.index] : nullptr;
        if (!found || strcasecmp(found, corefile_image.names[i]) != 0 || f.size != corefile_entrysize(f.index))
            abort();
        char line[32];
        corefile_gets(line, sizeof line, &f);
        corefile_close(&f);
        if (void *buffer = corefile_loadbuffer(corefile_image.names[i]))
            _wrap_free_dbg(buffer, "fuzz", __LINE__);
    }
    corefile_readdir(".*");
    if (corefile_numfiles > 0 && corefile_filelist[0].isdir) {   // directories come first
        corefile_chdir(corefile_filelist[0].fullname);
        corefile_readdir("*.tga");
    }
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *bytes, size_t size)
{
    // A memory file: regular, so the mount accepts it, and gone at exit.
    static const int fd = memfd_create("fuzz_archive", 0);
    static const std::string input = "/proc/self/fd/" + std::to_string(fd);
    if (fd < 0 || pwrite(fd, bytes, size, 0) != (ssize_t)size || ftruncate(fd, (off_t)size) != 0)
        abort();
    _dbg_setstream(nullptr);
    const uint32_t baseline = g_mem_in_use;
    for (int kind : {COREFILE_KIND_ARCHIVE, COREFILE_KIND_APPENDED}) {
        if (corefile_mountimage(input.c_str(), kind))
            exercise();
        corefile_closeimage();
        if (g_mem_in_use != baseline)
            abort();
    }
    return 0;
}
