// The copier's menu vocabulary: part names, CHIP-8 programs and the texts
// of the side and blend fields.
#pragma once

enum { PART_COUNT = 14, MODE_MENU_ROWS = 13, ROM_COUNT = 5 };

extern const char *const ccOptions[PART_COUNT];    // part names, by part number
extern const char *const ccRoms[ROM_COUNT];        // program menu rows
extern const char *const ccRomfile[ROM_COUNT];     // their files in the archive
extern const char *const ccSideOptions[3];
extern const char *const ccBlendOptions[3];
