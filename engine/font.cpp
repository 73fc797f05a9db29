#include "engine/font.h"

s_bitmap vxe_fontbmp[VXE_MAXFONTS];
int vxe_numfonts;
