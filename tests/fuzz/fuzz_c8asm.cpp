// Fuzzes the assembler's parser with arbitrary text; whatever assembles is
// then run on the interpreter, so hostile programs meet the machine too.
#include <cstdint>
#include <string>
#include <vector>

#include "app/chip8/chip8.h"
#include "engine/platform/clock.h"
#include "tools/c8asm/assembler.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    static uint32_t ticks;
    std::vector<unsigned char> image;
    std::vector<c8asm_error> errors;
    if (!c8asm_assemble(std::string(reinterpret_cast<const char *>(data), size), image, errors)) return 0;
    vxe_setclock([] { return ticks += 7; });
    chip8_setkeysource([] { return 0; });
    chip8_setwaithook([] { return 0; });  // FX0A must not wait for ever here
    chip8_resetcpu();
    chip8_loadbytes(image.data(), (int)image.size());
    for (int i = 0; i < 1000; i++) chip8_runcpu();
    return 0;
}
