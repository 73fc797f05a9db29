// copier_hittest: the hot-spot table of the copier screen.
#include "app/copier/copier_hittest.h"

const s_uihotspot uiHotspots[] = {
    {29, 9, 47, 45, 53},    // mode menu title
    {30, 49, 87, 45, 53},   // program ("Toolkit") menu title
    {8, 10, 96, 63, 72},    // part name field
    {9, 182, 212, 63, 72},  // side field
    {10, 272, 310, 63, 72}, // blend field
    {11, 100, 105, 57, 59}, // start sector +10
    {12, 108, 113, 57, 59}, // start sector +1
    {13, 124, 129, 57, 59}, // start side toggle
    {14, 143, 148, 57, 59}, // end sector +10
    {15, 151, 156, 57, 59}, // end sector +1
    {16, 167, 172, 57, 59}, // end side toggle
    {21, 230, 235, 57, 59}, // speed +1000
    {22, 238, 243, 57, 59}, // speed +100
    {23, 246, 251, 57, 59}, // speed +10
    {24, 254, 259, 57, 59}, // speed +1
    {17, 100, 105, 72, 74}, // start sector -10
    {18, 108, 113, 72, 74}, // start sector -1
    {19, 143, 148, 72, 74}, // end sector -10
    {20, 151, 156, 72, 74}, // end sector -1
    {25, 230, 235, 72, 74}, // speed -1000
    {26, 238, 243, 72, 74}, // speed -100
    {27, 246, 251, 72, 74}, // speed -10
    {28, 254, 259, 72, 74}, // speed -1
    {1, 12, 50, 82, 89},    // resume / restart copy
    {2, 55, 93, 82, 89},    // drive error sound
    {3, 98, 136, 82, 89},   // stop
    {4, 141, 179, 82, 89},  // greetings
    {5, 184, 222, 82, 89},  // reset
    {6, 227, 265, 82, 89},  // credits
    {7, 270, 308, 82, 89},  // quit
};

const int uiHotspotCount = sizeof(uiHotspots) / sizeof(uiHotspots[0]);

int MouseCoordsToUIFunction(int x, int y)
{
    for (int i = 0; i < uiHotspotCount; i++) {
        const s_uihotspot &h = uiHotspots[i];
        if (x >= h.x0 && x <= h.x1 && y >= h.y0 && y <= h.y1)
            return h.code;
    }
    return 0;
}
