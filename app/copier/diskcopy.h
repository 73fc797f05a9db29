// The simulated disk copy: the grid fills sector by sector (side 0, then
// side 1) with drive noises; bad sectors show red and stall the copy while
// the error noise plays; a jingle and a message mark the end.
#pragma once

#include "app/grid/blockgrid.h"

enum { DISK_SECTORS = 82, DISK_POSITIONS = 164, GOOD_SECTOR = 8, BAD_SECTOR = 24 };

extern unsigned char sectormap[2][DISK_SECTORS];  // block value per [side][sector]
extern int lastSector;       // copy position of the previous frame
extern int oldEffectTimer;   // effect timer when the last bad sector was reached
extern unsigned char DisccopyDone;  // the current copy has reported its end

// Prepares a new copy whose bad sectors follow from `seed`, at the place
// effectTimer points to. It keeps oldEffectTimer: a copy restarted during
// an error noise stays where it stalled.
void DiskCopyInit(int seed);
// One frame of the copy, driven by effectTimer.
void DiskCopy(e_blendMode blendMode);
