#include "engine/bitmap.h"

s_bitmap *vxe_bitmaplist[VXE_MAXBITMAPS];
int vxe_numbitmaps;
