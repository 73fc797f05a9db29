// Text on the copier screen: the 8x8 font (each glyph paints its whole
// cell, so text erases what lies under it) and the 7x8 digits.
#pragma once

// Each character's glyph (its low seven bits) at x, then x += spacing.
void DrawText(int x, int y, const char *text, int spacing);
// The same with the digit sprites; the text holds only "0" to "9".
void DrawNumberText(int x, int y, const char *text, int spacing);
