// Browsing view over the mounted image's flat name table: a current path,
// moving between directories, and a listing of the current directory's
// subdirectories and files with an extension filter. Directories are
// derived from the '/'-separated prefixes of the names (music/song.wav lies
// in music).
#pragma once

#include <cstdint>

struct s_corefile_entry {
    char *displayname;   // directory: "[name]"; file: name relative to the current path
    char *fullname;      // directory: its plain name; file: the full image name
    uint32_t size;       // file: size in bytes; directory: 0
    uint8_t isdir;       // 1 directory, 0 file
};

enum {
    COREFILE_MAXDIRS = 260,   // subdirectory slots per listing
    COREFILE_MAXPATH = 256,   // bytes of corefile_localpath, terminator included
};

// The listing; corefile_numfiles entries are valid. Room for one entry per
// image file plus the ".." entry is made at mount time.
extern s_corefile_entry *corefile_filelist;
extern uint32_t corefile_numfiles;
// Subdirectory names collected during a listing; emptied by each listing.
extern char *corefile_dirnames[COREFILE_MAXDIRS];
extern int corefile_numdirs;

// ".", "..", an absolute path (leading '/' or '\') or a relative one; the
// result always ends with '/'. A result that would not fit is refused.
void corefile_chdir(const char *path);
// The current path ("/" after a mount; "" when nothing is mounted).
const char *corefile_getpath();
// Rebuilds the listing for the current path: ".." below the root, the
// subdirectories in order of first appearance, then the files in table
// order whose names end with the filter's extension ("*.tga"); ".*" or a
// filter without '.' lists every file.
void corefile_readdir(const char *filter);
// Adds NAME to corefile_dirnames unless an equal name is there; returns the
// stored copy, or null when the table is full.
char *corefile_adddir(const char *name);

// Mount-time set-up and release of the listing and the current path
// (called by corefile_mountimage / corefile_closeimage).
int dirlist_create(uint32_t numfiles);
void dirlist_release();
