// Packs test files into a real resource archive and mounts it, so images
// load through the same path the demo uses.
#pragma once

#include <cstdio>
#include <cstdlib>
#include <string>
#include <utility>
#include <vector>

#include "engine/corefile/corefile.h"

using ArchiveEntry = std::pair<std::string, std::vector<uint8_t>>;

// Writes the archive to a fresh temporary file and mounts it; names must be
// lower case as the archive stores them. Returns 1 when mounted.
inline int mountarchive(const std::vector<ArchiveEntry> &entries)
{
    std::vector<uint8_t> table;
    auto u32 = [](std::vector<uint8_t> &v, uint32_t x) {
        for (int i = 0; i < 4; i++)
            v.push_back((uint8_t)(x >> (8 * i)));
    };
    uint32_t offset = 12;
    for (const ArchiveEntry &e : entries)
        offset += 12 + (uint32_t)e.first.size();
    for (const ArchiveEntry &e : entries) {
        u32(table, (uint32_t)e.first.size());
        u32(table, corefile_gethash(e.first.c_str()));
        table.insert(table.end(), e.first.begin(), e.first.end());
        u32(table, offset);
        offset += (uint32_t)e.second.size();
    }
    std::vector<uint8_t> archive = {'C', 'O', 'R', 'E'};
    u32(archive, (uint32_t)entries.size());
    u32(archive, offset);
    archive.insert(archive.end(), table.begin(), table.end());
    for (const ArchiveEntry &e : entries)
        archive.insert(archive.end(), e.second.begin(), e.second.end());

    char path[] = "/tmp/floxa_bitmaps_XXXXXX";
    int fd = mkstemp(path);
    if (fd < 0)
        return 0;
    FILE *f = fdopen(fd, "wb");
    fwrite(archive.data(), 1, archive.size(), f);
    fclose(f);
    int ok = corefile_mountimage(path, COREFILE_KIND_ARCHIVE);
    remove(path);  // the mount keeps the stream open
    return ok;
}
