// Virtual file system: mounting archives and directories, lookup, handles.
//
// An archive is untrusted: the whole header and table are checked against
// the host file's length before a mount is accepted, so every later open and
// read stays inside the file. Directory scans work relative to directory
// descriptors and never change the process's current directory.
#include "engine/corefile/corefile.h"

#include "engine/corefile/dirlist.h"
#include "engine/system/debug.h"
#include "engine/system/memory.h"

#include <climits>
#include <cstdarg>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#define CF_ALLOC(size) _wrap_malloc_dbg((size), COREFILE_SOURCE, __LINE__)
#define CF_FREE(block) _wrap_free_dbg((block), COREFILE_SOURCE, __LINE__)

s_corefile_image corefile_image;
int corefile_mounttype = COREFILE_MOUNT_NONE;
FILE *g_fp;

enum {
    HEADER_BYTES = 12,
    MIN_ENTRY_BYTES = 12,   // namelength, hash, offset around an empty name
    // Longer names do not fit the 256-byte scan and listing buffers: such
    // archive entries refuse the mount, such files in a directory are skipped.
    MAX_NAME = COREFILE_MAXPATH - 1,
    MAX_LOOKUP = 4096,      // longest name a caller may ask for
};

// Directory-scan state: the running relative prefix and its length, and the
// name being recorded. Pass 1 records at most g_scancapacity names, the count
// pass 0 found, so a tree that grows between the passes cannot overrun.
static char curDir[COREFILE_MAXPATH];
static uint32_t diroffset;
static char curFile[COREFILE_MAXPATH];
static uint32_t g_scancapacity;

static uint32_t get_u32(const uint8_t *b)
{
    return (uint32_t)b[0] | (uint32_t)b[1] << 8 | (uint32_t)b[2] << 16 | (uint32_t)b[3] << 24;
}

static bool read_u32(FILE *fp, uint32_t *value)
{
    uint8_t b[4];
    if (fread(b, 1, 4, fp) != 4)
        return false;
    *value = get_u32(b);
    return true;
}

static void *alloc_zeroed(size_t size, int line)
{
    void *block = _wrap_malloc_dbg(size, COREFILE_SOURCE, line);
    if (block)
        memset(block, 0, size);
    return block;
}

// The name, offset and hash tables for COUNT entries (at least one row, so
// an empty image still has tables to release).
static bool alloc_tables(uint32_t count)
{
    size_t rows = count ? count : 1;
    corefile_image.names = (char **)alloc_zeroed(sizeof(char *) * rows, __LINE__);
    corefile_image.offsets = (uint32_t *)alloc_zeroed(sizeof(uint32_t) * rows, __LINE__);
    corefile_image.hashes = (uint32_t *)alloc_zeroed(sizeof(uint32_t) * rows, __LINE__);
    return corefile_image.names && corefile_image.offsets && corefile_image.hashes;
}

uint32_t corefile_gethash(const char *name)
{
    uint32_t hash = 0;
    for (const char *p = name; *p; p++)
        hash += (uint32_t)(int32_t)(int8_t)*p;
    return hash;
}

void file_downcase(char *dst, const char *src, uint32_t length)
{
    for (uint32_t i = 0; i < length; i++) {
        char c = src[i];
        dst[i] = (c >= 'A' && c <= 'Z') ? (char)(c - 'A' + 'a') : c;
    }
}

// Opens PATH only if it is a regular file. O_NONBLOCK keeps a pipe or
// device from stalling the open; it has no effect on regular files.
static FILE *open_regular(const char *path, bool write, uint64_t *size)
{
    int flags = (write ? O_WRONLY | O_CREAT | O_TRUNC : O_RDONLY) | O_NONBLOCK | O_CLOEXEC;
    int fd = open(path, flags, 0644);
    if (fd < 0)
        return nullptr;
    struct stat st;
    FILE *stream = nullptr;
    if (fstat(fd, &st) == 0 && S_ISREG(st.st_mode))
        stream = fdopen(fd, write ? "wb" : "rb");
    if (!stream) {
        close(fd);
        return nullptr;
    }
    *size = (uint64_t)st.st_size;
    return stream;
}

