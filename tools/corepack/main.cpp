// corepack: the archive tool.
//
//   corepack create OUT DIR        pack every file below DIR (sorted names)
//   corepack append HOST ARCHIVE   append ARCHIVE to HOST, ending HOST with
//                                  the archive's header position
//   corepack list ARCHIVE          offset<TAB>size<TAB>name per entry
//   corepack cat ARCHIVE NAME      the entry's bytes on standard output
//   corepack check ARCHIVE         open, read and decode every entry
//
// Existing archives are read only through the engine's file system, so the
// tool sees them exactly as the demo does. The engine's diagnostics go to
// standard error; standard output carries only the command's result.
#include "engine/corefile/corefile.h"
#include "engine/sound/wav.h"
#include "engine/system/debug.h"
#include "engine/graphics/tga.h"
#include "tools/corepack/archive_writer.h"

#include <cstring>
#include <string>
#include <vector>

static int usage()
{
    fprintf(stderr,
            "usage: corepack create OUT DIR\n"
            "       corepack append HOST ARCHIVE\n"
            "       corepack list ARCHIVE\n"
            "       corepack cat ARCHIVE NAME\n"
            "       corepack check ARCHIVE\n");
    return 2;
}

// Mounts an archive of its own or one appended to a host file. The quiet
// attempts keep a host file's expected signature failure off the screen; if
// both fail, the standalone attempt runs again to show why.
static bool mount(const char *archive)
{
    _dbg_setstream(nullptr);
    bool ok = corefile_mountimage(archive, COREFILE_KIND_ARCHIVE) ||
              corefile_mountimage(archive, COREFILE_KIND_APPENDED);
    _dbg_setstream(stderr);
    if (!ok)
        corefile_mountimage(archive, COREFILE_KIND_ARCHIVE);
    if (!ok)
        fprintf(stderr, "corepack: %s is not a usable archive\n", archive);
    return ok;
}

// Reads entry NAME whole through the engine. False on a lookup failure or a
// short read.
static bool read_entry(const char *name, std::vector<uint8_t> *data, uint32_t *index)
{
    s_corefile f;
    if (!corefile_open(name, &f, 0))
        return false;
    data->assign(f.size, 0);
    uint32_t got = f.size ? corefile_read(data->data(), 1, f.size, &f) : 0;
    *index = f.index;
    corefile_close(&f);
    return got == f.size;
}

static bool ends_with(const char *name, const char *suffix)
{
    size_t n = strlen(name), m = strlen(suffix);
    return n >= m && strcmp(name + n - m, suffix) == 0;
}

static int cmd_create(const char *out, const char *dir)
{
    std::vector<pack_file> files;
    if (!pack_collect(dir, &files))
        return 1;
    FILE *f = fopen(out, "wb");
    if (!f) {
        fprintf(stderr, "corepack: cannot write %s\n", out);
        return 1;
    }
    bool ok = pack_write(f, 0, files);
    ok = fclose(f) == 0 && ok;
    if (!ok) {
        remove(out);
        return 1;
    }
    fprintf(stderr, "corepack: %s: %zu files\n", out, files.size());
    return 0;
}

static int cmd_append(const char *host, const char *archive)
{
    if (!mount(archive))
        return 1;
    std::vector<pack_file> files;
    for (uint32_t i = 0; i < corefile_image.numfiles; i++) {
        pack_file file{corefile_image.names[i], {}};
        uint32_t index;
        if (!read_entry(file.name.c_str(), &file.data, &index)) {
            fprintf(stderr, "corepack: cannot read %s from %s\n", file.name.c_str(), archive);
            corefile_closeimage();
            return 1;
        }
        files.push_back(std::move(file));
    }
    corefile_closeimage();

    FILE *f = fopen(host, "ab");
    if (!f) {
        fprintf(stderr, "corepack: cannot append to %s\n", host);
        return 1;
    }
    long base = ftell(f);
    bool ok = base >= 0 && (uint64_t)base <= UINT32_MAX;
    ok = ok && pack_write(f, (uint32_t)base, files);
    uint8_t trailer[4];
    for (int i = 0; i < 4; i++)
        trailer[i] = (uint8_t)((uint64_t)base >> (8 * i));
    ok = ok && fwrite(trailer, 1, 4, f) == 4;
    ok = fclose(f) == 0 && ok;
    if (!ok) {
        fprintf(stderr, "corepack: appending to %s failed\n", host);
        return 1;
    }
    return 0;
}

static int cmd_list(const char *archive)
{
    if (!mount(archive))
        return 1;
    for (uint32_t i = 0; i < corefile_image.numfiles; i++)
        printf("%u\t%u\t%s\n", corefile_image.offsets[i], corefile_entrysize(i), corefile_image.names[i]);
    corefile_closeimage();
    return 0;
}

static int cmd_cat(const char *archive, const char *name)
{
    if (!mount(archive))
        return 1;
    std::vector<uint8_t> data;
    uint32_t index;
    bool ok = read_entry(name, &data, &index);
    corefile_closeimage();
    if (!ok) {
        fprintf(stderr, "corepack: %s: cannot read %s\n", archive, name);
        return 1;
    }
    return fwrite(data.data(), 1, data.size(), stdout) == data.size() && fflush(stdout) == 0 ? 0 : 1;
}

// Checks one entry; returns an empty string when it is sound, else why not.
static std::string check_entry(uint32_t row, std::vector<uint8_t> *data)
{
    const char *name = corefile_image.names[row];
    uint32_t index;
    if (!read_entry(name, data, &index))
        return "cannot be opened or read in full";
    if (index != row)
        return "hidden by entry " + std::to_string(index) + " of the same name";
    if (ends_with(name, ".tga")) {
        s_tgaimage image;
        if (!VXE_DecodeTGA(data->data(), data->size(), &image))
            return std::string("picture: ") + image.error;
        VXE_FreeTGA(&image);
    } else if (ends_with(name, ".wav")) {
        s_wavinfo info;
        e_waverror result = wav_parse(data->data(), data->size(), &info);
        if (result != WAV_OK)
            return std::string("sound: ") + wav_errortext(result);
    }
    return "";
}

static int cmd_check(const char *archive)
{
    if (!mount(archive))
        return 1;
    uint32_t failed = 0;
    std::vector<uint8_t> data;
    for (uint32_t i = 0; i < corefile_image.numfiles; i++) {
        std::string problem = check_entry(i, &data);
        if (problem.empty()) {
            printf("ok\t%u\t%s\n", corefile_entrysize(i), corefile_image.names[i]);
        } else {
            printf("FAIL\t%u\t%s: %s\n", corefile_entrysize(i), corefile_image.names[i], problem.c_str());
            failed++;
        }
    }
    fprintf(stderr, "corepack: %s: %u entries, %u failed\n", archive, corefile_image.numfiles, failed);
    corefile_closeimage();
    return failed ? 1 : 0;
}

int main(int argc, char **argv)
{
    _dbg_setstream(stderr);
    if (argc < 2)
        return usage();
    const char *command = argv[1];
    if (!strcmp(command, "create") && argc == 4)
        return cmd_create(argv[2], argv[3]);
    if (!strcmp(command, "append") && argc == 4)
        return cmd_append(argv[2], argv[3]);
    if (!strcmp(command, "list") && argc == 3)
        return cmd_list(argv[2]);
    if (!strcmp(command, "cat") && argc == 4)
        return cmd_cat(argv[2], argv[3]);
    if (!strcmp(command, "check") && argc == 3)
        return cmd_check(argv[2]);
    return usage();
}
