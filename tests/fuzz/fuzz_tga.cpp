// Feeds arbitrary bytes to the TGA decoder. Besides the sanitizers' checks,
// a decoded image must be within the size caps with every pixel readable,
// and a refused one must say why and hold no pixels.
#include <cstdint>
#include <cstdlib>

#include "engine/graphics/tga.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    s_tgaimage image;
    int ok = VXE_DecodeTGA(data, size, &image);
    bool capped = image.width > 0 && image.height > 0 && image.width <= VXE_TGA_MAXSIDE &&
                  image.height <= VXE_TGA_MAXSIDE;
    if (ok != (image.pixels != nullptr) || ok == (image.error[0] != 0) || (ok && !capped))
        abort();
    volatile unsigned sum = 0;
    for (size_t i = 0; ok && i < (size_t)image.width * image.height * 4; i++)
        sum += image.pixels[i];
    (void)sum;
    VXE_FreeTGA(&image);
    return 0;
}
