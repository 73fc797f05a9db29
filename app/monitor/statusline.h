// The status line at the bottom of the copier screen (y 188): a swinging
// banner, the credits and greetings scrollers, the disk copy's message or
// the CHIP-8 hint, chosen by footerMode.
#pragma once

#include <stdint.h>

extern const char CopyMessageProgress[];  // "Operation In Progress ! ."
extern const char CopyMessageFinished[];  // "Operation Finished ! ."
extern const char *CopyMessage;           // what mode 4 shows

// Text of status-line mode 1-5; null for a mode with no line.
const char *StatusLineText(int mode);
// Its x position at deltatime milliseconds of the copier screen.
int StatusLineX(int mode, uint32_t deltatime);
// Draws the line of `mode` at the current deltatime.
void DrawStatusLine(int mode);
