// c8asm: encodings, labels, constants, data, sprite rows and errors.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tools/c8asm/assembler.h"

namespace {

std::vector<unsigned char> assemble(const std::string &source) {
    std::vector<unsigned char> image;
    std::vector<c8asm_error> errors;
    EXPECT_TRUE(c8asm_assemble(source, image, errors)) << (errors.empty() ? "" : errors[0].message);
    return image;
}

std::vector<c8asm_error> failures(const std::string &source) {
    std::vector<unsigned char> image = {1, 2, 3};
    std::vector<c8asm_error> errors;
    EXPECT_FALSE(c8asm_assemble(source, image, errors));
    EXPECT_TRUE(image.empty());
    return errors;
}

int word(const std::vector<unsigned char> &image, size_t at) { return image[at] << 8 | image[at + 1]; }

TEST(C8asm, EncodesEveryInstructionForm) {
    const struct { const char *text; int op; } cases[] = {
        {"cls", 0x00E0},          {"ret", 0x00EE},          {"sys 0x123", 0x0123},
        {"jp 0x345", 0x1345},     {"jp v0, 0x300", 0xB300}, {"call 0xABC", 0x2ABC},
        {"se v3, 0x42", 0x3342},  {"se v3, vA", 0x53A0},    {"sne v3, 7", 0x4307},
        {"sne v3, v4", 0x9340},   {"ld v5, 255", 0x65FF},   {"ld v5, -1", 0x65FF},
        {"ld v5, v6", 0x8560},    {"ld i, 0x2F0", 0xA2F0},  {"ld v1, dt", 0xF107},
        {"ld v1, k", 0xF10A},     {"ld dt, v2", 0xF215},    {"ld st, v2", 0xF218},
        {"ld f, v9", 0xF929},     {"ld b, v9", 0xF933},     {"ld [i], v9", 0xF955},
        {"ld v9, [i]", 0xF965},   {"add v1, 2", 0x7102},    {"add v1, v2", 0x8124},
        {"add i, v2", 0xF21E},    {"or v1, v2", 0x8121},    {"and v1, v2", 0x8122},
        {"xor v1, v2", 0x8123},   {"sub v1, v2", 0x8125},   {"shr v1", 0x8106},
        {"shr v1, v2", 0x8126},   {"subn v1, v2", 0x8127},  {"shl v1", 0x810E},
        {"rnd vE, 0x0F", 0xCE0F}, {"drw v1, v2, 15", 0xD12F}, {"skp v4", 0xE49E},
        {"sknp v4", 0xE4A1},      {"LD VF, 1", 0x6F01},
    };
    for (const auto &c : cases) {
        std::vector<unsigned char> image = assemble(c.text);
        ASSERT_EQ(image.size(), 2u) << c.text;
        EXPECT_EQ(word(image, 0), c.op) << c.text;
    }
}

TEST(C8asm, LabelsConstantsAndExpressions) {
    std::vector<unsigned char> image = assemble(
        "WIDTH = 4 * (3 + 2) - 1   ; 19\n"
        "start:  jp end            ; forward reference\n"
        "        ld v0, WIDTH\n"
        "        ld i, table + 2\n"
        "        ld v1, (0x0F << 4) | 0b11 & 0xFF\n"
        "        ld v2, TABLE_SIZE\n"
        "loop:   jp loop\n"
        "table:  db 1, 2, 3\n"
        "TABLE_SIZE = end - table\n"
        "end:    jp start\n");
    EXPECT_EQ(word(image, 0), 0x1000 | (0x200 + 15));  // end: after 6 words and 3 bytes
    EXPECT_EQ(word(image, 2), 0x6013);
    EXPECT_EQ(word(image, 4), 0xA000 | (0x20C + 2));
    EXPECT_EQ(word(image, 6), 0x61F3);
    EXPECT_EQ(word(image, 8), 0x6203);  // constant that names a later label
    EXPECT_EQ(word(image, 10), 0x120A);
    EXPECT_EQ(word(image, 15), 0x1200);
}

TEST(C8asm, DataAndSpriteRows) {
    std::vector<unsigned char> image = assemble(
        "db 0x01, 255, -128\n"
        "dw 0x1234, -1\n"
        "row #.#.#.#.\n"
        "row ########\n"
        "row #\n"
        "row 1001\n"
        "row ..##....   ; comment after a row\n");
    const std::vector<unsigned char> want = {0x01, 0xFF, 0x80, 0x12, 0x34, 0xFF, 0xFF,
                                             0xAA, 0xFF, 0x80, 0x90, 0x30};
    EXPECT_EQ(image, want);
}

TEST(C8asm, ReportsEveryErrorWithItsLine) {
    std::vector<c8asm_error> errors = failures(
        "        cls\n"
        "        foo v1\n"            // 2 unknown instruction
        "        ld v1, 256\n"        // 3 byte range
        "        jp 0x1000\n"         // 4 address range
        "        drw v1, v2, 16\n"    // 5 nibble range
        "        ld v1, nowhere\n"    // 6 undefined name
        "twice:  cls\n"
        "twice:  cls\n"               // 8 duplicate label
        "        row ##x.\n"          // 9 bad sprite row
        "        row #########\n"     // 10 too wide
        "        add v1\n"            // 11 wrong operands
        "vf = 3\n"                    // 12 register as a name
        "        ld v1, 1 / 0\n"      // 13 division by zero
        "        ld v1, (2\n"         // 14 unbalanced
        "        se v1, 2, 3\n"       // 15 operand count
        "        db 1,,2\n");         // 16 empty item
    std::vector<int> lines;
    for (const c8asm_error &e : errors) lines.push_back(e.line);
    const std::vector<int> want = {2, 3, 4, 5, 6, 8, 9, 10, 11, 12, 13, 14, 15, 16};
    EXPECT_EQ(lines, want);
    ASSERT_EQ(errors.size(), want.size());
    EXPECT_NE(errors[0].message.find("foo"), std::string::npos);
    EXPECT_NE(errors[4].message.find("nowhere"), std::string::npos);
    EXPECT_NE(errors[5].message.find("line 7"), std::string::npos);
}

TEST(C8asm, RefusesProgramsLargerThanMemory) {
    std::string source;
    for (int i = 0; i < 1792; i++) source += "cls\n";
    EXPECT_EQ(assemble(source).size(), 3584u);
    source += "db 0\n";
    std::vector<c8asm_error> errors = failures(source);
    ASSERT_EQ(errors.size(), 1u);
    EXPECT_EQ(errors[0].line, 1793);
}

}  // namespace
