// Helpers shared by the file-system tests and benchmark: a private temporary
// folder, whole-file I/O and an independent CORE archive builder, so the
// reader is checked against the layout itself rather than against corepack.
#pragma once

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include <sys/stat.h>

struct test_entry {
    std::string name;
    std::string data;
};

inline void test_put_u32(std::vector<uint8_t> *out, uint32_t value)
{
    for (int i = 0; i < 4; i++)
        out->push_back((uint8_t)(value >> (8 * i)));
}

inline uint32_t test_name_hash(const std::string &name)
{
    uint32_t hash = 0;
    for (char c : name)
        hash += (uint32_t)(int32_t)(int8_t)c;
    return hash;
}

// Archive bytes whose offsets count from host position BASE.
inline std::vector<uint8_t> test_archive(const std::vector<test_entry> &entries, uint32_t base = 0)
{
    uint32_t position = base + 12;
    for (const test_entry &e : entries)
        position += 12 + (uint32_t)e.name.size();
    std::vector<uint8_t> out = {'C', 'O', 'R', 'E'};
    uint32_t romsize = position;
    for (const test_entry &e : entries)
        romsize += (uint32_t)e.data.size();
    test_put_u32(&out, (uint32_t)entries.size());
    test_put_u32(&out, romsize);
    for (const test_entry &e : entries) {
        test_put_u32(&out, (uint32_t)e.name.size());
        test_put_u32(&out, test_name_hash(e.name));
        out.insert(out.end(), e.name.begin(), e.name.end());
        test_put_u32(&out, position);
        position += (uint32_t)e.data.size();
    }
    for (const test_entry &e : entries)
        out.insert(out.end(), e.data.begin(), e.data.end());
    return out;
}

// Overwrites the u32 at byte AT.
inline void test_patch_u32(std::vector<uint8_t> *bytes, size_t at, uint32_t value)
{
    for (int i = 0; i < 4; i++)
        (*bytes)[at + i] = (uint8_t)(value >> (8 * i));
}

inline void test_write_file(const std::string &path, const void *data, size_t size)
{
    FILE *f = fopen(path.c_str(), "wb");
    if (f) {
        fwrite(data, 1, size, f);
        fclose(f);
    }
}

inline void test_write_file(const std::string &path, const std::vector<uint8_t> &bytes)
{
    test_write_file(path, bytes.data(), bytes.size());
}

inline std::string test_read_file(const std::string &path)
{
    std::string data;
    FILE *f = fopen(path.c_str(), "rb");
    if (!f)
        return data;
    char chunk[4096];
    size_t n;
    while ((n = fread(chunk, 1, sizeof chunk, f)) > 0)
        data.append(chunk, n);
    fclose(f);
    return data;
}

// A fresh folder below $TMPDIR (or /tmp), removed with everything in it.
struct test_tempdir {
    std::string path;
    test_tempdir()
    {
        const char *root = getenv("TMPDIR");
        std::string pattern = std::string(root && *root ? root : "/tmp") + "/corefile-XXXXXX";
        std::vector<char> buffer(pattern.begin(), pattern.end());
        buffer.push_back(0);
        if (mkdtemp(buffer.data()))
            path = buffer.data();
    }
    ~test_tempdir()
    {
        if (!path.empty())
            (void)system(("rm -rf '" + path + "'").c_str());
    }
    std::string operator/(const std::string &name) const { return path + "/" + name; }
    void mkdir(const std::string &name) const { ::mkdir((path + "/" + name).c_str(), 0755); }
};
