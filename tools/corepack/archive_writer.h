// Writing CORE archives: collecting a directory tree in a fixed order and
// laying out header, table and data.
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

struct pack_file {
    std::string name;            // relative, '/' between levels, lower case
    std::vector<uint8_t> data;
};

// Reads every regular file below DIR into FILES, sorted by name so two runs
// give the same archive. Names with upper-case letters, names longer than
// 255 bytes and unreadable files are refused: false, with a message on
// standard error naming the file.
bool pack_collect(const char *dir, std::vector<pack_file> *files);

// Writes the archive to OUT, whose first byte will sit at host-file position
// BASE (0 for an archive of its own), so offsets and romsize count from the
// host file's start. False when the result would not fit 32-bit offsets or
// a write fails.
bool pack_write(FILE *out, uint32_t base, const std::vector<pack_file> &files);
