// Archive layout writer. Names are checked here because the engine lower-cases
// every lookup: an upper-case name in an archive could never be opened.
#include "tools/corepack/archive_writer.h"

#include "engine/corefile/corefile.h"

#include <algorithm>
#include <filesystem>
#include <system_error>

namespace fs = std::filesystem;

enum { MAX_NAME = 255 };

static bool read_whole(const fs::path &path, std::vector<uint8_t> *data)
{
    FILE *f = fopen(path.c_str(), "rb");
    if (!f)
        return false;
    uint8_t chunk[65536];
    size_t n;
    while ((n = fread(chunk, 1, sizeof chunk, f)) > 0)
        data->insert(data->end(), chunk, chunk + n);
    bool ok = !ferror(f);
    fclose(f);
    return ok;
}

bool pack_collect(const char *dir, std::vector<pack_file> *files)
{
    std::error_code ec;
    fs::path root(dir);
    if (!fs::is_directory(root, ec)) {
        fprintf(stderr, "corepack: %s is not a directory\n", dir);
        return false;
    }
    std::vector<std::string> names;
    auto it = fs::recursive_directory_iterator(root, ec);
    if (ec) {
        fprintf(stderr, "corepack: cannot read %s: %s\n", dir, ec.message().c_str());
        return false;
    }
    for (auto end = fs::recursive_directory_iterator(); it != end; it.increment(ec)) {
        if (ec) {
            fprintf(stderr, "corepack: cannot read below %s: %s\n", dir, ec.message().c_str());
            return false;
        }
        if (!it->is_regular_file(ec))
            continue;
        names.push_back(fs::relative(it->path(), root, ec).generic_string());
    }
    std::sort(names.begin(), names.end());

    bool ok = true;
    for (const std::string &name : names) {
        if (std::any_of(name.begin(), name.end(), [](char c) { return c >= 'A' && c <= 'Z'; })) {
            fprintf(stderr, "corepack: %s: name is not lower case (archive lookups are lower case)\n",
                    name.c_str());
            ok = false;
        } else if (name.size() > MAX_NAME) {
            fprintf(stderr, "corepack: %s: name longer than %d bytes\n", name.c_str(), MAX_NAME);
            ok = false;
        }
    }
    if (!ok)
        return false;
    for (const std::string &name : names) {
        pack_file file{name, {}};
        if (!read_whole(root / name, &file.data)) {
            fprintf(stderr, "corepack: cannot read %s\n", (root / name).c_str());
            return false;
        }
        files->push_back(std::move(file));
    }
    return true;
}

static void put_u32(std::vector<uint8_t> *out, uint32_t value)
{
    for (int i = 0; i < 4; i++)
        out->push_back((uint8_t)(value >> (8 * i)));
}

bool pack_write(FILE *out, uint32_t base, const std::vector<pack_file> &files)
{
    uint64_t end = (uint64_t)base + 12;
    for (const pack_file &file : files)
        end += 12 + file.name.size();
    std::vector<uint64_t> offsets;
    for (const pack_file &file : files) {
        offsets.push_back(end);
        end += file.data.size();
    }
    if (end > UINT32_MAX || files.size() > UINT32_MAX) {
        fprintf(stderr, "corepack: archive would exceed 4 GB\n");
        return false;
    }

    std::vector<uint8_t> table = {'C', 'O', 'R', 'E'};
    put_u32(&table, (uint32_t)files.size());
    put_u32(&table, (uint32_t)end);
    for (size_t i = 0; i < files.size(); i++) {
        const std::string &name = files[i].name;
        put_u32(&table, (uint32_t)name.size());
        put_u32(&table, corefile_gethash(name.c_str()));
        table.insert(table.end(), name.begin(), name.end());
        put_u32(&table, (uint32_t)offsets[i]);
    }
    bool ok = fwrite(table.data(), 1, table.size(), out) == table.size();
    for (const pack_file &file : files)
        ok = ok && fwrite(file.data.data(), 1, file.data.size(), out) == file.data.size();
    if (!ok)
        fprintf(stderr, "corepack: write failed\n");
    return ok;
}
