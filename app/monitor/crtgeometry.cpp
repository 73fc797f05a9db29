// crtgeometry: the camera and the CRT curvature, and the pointer's way
// back through them.
#include "app/monitor/crtgeometry.h"

#include <math.h>

s_camera CameraAt(int frame)
{
    const double pi = 3.14159265358979323846;
    return CameraForZoom((float)(sin(frame * pi / 2400) * 0.2 + 1.25));
}

s_camera CameraForZoom(float zoom)
{
    s_camera c;
    c.zoom = zoom;
    const double w = c.zoom * (double)MONITOR_WIDTH, h = c.zoom * (double)MONITOR_HEIGHT;
    const float camerax = 48.0f;
    const float cameray = (float)(-20.0 - 5.0 * c.zoom);
    // The whole sum is truncated: truncating the offset first would put the
    // monitor one pixel off at some zooms.
    c.x = (int)(-camerax * (double)c.zoom - 0.5 * w + MONITOR_WIDTH / 2);
    c.y = (int)(-cameray * (double)c.zoom - 0.5 * h + MONITOR_HEIGHT / 2);
    c.w = (int)w;
    c.h = (int)h;
    return c;
}

void CrtCurve(float s, float t, float *u, float *v)
{
    float x = (s - 0.5f) * 2.2f, y = (t - 0.5f) * 2.2f;
    x = x * (1.0f + powf(fabsf(y) / 5.0f, 2.3f));
    y = y * (1.0f + powf(fabsf(x) / 4.0f, 2.3f));
    *u = (x / 2.0f + 0.5f) * 0.92f + 0.04f;
    *v = (y / 2.0f + 0.5f) * 0.92f + 0.04f;
}

void WindowToFrame(int wx, int wy, int winw, int winh, const s_camera &cam, bool curved, int *fx,
                   int *fy)
{
    if (winw <= 0 || winh <= 0) {
        *fx = *fy = 0;
        return;
    }
    // Pixel centres all the way: window -> output buffer -> monitor -> opening.
    const double ox = (wx + 0.5) * OUTPUT_WIDTH / winw, oy = (wy + 0.5) * OUTPUT_HEIGHT / winh;
    const double mx = (ox - cam.x) * MONITOR_WIDTH / cam.w, my = (oy - cam.y) * MONITOR_HEIGHT / cam.h;
    const float s = (float)((mx - OPENING_X) / OPENING_WIDTH);
    const float t = (float)(1.0 - (my - OPENING_Y) / OPENING_HEIGHT);
    float u = s, v = t;
    if (curved) CrtCurve(s, t, &u, &v);
    *fx = (int)floorf(u * FRAME_WIDTH);
    *fy = (int)floorf((1.0f - v) * FRAME_HEIGHT);
}

void FrameToWindow(double fx, double fy, int winw, int winh, const s_camera &cam, double *wx, double *wy)
{
    // The curve is close to a plain scale of 1.1 x 0.92, which the
    // iteration divides out; it settles within a few steps.
    const double u = fx / FRAME_WIDTH, v = 1.0 - fy / FRAME_HEIGHT;
    double s = u, t = v;
    for (int i = 0; i < 20; i++) {
        float cu, cv;
        CrtCurve((float)s, (float)t, &cu, &cv);
        s += (u - cu) / 1.012;
        t += (v - cv) / 1.012;
    }
    const double mx = OPENING_X + s * OPENING_WIDTH, my = OPENING_Y + (1.0 - t) * OPENING_HEIGHT;
    *wx = (cam.x + mx * cam.w / MONITOR_WIDTH) * winw / OUTPUT_WIDTH - 0.5;
    *wy = (cam.y + my * cam.h / MONITOR_HEIGHT) * winh / OUTPUT_HEIGHT - 0.5;
}
