// Where a point of the 320x200 copier frame shows in the window, for the
// browser tests: they click and mask in window pixels.
//   aim point FRAME W H X Y           window pixel that maps back to (X, Y)
//   aim box FRAME W H X0 Y0 X1 Y1     window box around the frame box
// FRAME is the CRT pass number (presented frames so far, boot included).
#include "app/monitor/crtgeometry.h"

#include <math.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

int main(int argc, char **argv)
{
    const bool point = argc == 7 && !strcmp(argv[1], "point");
    const bool box = argc == 9 && !strcmp(argv[1], "box");
    if (!point && !box) {
        fprintf(stderr, "usage: aim point FRAME W H X Y | aim box FRAME W H X0 Y0 X1 Y1\n");
        return 2;
    }
    const s_camera cam = CameraAt(atoi(argv[2]));
    const int w = atoi(argv[3]), h = atoi(argv[4]);
    if (point) {
        const int fx = atoi(argv[5]), fy = atoi(argv[6]);
        double wx, wy;
        FrameToWindow(fx + 0.5, fy + 0.5, w, h, cam, &wx, &wy);
        // The nearest window pixel that the pointer map takes back to the point.
        for (int r = 0; r <= 3; r++)
            for (int dy = -r; dy <= r; dy++)
                for (int dx = -r; dx <= r; dx++) {
                    const int x = (int)floor(wx) + dx, y = (int)floor(wy) + dy;
                    int bx, by;
                    WindowToFrame(x, y, w, h, cam, true, &bx, &by);
                    if (bx == fx && by == fy) {
                        printf("%d %d\n", x, y);
                        return 0;
                    }
                }
        fprintf(stderr, "aim: no window pixel maps back to %d,%d\n", fx, fy);
        return 1;
    }
    double x0 = 1e9, y0 = 1e9, x1 = -1e9, y1 = -1e9;
    for (int i = 0; i < 4; i++) {
        double wx, wy;
        FrameToWindow(atoi(argv[(i & 1) ? 7 : 5]), atoi(argv[(i & 2) ? 8 : 6]), w, h, cam, &wx, &wy);
        x0 = fmin(x0, wx), y0 = fmin(y0, wy), x1 = fmax(x1, wx), y1 = fmax(y1, wy);
    }
    printf("%d %d %d %d\n", (int)floor(x0), (int)floor(y0), (int)ceil(x1), (int)ceil(y1));
    return 0;
}
