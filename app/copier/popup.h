// Pop-up menus: a white-framed black box of text rows under a menu title,
// the row under the pointer highlighted in dark green.
#pragma once

// Row of a pop-up at (x, y) with `count` rows that lies under (px, py),
// -1 if none. Strict on all four sides of a row.
int PopupRowAt(int x, int y, int count, int px, int py);
// Whether (px, py) lies in the drawn box of that pop-up: its rows, border
// and margins, everything a click there must not pass through.
bool PopupCovers(int x, int y, int count, int px, int py);
// Draws the pop-up and returns the row under (px, py), -1 if none.
int HandlePopup(int x, int y, const char *const *items, int count, int px, int py);
