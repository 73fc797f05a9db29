// Resource report and bulk release, walking the bitmap, sprite and font
// tables in registration order.
#include "engine/graphics/graphics_report.h"

#include <cstdio>

#include "engine/graphics/bitmap.h"
#include "engine/graphics/font.h"
#include "engine/graphics/framebuffer.h"
#include "engine/graphics/sprite.h"

void VXE_ShowGraphicsMemory()
{
    puts("[=== GRAPHICS MEMORY INFO ===]");
    printf("Num.Bitmaps: %d / %d\n", vxe_numbitmaps, VXE_MAXBITMAPS);
    printf("Num.Sprites: %d / %d\n", vxe_numsprites, VXE_MAXSPRITES);
    printf("Num.Fonts: %d / %d\n", vxe_numfonts, VXE_MAXFONTS);
    printf("Num.Framebuffers: %d / %d\n", VXE_numframebuffers, VXE_MAXFRAMEBUFFERS);
    puts("[============================]");
}

// Sprites go first: a created sprite may own a texture, a cut one only
// refers to its bitmap's. Deleting is idempotent, so records deleted by
// hand before are passed over.
void VXE_FlushGraphics()
{
    for (int i = 0; i < vxe_numsprites; i++)
        VXE_DeleteSprite(vxe_spritelist[i]);
    printf("[%d sprites deleted]\n", vxe_numsprites);
    for (int i = 0; i < vxe_numbitmaps; i++)
        VXE_DeleteBitmap(vxe_bitmaplist[i]);
    printf("[%d bitmaps deleted]\n", vxe_numbitmaps);
    vxe_numbitmaps = 0;
    vxe_numfonts = 0;
    vxe_numsprites = 0;
}
