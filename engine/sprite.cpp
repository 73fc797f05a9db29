#include "engine/sprite.h"

s_sprite *vxe_spritelist[VXE_MAXSPRITES];
int vxe_numsprites;
s_bitmap vxe_spritebmp[VXE_MAXSPRITES];
