// Directory listing over the mounted image's flat name table. The listing
// array is sized at mount time for every image file plus the ".." entry:
// each name yields at most one entry (a new subdirectory or a file), so a
// listing never needs more.
#include "engine/corefile/dirlist.h"

#include "engine/corefile/corefile.h"
#include "engine/system/debug.h"
#include "engine/system/memory.h"

#include <cstring>

s_corefile_entry *corefile_filelist;
uint32_t corefile_numfiles;
char *corefile_dirnames[COREFILE_MAXDIRS];
int corefile_numdirs;
char *corefile_localpath;

static uint32_t g_filelistcapacity;

static char *copy_string(const char *text, size_t length, int line)
{
    char *copy = (char *)_wrap_malloc_dbg(length + 1, COREFILE_SOURCE, line);
    if (copy) {
        memcpy(copy, text, length);
        copy[length] = 0;
    }
    return copy;
}

static void release_listing()
{
    for (uint32_t i = 0; i < corefile_numfiles; i++) {
        s_corefile_entry *e = &corefile_filelist[i];
        if (e->displayname)
            _wrap_free_dbg(e->displayname, COREFILE_SOURCE, __LINE__);
        if (e->fullname)
            _wrap_free_dbg(e->fullname, COREFILE_SOURCE, __LINE__);
        e->displayname = e->fullname = nullptr;
        e->size = 0;
        e->isdir = 0;
    }
    corefile_numfiles = 0;
}

static void release_dirnames()
{
    for (int i = 0; i < corefile_numdirs; i++)
        if (corefile_dirnames[i])
            _wrap_free_dbg(corefile_dirnames[i], COREFILE_SOURCE, __LINE__);
    memset(corefile_dirnames, 0, sizeof corefile_dirnames);
    corefile_numdirs = 0;
}

int dirlist_create(uint32_t numfiles)
{
    g_filelistcapacity = numfiles + 1;
    size_t bytes = sizeof(s_corefile_entry) * g_filelistcapacity;
    corefile_filelist = (s_corefile_entry *)_wrap_malloc_dbg(bytes, COREFILE_SOURCE, __LINE__);
    corefile_localpath = (char *)_wrap_malloc_dbg(COREFILE_MAXPATH, COREFILE_SOURCE, __LINE__);
    if (!corefile_filelist || !corefile_localpath)
        return 0;
    memset(corefile_filelist, 0, bytes);
    memset(corefile_localpath, 0, COREFILE_MAXPATH);
    strcpy(corefile_localpath, "/");
    corefile_numfiles = 0;
    return 1;
}

void dirlist_release()
{
    if (corefile_filelist) {
        release_listing();
        _wrap_free_dbg(corefile_filelist, COREFILE_SOURCE, __LINE__);
    }
    if (corefile_localpath)
        _wrap_free_dbg(corefile_localpath, COREFILE_SOURCE, __LINE__);
    release_dirnames();
    corefile_filelist = nullptr;
    corefile_localpath = nullptr;
    corefile_numfiles = 0;
    g_filelistcapacity = 0;
}

const char *corefile_getpath()
{
    return corefile_localpath ? corefile_localpath : "";
}

void corefile_chdir(const char *path)
{
    if (!corefile_localpath || !path || !strcmp(path, "."))
        return;
    const char *current = corefile_localpath;
    size_t current_length = strlen(current);
    size_t path_length = strlen(path);
    // Room for the longest candidate plus the closing '/'.
    char next[2 * COREFILE_MAXPATH + 2];
    size_t length;
    if (!strcmp(path, "..")) {
        length = 0;
        for (size_t i = current_length > 1 ? current_length - 1 : 0; i-- > 0;) {
            if (current[i] == '/' || current[i] == '\\') {
                length = i;
                break;
            }
        }
        memcpy(next, current, length);
    } else if (path[0] == '/' || path[0] == '\\') {
        if (path_length >= COREFILE_MAXPATH) {
            _dbg_printf("path too long, staying in %s\n", current);
            return;
        }
        memcpy(next, path, path_length);
        length = path_length;
    } else {
        if (current_length + path_length >= COREFILE_MAXPATH) {
            _dbg_printf("path too long, staying in %s\n", current);
            return;
        }
        memcpy(next, current, current_length);
        memcpy(next + current_length, path, path_length);
        length = current_length + path_length;
    }
    if (length == 0 || next[length - 1] != '/')
        next[length++] = '/';
    if (length >= COREFILE_MAXPATH) {
        _dbg_printf("path too long, staying in %s\n", current);
        return;
    }
    memcpy(corefile_localpath, next, length);
    corefile_localpath[length] = 0;
    _dbg_printf("localpath = %s\n", corefile_localpath);
}

