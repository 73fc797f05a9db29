// Where the 320x200 frame ends up on the window: the breathing camera that
// places the monitor in the output buffer, the screen opening of the bezel
// and the CRT shader's curvature, and the way back from a window pixel to
// a frame pixel for the pointer. Pure arithmetic, no GL.
#pragma once

enum {
    MONITOR_WIDTH = 2048, MONITOR_HEIGHT = 1152,   // the bezel picture
    OUTPUT_WIDTH = 1920, OUTPUT_HEIGHT = 1080,     // the output buffer
    OPENING_X = 440, OPENING_Y = 128,              // the screen opening
    OPENING_WIDTH = 1160, OPENING_HEIGHT = 780,
    FRAME_WIDTH = 320, FRAME_HEIGHT = 200,
};

// The monitor's rectangle in the output buffer for CRT pass number `frame`.
struct s_camera {
    float zoom;
    int x, y, w, h;
};
s_camera CameraAt(int frame);
// The same for a zoom factor.
s_camera CameraForZoom(float zoom);

// The shader's curvature: texture coordinate (s, t) across the opening
// (t = 1 at its top) to the frame texture coordinate it shows. Single
// precision, step for step as the shader computes it.
void CrtCurve(float s, float t, float *u, float *v);

// Frame pixel under window pixel (wx, wy) of a winw x winh window showing
// the monitor through `cam`, with the CRT curve or (curved false, no CRT
// shader) flat. Outside the screen the result lies outside 0..319 x 0..199.
void WindowToFrame(int wx, int wy, int winw, int winh, const s_camera &cam, bool curved, int *fx,
                   int *fy);
// The way there: the window point where frame point (fx, fy) shows (the
// curve inverted by iteration). Tools that drive the window aim with it.
void FrameToWindow(double fx, double fy, int winw, int winh, const s_camera &cam, double *wx, double *wy);