// Reports why an archive was refused and drops the partial mount.
static int refuse(const char *name, const char *format, ...) __attribute__((format(printf, 2, 3)));
static int refuse(const char *name, const char *format, ...)
{
    char reason[160];
    va_list args;
    va_start(args, format);
    vsnprintf(reason, sizeof reason, format, args);
    va_end(args);
    _dbg_printf("bad resource image %s: %s\n", name, reason);
    corefile_closeimage();
    return 0;
}

// Reads the header and table at START and checks them against the host
// file's length, so no offset, size or name can reach outside the file.
static int read_archive(const char *name, uint64_t start, uint64_t filesize)
{
    // A file without the signature is refused with a message too: a silent
    // failure leaves the user guessing why nothing loads.
    uint8_t header[HEADER_BYTES];
    if (filesize < start + HEADER_BYTES || fread(header, 1, HEADER_BYTES, g_fp) != HEADER_BYTES)
        return refuse(name, "truncated header");
    if (memcmp(header, "CORE", 4) != 0)
        return refuse(name, "no CORE signature");
    uint32_t numfiles = get_u32(header + 4);
    uint32_t romsize = get_u32(header + 8);
    _dbg_printf("numfiles: %d\n", (int)numfiles);
    _dbg_printf("romsize: %d\n", (int)romsize);
    uint64_t pos = start + HEADER_BYTES;
    if (numfiles > (filesize - pos) / MIN_ENTRY_BYTES)
        return refuse(name, "%u entries cannot fit in the file", numfiles);
    if (romsize > filesize)
        return refuse(name, "romsize %u is beyond the end of the file (%llu bytes)", romsize,
                      (unsigned long long)filesize);

    corefile_image.romsize = romsize;
    if (!alloc_tables(numfiles))
        return refuse(name, "out of memory for %u entries", numfiles);

    for (uint32_t i = 0; i < numfiles; i++) {
        uint32_t length, hash, offset;
        if (!read_u32(g_fp, &length) || !read_u32(g_fp, &hash))
            return refuse(name, "table truncated at entry %u", i);
        if (length > MAX_NAME)
            return refuse(name, "name of entry %u is %u bytes long (at most %d)", i, length, MAX_NAME);
        if (pos + 8 + length + 4 > filesize)
            return refuse(name, "table truncated at entry %u", i);
        char *entry = (char *)CF_ALLOC(length + 1);
        if (!entry)
            return refuse(name, "out of memory");
        corefile_image.names[i] = entry;
        corefile_image.numfiles = i + 1;   // so a refusal releases this name too
        if (fread(entry, 1, length, g_fp) != length || !read_u32(g_fp, &offset))
            return refuse(name, "table truncated at entry %u", i);
        entry[length] = 0;
        if (strlen(entry) != length)
            return refuse(name, "name of entry %u holds a NUL byte", i);
        corefile_image.hashes[i] = hash;
        corefile_image.offsets[i] = offset;
        pos += 8 + length + 4;
    }

    // Data follow the table in table order and end at romsize; sizes are
    // differences of neighbouring offsets, so those must not run backwards.
    uint64_t previous = pos;
    for (uint32_t i = 0; i < numfiles; i++) {
        uint32_t offset = corefile_image.offsets[i];
        if (offset < previous || offset > romsize)
            return refuse(name, "entry %u (%s) has offset %u outside %llu..%u", i, corefile_image.names[i],
                          offset, (unsigned long long)previous, romsize);
        previous = offset;
    }

    // Such entries mount but can never be opened: say so now rather than
    // leaving a puzzling "couldn't find file" for later.
    for (uint32_t i = 0; i < numfiles; i++) {
        const char *entry = corefile_image.names[i];
        bool lower = true;
        for (const char *p = entry; *p; p++)
            lower = lower && !(*p >= 'A' && *p <= 'Z');
        if (!lower || corefile_gethash(entry) != corefile_image.hashes[i])
            _dbg_printf("warning: entry %u (%s) can never be found: %s\n", i, entry,
                        lower ? "stored hash does not match its name" : "name is not lower case");
    }
    return 1;
}

