// The browser's platform backend: web_driver.cpp provides every duty of
// backend.h on emscripten's HTML5 API and WebGL 2. These are its additions,
// for the browser's process entry (web_main.cpp).
#ifndef VXE_PLATFORM_WEB_DRIVER_H
#define VXE_PLATFORM_WEB_DRIVER_H

// Shows a failure in the page, in place of the canvas, and on stderr.
void vxe_web_fail(const char *text);
// The canvas size the page asks for (1280x720, or 1920x1080 on a large or
// dense screen); the window is made that size whatever the program asks.
void vxe_web_canvassize(int *width, int *height);
// Tells the page that the show is over (status 0: the user quit), so it
// can say so and offer to start again. Returning from main does not: the
// runtime stays up once the loop has handed control back to the browser.
void vxe_web_ended(int status);
// 1 when the page asks for the frame clock (every frame one 15 ms slot),
// so that its frame N is frame N of a desktop capture.
int vxe_web_frameclock();

#endif
