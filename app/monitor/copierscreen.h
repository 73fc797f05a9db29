// The copier screen around the track maps: background, toggles, drives,
// the lamps that flash with the music, the settings fields, the digit
// rulers and the elapsed time.
#pragma once

#include <stdint.h>

#include "app/monitor/musiclamps.h"

// Lamp flags of this frame: 0-3 the upper row, 4-7 the lower one.
extern unsigned char lampgrid[MUSICLAMP_COUNT];

// The whole fixed interface, lamps included.
void DrawBackgroundUI();
// Reads the music's last mix block into lampgrid and draws the eight lamps.
void DrawLamps();
// Minutes and seconds of the elapsed-time display ("%.2d" each; minutes
// grow past two digits after 99).
void FormatElapsed(uint32_t deltatime, char minutes[12], char seconds[12]);