// Opens PATH below the directory AT and records every regular file in it,
// recursively, as a relative name in curFile. Pass 0 counts, pass 1 records.
// Returns false when PATH cannot be listed.
static bool corefile_opendir(int at, const char *path, int pass)
{
    // Levels: the '/' between the first and the last character, plus one.
    // Only reported: descriptors make walking back up unnecessary.
    size_t path_length = strlen(path);
    int levels = 1;
    for (size_t i = 1; path_length > 1 && i + 1 < path_length; i++)
        levels += path[i] == '/';
    if (levels > 1)
        _dbg_printf("path has %d sublevels\n", levels);
    int fd = openat(at, path, O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    DIR *dir = fd >= 0 ? fdopendir(fd) : nullptr;
    if (!dir) {
        if (fd >= 0)
            close(fd);
        _dbg_printf("error reading directory\n");
        return false;
    }
    int dfd = dirfd(dir);
    while (struct dirent *e = readdir(dir)) {
        const char *entry = e->d_name;
        if (!strcmp(entry, ".") || !strcmp(entry, ".."))
            continue;
        struct stat st;
        if (fstatat(dfd, entry, &st, 0) != 0)
            continue;
        uint32_t length = (uint32_t)strlen(entry);
        if (S_ISDIR(st.st_mode)) {
            // Linked directories could loop back on the tree.
            struct stat link;
            if (fstatat(dfd, entry, &link, AT_SYMLINK_NOFOLLOW) == 0 && S_ISLNK(link.st_mode)) {
                if (pass == 0)
                    _dbg_printf("skipping linked directory %s%s\n", curDir, entry);
                continue;
            }
            if (diroffset + length + 1 > MAX_NAME) {
                if (pass == 0)
                    _dbg_printf("skipping directory %s%s: path longer than %d bytes\n", curDir, entry, MAX_NAME);
                continue;
            }
            memcpy(curDir + diroffset, entry, length);
            curDir[diroffset + length] = '/';
            diroffset += length + 1;
            curDir[diroffset] = 0;
            corefile_opendir(dfd, entry, pass);
            diroffset -= length + 1;
            curDir[diroffset] = 0;
        } else if (S_ISREG(st.st_mode)) {
            // Only regular files: opening a pipe or device later could block.
            if (diroffset + length > MAX_NAME) {
                if (pass == 0)
                    _dbg_printf("skipping file %s%s: name longer than %d bytes\n", curDir, entry, MAX_NAME);
                continue;
            }
            memset(curFile, 0, sizeof curFile);
            memcpy(curFile, curDir, diroffset);
            memcpy(curFile + diroffset, entry, length);
            if (pass == 1) {
                if (corefile_image.numfiles >= g_scancapacity)
                    continue;
                char *copy = (char *)CF_ALLOC(COREFILE_MAXPATH);
                if (!copy)
                    continue;
                memcpy(copy, curFile, COREFILE_MAXPATH);
                corefile_image.names[corefile_image.numfiles] = copy;
            }
            corefile_image.numfiles++;
        }
    }
    if (closedir(dir) != 0)
        puts("Error closing directory");
    return true;
}

static int read_directory(const char *name)
{
    curDir[0] = curFile[0] = 0;
    diroffset = 0;
    corefile_image.numfiles = 0;
    // A directory that cannot be listed fails the mount instead of mounting
    // as an empty image that looks like success.
    if (!corefile_opendir(AT_FDCWD, name, 0)) {
        corefile_closeimage();
        return 0;
    }
    uint32_t count = corefile_image.numfiles;
    _dbg_printf("Found %d files\n", (int)count);
    corefile_image.numfiles = 0;
    if (!alloc_tables(count)) {
        corefile_closeimage();
        return 0;
    }
    curDir[0] = curFile[0] = 0;
    diroffset = 0;
    g_scancapacity = count;
    if (!corefile_opendir(AT_FDCWD, name, 1)) {
        corefile_closeimage();
        return 0;
    }
    return 1;
}

int corefile_mountimage(const char *name, int kind)
{
    if (!name)
        return 0;
    _dbg_printf("Loading resource image: %s\n", name);
    if (kind < COREFILE_KIND_ARCHIVE || kind > COREFILE_KIND_DIRECTORY)
        return 0;
    corefile_closeimage();   // one image at a time

    int ok;
    if (kind == COREFILE_KIND_DIRECTORY) {
        corefile_mounttype = COREFILE_MOUNT_DIRECTORY;
        size_t length = strlen(name);
        char *path = (char *)CF_ALLOC(length + 1);
        if (!path) {
            corefile_mounttype = COREFILE_MOUNT_NONE;
            return 0;
        }
        memcpy(path, name, length + 1);
        corefile_image.base = path;
        ok = read_directory(name);
    } else {
        uint64_t filesize;
        g_fp = open_regular(name, false, &filesize);
        if (!g_fp) {
            _dbg_printf("could not open image: %s\n", name);
            return 0;
        }
        corefile_image.base = g_fp;
        corefile_mounttype = COREFILE_MOUNT_ARCHIVE;
        uint64_t start = 0;
        if (kind == COREFILE_KIND_APPENDED) {
            uint32_t position;
            if (filesize < 4 + HEADER_BYTES || fseeko(g_fp, (off_t)(filesize - 4), SEEK_SET) != 0 ||
                !read_u32(g_fp, &position))
                return refuse(name, "too short to hold an appended archive");
            filesize -= 4;   // the trailer is not part of the archive
            if ((uint64_t)position + HEADER_BYTES > filesize)
                return refuse(name, "trailer points to %u, outside the file", position);
            start = position;
            if (fseeko(g_fp, (off_t)start, SEEK_SET) != 0)
                return refuse(name, "cannot seek to the archive");
            _dbg_printf("loading from executable\n");
        } else {
            _dbg_printf("loading from file\n");
        }
        ok = read_archive(name, start, filesize);
    }
    if (!ok)
        return 0;
    if (!dirlist_create(corefile_image.numfiles)) {
        corefile_closeimage();
        return 0;
    }
    return 1;
}

void corefile_closeimage()
{
    if (corefile_mounttype == COREFILE_MOUNT_ARCHIVE) {
        if (g_fp)
            fclose(g_fp);
        g_fp = nullptr;
    } else if (corefile_mounttype == COREFILE_MOUNT_DIRECTORY && corefile_image.base) {
        CF_FREE(corefile_image.base);
    }
    if (corefile_image.names) {
        for (uint32_t i = 0; i < corefile_image.numfiles; i++)
            if (corefile_image.names[i])
                CF_FREE(corefile_image.names[i]);
        CF_FREE(corefile_image.names);
    }
    if (corefile_image.offsets)
        CF_FREE(corefile_image.offsets);
    if (corefile_image.hashes)
        CF_FREE(corefile_image.hashes);
    memset(&corefile_image, 0, sizeof corefile_image);
    dirlist_release();
    corefile_mounttype = COREFILE_MOUNT_NONE;
}

uint32_t corefile_entrysize(uint32_t index)
{
    if (index >= corefile_image.numfiles)
        return 0;
    if (corefile_mounttype == COREFILE_MOUNT_ARCHIVE) {
        uint32_t end = index + 1 < corefile_image.numfiles ? corefile_image.offsets[index + 1]
                                                            : corefile_image.romsize;
        return end - corefile_image.offsets[index];
    }
    char path[PATH_MAX];
    struct stat st;
    int n = snprintf(path, sizeof path, "%s/%s", (const char *)corefile_image.base, corefile_image.names[index]);
    if (n < 0 || (size_t)n >= sizeof path || stat(path, &st) != 0 || st.st_size > (off_t)UINT32_MAX)
        return 0;
    return (uint32_t)st.st_size;
}

static int open_local(const char *lower, s_corefile *f, int mode)
{
    char path[PATH_MAX];
    int n = snprintf(path, sizeof path, "%s/%s", (const char *)corefile_image.base, lower);
    if (n < 0 || (size_t)n >= sizeof path)
        return 0;
    uint64_t size;
    FILE *stream = open_regular(path, mode == 1, &size);
    if (!stream)
        return 0;
    if (size > UINT32_MAX) {
        fclose(stream);
        return 0;
    }
    f->stream = stream;
    f->index = 0;
    f->position = 0;
    f->size = (uint32_t)size;
    f->hash = 0;
    return 1;
}

int corefile_open(const char *name, s_corefile *f, int mode)
{
    if (!name || !f)
        return 0;
    size_t length = strlen(name);
    if (length >= MAX_LOOKUP) {
        _dbg_printf("couldn't find file: name of %zu bytes is too long\n", length);
        return 0;
    }
    char lower[MAX_LOOKUP];
    file_downcase(lower, name, (uint32_t)length);
    lower[length] = 0;

    if (corefile_mounttype == COREFILE_MOUNT_DIRECTORY)
        return open_local(lower, f, mode);

    uint32_t hash = corefile_gethash(lower);
    if (corefile_mounttype == COREFILE_MOUNT_ARCHIVE) {
        // Hash first, then the whole name: a prefix with an equal hash is a
        // different file.
        for (uint32_t i = 0; i < corefile_image.numfiles; i++) {
            if (corefile_image.hashes[i] != hash || strcmp(corefile_image.names[i], lower) != 0)
                continue;
            f->stream = nullptr;
            f->index = i;
            f->position = corefile_image.offsets[i];
            f->size = corefile_entrysize(i);
            f->hash = hash;
            _dbg_printf("found file at offset: %d\n", (int)f->position);
            return 1;
        }
    }
    _dbg_printf("couldn't find file: %s\n", lower);
    return 0;
}

static FILE *stream_of(const s_corefile *f)
{
    if (corefile_mounttype == COREFILE_MOUNT_ARCHIVE)
        return g_fp;
    if (corefile_mounttype == COREFILE_MOUNT_DIRECTORY)
        return f->stream;
    return nullptr;
}

// The handle's data offset in the host file (archive mounts), else 0.
static uint32_t start_of(const s_corefile *f)
{
    if (corefile_mounttype == COREFILE_MOUNT_ARCHIVE && f->index < corefile_image.numfiles)
        return corefile_image.offsets[f->index];
    return 0;
}

uint32_t corefile_read(void *buffer, uint32_t size, uint32_t count, s_corefile *f)
{
    uint64_t wanted = (uint64_t)size * count;
    if (!buffer || !f || wanted == 0)
        return 0;
    FILE *fp = stream_of(f);
    size_t got = 0;
    if (fp && fseeko(fp, (off_t)f->position, SEEK_SET) == 0)
        got = fread(buffer, 1, (size_t)wanted, fp);
    // Whatever the file could not supply reads as zeros, never as stale memory.
    if (got < wanted)
        memset((uint8_t *)buffer + got, 0, (size_t)(wanted - got));
    f->position += (uint32_t)wanted;
    return (uint32_t)(got / size);
}

uint32_t corefile_write(const void *buffer, uint32_t size, uint32_t count, s_corefile *f)
{
    uint64_t wanted = (uint64_t)size * count;
    if (corefile_mounttype != COREFILE_MOUNT_DIRECTORY || !buffer || !f || !f->stream || wanted == 0)
        return 0;
    size_t put = 0;
    if (fseeko(f->stream, (off_t)f->position, SEEK_SET) == 0)
        put = fwrite(buffer, 1, (size_t)wanted, f->stream);
    f->position += (uint32_t)wanted;
    return (uint32_t)(put / size);
}

void corefile_seek(s_corefile *f, int32_t offset, int whence)
{
    if (whence == 0)
        f->position = start_of(f) + (uint32_t)offset;
    else if (whence == 1)
        f->position += (uint32_t)offset;
}

uint32_t corefile_tell(const s_corefile *f)
{
    return f->position;
}

uint32_t corefile_fsize(const s_corefile *f)
{
    return f->size;
}

int corefile_feof(const s_corefile *f)
{
    if (corefile_mounttype == COREFILE_MOUNT_DIRECTORY)
        return f->stream ? feof(f->stream) : 1;
    return f->position - start_of(f) >= f->size;
}

void corefile_rewind(s_corefile *f)
{
    f->position = start_of(f);
    if (corefile_mounttype == COREFILE_MOUNT_DIRECTORY && f->stream)
        rewind(f->stream);
}

char *corefile_gets(char *buffer, int n, s_corefile *f)
{
    if (!buffer || n < 1 || !f)
        return nullptr;
    buffer[0] = 0;
    FILE *fp = stream_of(f);
    if (!fp || fseeko(fp, (off_t)f->position, SEEK_SET) != 0)
        return nullptr;
    char *line = fgets(buffer, n, fp);
    if (!line)
        buffer[0] = 0;
    off_t now = ftello(fp);
    if (now >= 0)
        f->position = (uint32_t)now;
    return line;
}

void corefile_close(s_corefile *f)
{
    if (!f)
        return;
    if (f->stream)
        fclose(f->stream);
    f->stream = nullptr;
    if (corefile_mounttype != COREFILE_MOUNT_DIRECTORY) {
        f->index = 0;
        f->position = 0;
    }
}

// Local path + NAME; archive names carry no leading '/', so it is dropped
// there (the local path starts with one).
static const char *local_name(char *path, size_t capacity, const char *name)
{
    int n = snprintf(path, capacity, "%s%s", corefile_localpath ? corefile_localpath : "", name);
    if (n < 0 || (size_t)n >= capacity) {
        _dbg_printf("path too long: %s%s\n", corefile_localpath ? corefile_localpath : "", name);
        return nullptr;
    }
    if (corefile_mounttype == COREFILE_MOUNT_ARCHIVE)
        while (*path == '/')
            path++;
    return path;
}

void *corefile_loadbuffer(const char *name, uint32_t *size)
{
    char path[MAX_LOOKUP];
    const char *full = name ? local_name(path, sizeof path, name) : nullptr;
    s_corefile f;
    if (!full || !corefile_open(full, &f, 0))
        return nullptr;
    void *buffer = CF_ALLOC(f.size ? f.size : 1);
    if (!buffer) {
        corefile_close(&f);
        return nullptr;
    }
    uint32_t got = corefile_read(buffer, 1, f.size, &f);
    corefile_close(&f);
    if (got != f.size) {
        _dbg_printf("short read: %s (%u of %u bytes)\n", full, got, f.size);
        CF_FREE(buffer);
        return nullptr;
    }
    if (size)
        *size = f.size;
    return buffer;
}

int corefile_savebuffer(const char *name, const void *buffer, uint32_t size)
{
    if (corefile_mounttype != COREFILE_MOUNT_DIRECTORY || !name)
        return 0;
    char path[MAX_LOOKUP];
    const char *full = local_name(path, sizeof path, name);
    s_corefile f;
    if (!full || !corefile_open(full, &f, 1))
        return 0;
    uint32_t put = size ? corefile_write(buffer, size, 1, &f) : 1;
    corefile_close(&f);
    return put == 1;
}
