// Fuzzes the assembler's parser with arbitrary text; whatever assembles is
// then run on the interpreter, so hostile programs meet the machine too.
#include <cstdint>
#include <string>
#include <vector>

#include "app/chip8.h"
#include "engine/platform/clock.h"
#include "tools/c8asm/assembler.h"

namespace {
uint32_t ticks;
uint32_t fuzzclock() { return ticks += 7; }
int nokeys() { return 0; }
int giveup() { return 0; }  // FX0A must not wait for ever here
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    std::string source(reinterpret_cast<const char *>(data), size);
    std::vector<unsigned char> image;
    std::vector<c8asm_error> errors;
    if (!c8asm_assemble(source, image, errors)) return 0;

    vxe_setclock(fuzzclock);
    chip8_setkeysource(nokeys);
    chip8_setwaithook(giveup);
    chip8_resetcpu();
    chip8_loadbytes(image.data(), (int)image.size());
    for (int i = 0; i < 1000; i++) chip8_runcpu();
    return 0;
}