char *corefile_adddir(const char *name)
{
    for (int i = 0; i < corefile_numdirs; i++)
        if (!strcmp(corefile_dirnames[i], name))
            return corefile_dirnames[i];
    if (corefile_numdirs >= COREFILE_MAXDIRS) {
        _dbg_printf("too many directories, %s not listed\n", name);
        return nullptr;
    }
    char *copy = copy_string(name, strlen(name), __LINE__);
    if (copy)
        corefile_dirnames[corefile_numdirs++] = copy;
    return copy;
}

// True when TEXT holds a '/' before its last character, i.e. it names
// something inside a subdirectory.
static bool has_inner_slash(const char *text, size_t length)
{
    return length > 1 && memchr(text, '/', length - 1) != nullptr;
}

// Image entry I's name below PREFIX, or null when it lies elsewhere.
static const char *below(uint32_t i, const char *prefix, size_t prefix_length)
{
    const char *name = corefile_image.names[i];
    return strncmp(name, prefix, prefix_length) == 0 ? name + prefix_length : nullptr;
}

static void add_entry(char *displayname, char *fullname, uint32_t size, uint8_t isdir)
{
    if (!displayname || !fullname || corefile_numfiles >= g_filelistcapacity) {
        if (displayname)
            _wrap_free_dbg(displayname, COREFILE_SOURCE, __LINE__);
        if (fullname)
            _wrap_free_dbg(fullname, COREFILE_SOURCE, __LINE__);
        return;
    }
    s_corefile_entry *e = &corefile_filelist[corefile_numfiles++];
    e->displayname = displayname;
    e->fullname = fullname;
    e->size = size;
    e->isdir = isdir;
}

void corefile_readdir(const char *filter)
{
    if (!corefile_filelist || !corefile_localpath)
        return;
    const char *dot = filter ? strrchr(filter, '.') : nullptr;
    const char *extension = dot ? dot : "";
    size_t extension_length = strlen(extension);
    _dbg_printf("extension = %s, length: %d\n", extension, (int)extension_length);
    bool every_file = extension_length == 0 || !strcmp(extension, ".*");

    release_listing();
    const char *path = corefile_localpath;
    bool root = !strcmp(path, "/") || !*path;
    if (root)
        _dbg_printf("dir is root\n");
    const char *prefix = path[0] == '/' ? path + 1 : path;
    size_t prefix_length = strlen(prefix);

    release_dirnames();
    if (!root)
        corefile_adddir("..");
    for (uint32_t i = 0; i < corefile_image.numfiles; i++) {
        const char *rest = below(i, prefix, prefix_length);
        if (!rest || !has_inner_slash(rest, strlen(rest)))
            continue;
        char subdir[COREFILE_MAXPATH];
        size_t length = strcspn(rest, "/\\");
        memcpy(subdir, rest, length);
        subdir[length] = 0;
        corefile_adddir(subdir);
    }
    for (int i = 0; i < corefile_numdirs; i++) {
        char *name = corefile_dirnames[i];
        size_t length = strlen(name);
        char *display = (char *)_wrap_malloc_dbg(length + 3, COREFILE_SOURCE, __LINE__);
        if (display)
            snprintf(display, length + 3, "[%s]", name);
        add_entry(display, name, 0, 1);   // the listing takes the name over
        corefile_dirnames[i] = nullptr;
    }
    corefile_numdirs = 0;

    for (uint32_t i = 0; i < corefile_image.numfiles; i++) {
        const char *rest = below(i, prefix, prefix_length);
        if (!rest)
            continue;
        size_t rest_length = strlen(rest);
        if (!every_file && (rest_length < extension_length ||
                            memcmp(rest + rest_length - extension_length, extension, extension_length) != 0))
            continue;
        if (has_inner_slash(rest, rest_length))
            continue;
        const char *name = corefile_image.names[i];
        add_entry(copy_string(rest, rest_length, __LINE__), copy_string(name, strlen(name), __LINE__),
                  corefile_entrysize(i), 0);
    }
    _dbg_printf("- ReadDIR completed!\n");
}
