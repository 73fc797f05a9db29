// CHIP-8 assembler core: turns assembly text into a program image that
// loads at 0x200. Used by the c8asm command and by its tests and fuzzer.
#pragma once

#include <string>
#include <vector>

struct c8asm_error {
    int line;             // 1-based source line
    std::string message;
};

// Assembles source. Returns 1 and fills image on success; returns 0 and
// lists every error found (in line order) otherwise, leaving image empty.
int c8asm_assemble(const std::string &source, std::vector<unsigned char> &image,
                   std::vector<c8asm_error> &errors);
