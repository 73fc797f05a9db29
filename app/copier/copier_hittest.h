// copier_hittest: which control of the copier screen lies under a point.
// The table is shared by the interface, the background picture's painter
// and the layout tests, so labels, arrows and hot spots cannot drift apart.
#pragma once

// One hot spot: a control code and its inclusive rectangle in the
// 320x200 frame.
struct s_uihotspot {
    int code;
    int x0, x1;
    int y0, y1;
};

// Every control of the copier screen; rectangles do not overlap.
extern const s_uihotspot uiHotspots[];
extern const int uiHotspotCount;

// Code of the control under (x, y), 0 when there is none.
int MouseCoordsToUIFunction(int x, int y);
