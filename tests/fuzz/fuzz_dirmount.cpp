// Directory mounts over a tree the input builds in a private folder, then
// chdir and listings with filters. Input: one entry a line. "cd PATH" and
// "ls FILTER" are commands run in order once the tree is mounted; "@NAME"
// makes a link back to the tree's top, "|NAME" a pipe; any other line is a
// path made below the top (ending in '/': a directory, else a file of the
// line's length). Names keep whatever bytes the input has, except that
// "." and ".." never name a level. Every lower-case mounted name must open
// with its listed size, the path must stay a rooted path that fits its
// buffer, and mounting, refusing and closing must leave no counted
// allocation behind.
#include <cerrno>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <string>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

#include "engine/corefile/corefile.h"
#include "engine/corefile/dirlist.h"
#include "engine/system/debug.h"
#include "engine/system/memory.h"

namespace {

const size_t kMaxLines = 64;
const size_t kMaxLine = 400;  // past the file system's 255-byte names

// Links are removed, never followed.
void removeall(const std::string &path)
{
    std::error_code ignored;
    std::filesystem::remove_all(path, ignored);
}

// The private folder, in memory and gone at exit: the tree goes in "tree",
// and "plain" is a file.
std::string folder()
{
    static char name[] = "/dev/shm/fuzz_dirmount_XXXXXX";  // a plain array outlives exit handlers
    static const bool made = [] {
        if (!mkdtemp(name)) abort();
        int fd = open((std::string(name) + "/plain").c_str(), O_WRONLY | O_CREAT, 0644);
        if (fd < 0) abort();
        close(fd);
        atexit([] { removeall(name); });
        return true;
    }();
    (void)made;
    return name;
}

std::string top()
{
    return folder() + "/tree";
}

// Makes every level of RELATIVE below the top, up to a level that is not a
// name or cannot be made.
void makepath(const std::string &relative, bool directory)
{
    std::string path = top();
    size_t start = 0;
    while (start < relative.size()) {
        size_t end = relative.find('/', start);
        if (end == std::string::npos) end = relative.size();
        std::string level = relative.substr(start, end - start);
        start = end + 1;
        if (level.empty()) continue;
        if (level == "." || level == "..") return;
        path += "/" + level;
        bool last = start >= relative.size();
        if (!last || directory) {
            if (mkdir(path.c_str(), 0755) != 0 && errno != EEXIST) return;
        } else {
            // Never blocks on a pipe of an earlier line: that open fails.
            int fd = open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_NONBLOCK, 0644);
            if (fd < 0) return;
            std::string content(relative.size(), 'x');
            ssize_t written = write(fd, content.data(), content.size());
            (void)written;  // a short file is a tree all the same
            close(fd);
            return;
        }
    }
}

void check(bool condition)
{
    if (!condition) abort();
}

void checkmount()
{
    for (uint32_t i = 0; i < corefile_image.numfiles; i++) {
        const char *name = corefile_image.names[i];
        check(name && strlen(name) < COREFILE_MAXPATH);
        // Lookups lower-case the name: one with capitals finds its lower-case
        // namesake, if any, so only lower-case names must find themselves.
        bool lower = true;
        for (const char *c = name; *c; c++)
            lower = lower && !(*c >= 'A' && *c <= 'Z');
        s_corefile f;
        bool opened = corefile_open(name, &f, 0);
        check(!lower || (opened && f.size == corefile_entrysize(i)));
        if (opened) corefile_close(&f);
    }
}

void checklisting()
{
    const char *path = corefile_getpath();
    check((path[0] == '/' || path[0] == '\\') && strlen(path) < COREFILE_MAXPATH && path[strlen(path) - 1] == '/');
    check(corefile_numfiles <= corefile_image.numfiles + 1);
    for (uint32_t i = 0; i < corefile_numfiles; i++) {
        const s_corefile_entry &e = corefile_filelist[i];
        check(e.displayname && e.fullname);
        if (!e.isdir) {
            bool found = false;
            for (uint32_t k = 0; k < corefile_image.numfiles && !found; k++)
                found = !strcmp(corefile_image.names[k], e.fullname);
            check(found);
        }
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    _dbg_setstream(nullptr);
    removeall(top());
    if (mkdir(top().c_str(), 0755) != 0) abort();

    std::vector<std::string> commands;
    std::string text(reinterpret_cast<const char *>(data), size);
    size_t start = 0;
    for (size_t lines = 0; start < text.size() && lines < kMaxLines; lines++) {
        size_t end = text.find('\n', start);
        if (end == std::string::npos) end = text.size();
        std::string line = text.substr(start, std::min(end - start, kMaxLine));
        start = end + 1;
        line = line.substr(0, line.find('\0'));
        if (line.rfind("cd ", 0) == 0 || line.rfind("ls ", 0) == 0) {
            commands.push_back(line);
        } else if (line.size() > 1 && (line[0] == '@' || line[0] == '|')) {
            std::string name = line.substr(1);
            if (name.find('/') != std::string::npos || name == "." || name == "..") continue;
            std::string path = top() + "/" + name;
            if (line[0] == '@') {
                if (symlink(".", path.c_str()) != 0) continue;
            } else if (mkfifo(path.c_str(), 0644) != 0) {
                continue;
            }
        } else if (!line.empty()) {
            makepath(line, line.back() == '/');
        }
    }

    const uint32_t baseline = g_mem_in_use;
    if (corefile_mountimage(top().c_str(), COREFILE_KIND_DIRECTORY)) {
        checkmount();
        corefile_readdir(".*");
        checklisting();
        for (const std::string &command : commands) {
            if (command[0] == 'c')
                corefile_chdir(command.c_str() + 3);
            else
                corefile_readdir(command.c_str() + 3);
            checklisting();
        }
        // Into every listed directory and back out.
        std::vector<std::string> directories;
        for (uint32_t i = 0; i < corefile_numfiles; i++)
            if (corefile_filelist[i].isdir) directories.push_back(corefile_filelist[i].fullname);
        for (const std::string &directory : directories) {
            corefile_chdir(directory.c_str());
            corefile_readdir("*.tga");
            checklisting();
            corefile_chdir("..");
        }
    }
    corefile_closeimage();
    check(g_mem_in_use == baseline);

    // Refused: a path that is not a directory, and one that is not there.
    check(!corefile_mountimage((folder() + "/plain").c_str(), COREFILE_KIND_DIRECTORY));
    check(!corefile_mountimage((top() + "/missing").c_str(), COREFILE_KIND_DIRECTORY));
    check(g_mem_in_use == baseline);
    return 0;
}
