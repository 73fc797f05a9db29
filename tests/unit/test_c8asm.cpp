// c8asm: encodings, labels, constants, data, sprite rows and errors.
#include <gtest/gtest.h>

#include <iterator>
#include <string>
#include <vector>

#include "tools/c8asm/assembler.h"

namespace {

using Bytes = std::vector<unsigned char>;

std::vector<c8asm_error> errors;  // of the last assemble

// Assembles source, expecting success exactly when ok.
Bytes assemble(const std::string &source, bool ok = true)
{
    Bytes image = {1, 2, 3};
    EXPECT_EQ(c8asm_assemble(source, image, errors), ok) << (errors.empty() ? "" : errors[0].message);
    return image;
}

TEST(C8asm, EncodesEveryInstructionForm)
{
    const struct { const char *text; int op; } cases[] = {
        {"cls", 0x00E0},            {"ret", 0x00EE},            {"sys 0x123", 0x0123},      {"jp 0x345", 0x1345},
        {"jp v0, 0x300", 0xB300},   {"call 0xABC", 0x2ABC},     {"se v3, 0x42", 0x3342},    {"se v3, vA", 0x53A0},
        {"sne v3, 7", 0x4307},      {"sne v3, v4", 0x9340},     {"ld v5, 255", 0x65FF},     {"ld v5, -1", 0x65FF},
        {"ld v5, v6", 0x8560},      {"ld i, 0x2F0", 0xA2F0},    {"ld v1, dt", 0xF107},      {"ld v1, k", 0xF10A},
        {"ld dt, v2", 0xF215},      {"ld st, v2", 0xF218},      {"ld f, v9", 0xF929},       {"ld b, v9", 0xF933},
        {"ld [i], v9", 0xF955},     {"ld v9, [i]", 0xF965},     {"add v1, 2", 0x7102},      {"add v1, v2", 0x8124},
        {"add i, v2", 0xF21E},      {"or v1, v2", 0x8121},      {"and v1, v2", 0x8122},     {"xor v1, v2", 0x8123},
        {"sub v1, v2", 0x8125},     {"shr v1", 0x8106},         {"shr v1, v2", 0x8126},     {"subn v1, v2", 0x8127},
        {"shl v1", 0x810E},         {"rnd vE, 0x0F", 0xCE0F},   {"drw v1, v2, 15", 0xD12F}, {"skp v4", 0xE49E},
        {"sknp v4", 0xE4A1},        {"LD VF, 1", 0x6F01},
    };
    for (const auto &c : cases)
        EXPECT_EQ(assemble(c.text), (Bytes{(unsigned char)(c.op >> 8), (unsigned char)c.op})) << c.text;
}

TEST(C8asm, ResolvesLabelsConstantsAndExpressionsAndWritesData)
{
    Bytes image = assemble(
        "WIDTH = 4 * (3 + 2) - 1\n"
        "start:  jp end            ; forward reference\n"
        "        ld v0, WIDTH\n"
        "        ld i, table + 2\n"
        "        ld v1, (0x0F << 4) | 0b11 & 0xFF\n"
        "        ld v2, SIZE       ; a constant naming a later label\n"
        "table:  db 1, 255, -128\n"
        "SIZE = end - table\n"
        "        dw 0x1234, -1\n"
        "        row #.#.#.#.\n"
        "        row 1001          ; padded with dark pixels\n"
        "end:    jp start\n");
    const Bytes want = {0x12, 0x13, 0x60, 19, 0xA2, 0x0C, 0x61, 0xF3, 0x62, 9, 1, 0xFF, 0x80,
                        0x12, 0x34, 0xFF, 0xFF, 0xAA, 0x90, 0x12, 0x00};
    EXPECT_EQ(image, want);
}

TEST(C8asm, ReportsEachErrorWithItsLineAndRefusesOversizedPrograms)
{
    const struct { const char *text, *says; } cases[] = {
        {"foo v1", "unknown instruction 'foo'"},      {"ld v1, 256", "256 does not fit in a byte"},
        {"jp 0x1000", "4096 is outside 0-0xFFF"},     {"drw v1, v2, 16", "sprite height must be 0-15"},
        {"ld v1, nowhere", "undefined name 'nowhere'"}, {"twice: cls", "already defined on line 1"},
        {"row ##x.", "a sprite row has"},             {"row #########", "a sprite row has"},
        {"add v1", "wrong operands for 'add'"},       {"se v1, 2, 3", "wrong operands for 'se'"},
        {"vf = 3", "'vf' is a register name"},        {"ld v1, 1 / 0", "division by zero"},
        {"ld v1, (2", "missing ')'"},                 {"db 1,,2", "empty value"},
        {"ld v1, 0x1G", "bad digit 'G'"},             {"ld v1, v2, v3, v4", "too many operands"},
        // Products past 64 bits, which once wrapped round to an accepted 0.
        {"ld v1, 0x8000000000 * 0x8000000000", "value out of range"},
        {"ld v1, 0x8000000000 << 32", "value out of range"},
    };
    std::string source = "twice: cls\n";
    for (const auto &c : cases) source += std::string(c.text) + "\n";
    EXPECT_TRUE(assemble(source, false).empty());  // a failure leaves no image
    ASSERT_EQ(errors.size(), std::size(cases));
    for (size_t i = 0; i < errors.size(); i++) {
        EXPECT_EQ(errors[i].line, (int)i + 2) << cases[i].text;
        EXPECT_NE(errors[i].message.find(cases[i].says), std::string::npos) << errors[i].message;
    }

    source.clear();  // 3584 bytes fill memory; one more byte is refused on its line
    for (int i = 0; i < 1792; i++) source += "cls\n";
    EXPECT_EQ(assemble(source).size(), 3584u);
    assemble(source + "db 0\n", false);
    ASSERT_EQ(errors.size(), 1u);
    EXPECT_EQ(errors[0].line, 1793);
}

}  // namespace
