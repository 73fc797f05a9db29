// Feeds arbitrary bytes to the TGA decoder. Besides the sanitizers' checks,
// a decoded image must be one the decoder promises: within the size caps
// and with every pixel written (the buffer is read to the end).
#include <cstdint>
#include <cstdlib>

#include "engine/tga.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    s_tgaimage image;
    if (VXE_DecodeTGA(data, size, &image)) {
        if (!image.pixels || image.width <= 0 || image.height <= 0 ||
            image.width > VXE_TGA_MAXSIDE || image.height > VXE_TGA_MAXSIDE)
            abort();
        unsigned sum = 0;
        for (size_t i = 0; i < (size_t)image.width * image.height * 4; i++)
            sum += image.pixels[i];
        (void)sum;
    } else if (image.pixels || !image.error[0]) {
        abort();
    }
    VXE_FreeTGA(&image);
    return 0;
}
