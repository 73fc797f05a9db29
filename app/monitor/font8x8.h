// The 8x8 boot and copier font as a table in the program.
#pragma once

extern const unsigned char font8x8_basic[128][8];
