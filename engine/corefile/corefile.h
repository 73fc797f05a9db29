// Virtual file system over one mounted resource image.
//
// An image is either a packed "CORE" archive (a file of its own, kind 0, or
// appended to a host file such as the executable, kind 1) or a local
// directory tree (kind 2). Callers open files by name into a handle they
// own, read them whole and close them. Archive layout (all integers u32
// little-endian, no padding):
//
//   header   "CORE", numfiles, romsize (end of the last file's data)
//   table    numfiles x { namelength, hash, name[namelength], offset }
//   data     the files in table order; size(i) = offset(i+1) - offset(i),
//            the last one romsize - offset
//
// Offsets and romsize count from the first byte of the host file. An
// appended archive ends its host file with the u32 position of its header.
// Archives are written by tools/corepack, which stores the files in sorted
// name order and refuses names that are not lower case.
// Names are stored lower case with '/' between directory levels; lookups
// lower-case the requested name. Archives are untrusted: a mount checks the
// whole header and table against the file before accepting it.
//
// Every allocation goes through the counting allocator. Diagnostics go
// through _dbg_printf. Not thread-safe: all archive handles share one stream.
#pragma once

#include <cstdint>
#include <cstdio>

// The source name every counted allocation and release of the file system
// carries, so the allocator's reports point at this module.
#define COREFILE_SOURCE "corefile/corefile-std"

enum {
    COREFILE_KIND_ARCHIVE = 0,    // an archive file of its own
    COREFILE_KIND_APPENDED = 1,   // an archive at the end of a host file
    COREFILE_KIND_DIRECTORY = 2,  // a local directory tree
};

// What is mounted; every operation branches on it.
enum {
    COREFILE_MOUNT_NONE = 0,
    COREFILE_MOUNT_ARCHIVE = 1,
    COREFILE_MOUNT_DIRECTORY = 2,
};

// The mounted image.
struct s_corefile_image {
    void *base;          // archive: the host stream (g_fp); directory: owned copy of its path
    uint32_t romsize;    // archive: end of the last file's data
    uint32_t numfiles;   // entries in the table
    uint32_t *offsets;   // archive: data offsets in the host file
    char **names;        // entry names, NUL-terminated
    uint32_t *hashes;    // archive: stored name hashes
};

// An open file, owned by the caller.
struct s_corefile {
    FILE *stream;        // directory mounts: the file's own stream; archives: null
    uint32_t index;      // archive: the entry's row in the table
    uint32_t position;   // archive: absolute position in the host file; directory: within the file
    uint32_t size;       // the file's size in bytes
    uint32_t hash;       // archive: hash of the looked-up name
};

extern s_corefile_image corefile_image;
extern int corefile_mounttype;
extern FILE *g_fp;                 // the archive's stream, shared by every handle
extern char *corefile_localpath;   // 256 bytes; "/" after a mount (see dirlist.h)

// Mounts NAME as KIND (COREFILE_KIND_*), replacing any mounted image.
// Returns 1 on success, 0 on failure (with a message saying why).
int corefile_mountimage(const char *name, int kind);
// Releases everything the mount allocated; safe when nothing is mounted.
void corefile_closeimage();

// Opens NAME (any case) into F; mode 1 opens for writing (directory mounts
// only), anything else for reading. Returns 1 when found, 0 otherwise
// (F is then left as it was). F->size holds the file's size afterwards.
int corefile_open(const char *name, s_corefile *f, int mode);
// Reads size * count bytes at F's position and advances it by that much.
// Reads are not clamped to the file: the caller asks for at most
// fsize - (tell - start) bytes. Bytes the host file cannot supply are
// zeroed. Returns the number of whole items read, as fread does.
uint32_t corefile_read(void *buffer, uint32_t size, uint32_t count, s_corefile *f);
// Directory mounts only: writes at F's position and advances it. Returns
// the items written (0 on archive mounts).
uint32_t corefile_write(const void *buffer, uint32_t size, uint32_t count, s_corefile *f);
// whence 0: to OFFSET from the file's start; 1: by OFFSET; others: no effect.
void corefile_seek(s_corefile *f, int32_t offset, int whence);
// The position field: absolute in the host file on archive mounts.
uint32_t corefile_tell(const s_corefile *f);
uint32_t corefile_fsize(const s_corefile *f);
// Non-zero once the position has reached the file's end.
int corefile_feof(const s_corefile *f);
void corefile_rewind(s_corefile *f);
// Reads one line as fgets does (at most n - 1 bytes, keeps the newline).
// Returns BUFFER, or null when nothing could be read (BUFFER is then "").
char *corefile_gets(char *buffer, int n, s_corefile *f);
// Directory mounts: closes the stream. Archives: clears stream, index and
// position (size and hash stay).
void corefile_close(s_corefile *f);

// Reads the local path (see dirlist.h) + NAME whole into a buffer of its
// exact size, allocated with _wrap_malloc_dbg; the caller releases it with
// _wrap_free_dbg. SIZE, when given, receives the byte count. Returns null
// when the file cannot be opened or read in full.
void *corefile_loadbuffer(const char *name, uint32_t *size = nullptr);
// Writes SIZE bytes to the local path + NAME (directory mounts only).
// Returns 1 when everything was written.
int corefile_savebuffer(const char *name, const void *buffer, uint32_t size);

// Sum of the name's bytes taken as signed 8-bit values, wrapping at 32 bits.
uint32_t corefile_gethash(const char *name);
// Copies LENGTH bytes, turning A..Z into a..z; adds no terminator.
void file_downcase(char *dst, const char *src, uint32_t length);

// Size of table entry INDEX: derived from the offsets on archive mounts,
// the size on disk on directory mounts; 0 for an index out of range.
uint32_t corefile_entrysize(uint32_t index);
