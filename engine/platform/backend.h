// The platform backend: everything the engine asks of a platform, and no
// more. sdl_driver.cpp provides it on the desktop (SDL2); another platform
// provides the same list in a file of its own and nothing above changes.
// The duties:
//   window and GL context  vxe_initwindow, vxe_closewindow, VXE_SetTitle,
//                          GetDesktopResolution
//   messages               vxe_openmessagewindow, vxe_pumpmessages,
//                          vxe_postquit, vxe_destroymessagewindow,
//                          vxe_setwindowed, the close request, dropping
//                          input; events go to the input module through
//                          the calls of inputevents.h
//   key and pointer state  vxe_driver_keystate, the cursor, joysticks
//   swap                   vxe_driver_present, vxe_driver_drawablesize
//   clock source           vxe_driver_millis
//   audio device           audiodriver_sdl.h in the sound room
// The frame's bookkeeping (capture, frame clock, script frames) is done by
// VXE_SwapBuffers above the backend; the backend only shows the picture.
//
// Threads: the process entry (sdl_main.cpp) opens the message window and
// pumps events; the application thread calls vxe_initwindow, which sizes
// and shows that window and creates the GL context on the calling thread.
// When no process entry has run (GL tests), vxe_initwindow makes the window
// itself on the calling thread, and vxe_driver_present pumps events.
#ifndef VXE_PLATFORM_BACKEND_H
#define VXE_PLATFORM_BACKEND_H

#include <stdint.h>

// Set to 1 by vxe_initwindow once GL is ready for shaders; the video layer reads it.
extern int VXE_shaders_enabled;

// ---- window and GL context (application thread) ----

// Sizes, places and shows the window, requests full screen when bit 0 of
// flags is set (and the display offers that exact mode), creates the GL
// context and makes it current on the calling thread, initialises GLEW.
// Without a display, a GL context or OpenGL 2.0 nothing of the engine can
// run: the process ends with a message and status 1.
void vxe_initwindow(int width, int height, int flags);
// Releases the GL context; the window stays until the process entry ends.
void vxe_closewindow();
// Sets the window's caption.
void VXE_SetTitle(const char *text);
// Size of the desktop the window is on.
void GetDesktopResolution(int *width, int *height);

// ---- swap ----

// Shows the back buffer.
void vxe_driver_present();
// The back buffer's size in pixels.
void vxe_driver_drawablesize(int *width, int *height);

// ---- clock source ----

// Milliseconds of a monotonic clock, wrapping at 2^32.
uint32_t vxe_driver_millis();

// ---- messages ----

// Initialises the platform (video; joystick when it can) and creates the
// hidden 10x10 message window "VXE Application". Returns 0 with a message
// printed when there is no display.
int vxe_openmessagewindow();
// Handles every waiting event; returns 0 once a quit has been posted or the
// user has closed the window, 1 otherwise. Sleeps 1 ms when idle.
int vxe_pumpmessages();
// Asks the message loop to finish (posted by the application thread when
// coremain returns).
void vxe_postquit();
// Destroys the window and shuts the platform down (message thread, after
// the loop).
void vxe_destroymessagewindow();
// Clears the full-screen request before the window is shown (--windowed).
void vxe_setwindowed(int windowed);
// 1 from the moment the user asked to close the window.
int vxe_closerequested();
// Asks for the end of the show as closing the window does.
void vxe_requestclose();
// 1: pointer, button and key input from the window is dropped, so that only
// a script drives the program (capture).
void vxe_driver_ignoreinput(int ignore);

// ---- key and pointer state ----

// Fills down[0..255] with 1 for every key that is down right now.
void vxe_driver_keystate(unsigned char down[256]);
// Cursor position in window-client coordinates.
void vxe_driver_getcursor(int *x, int *y);
// Moves the cursor to a window-client position.
void vxe_driver_warpcursor(int x, int y);
// Shows (1) or hides (0) the system cursor inside the window.
void vxe_driver_showcursor(int show);

// One raw read of a joystick, in the platform's own ranges.
struct s_joyreading {
    uint32_t x, y, z, r;  // axes 0..65535, centre 32767
    uint32_t pov;         // hat in hundredths of degrees, above 36000 when centred
    uint32_t buttons;     // button bit mask, bit 0 = first button
};
// Number of joystick slots.
int vxe_driver_numjoysticks();
// 1 when a device sits in slot id.
int vxe_driver_joystickpresent(int id);
// Button count of the device in slot id; -1 when it cannot be read.
int vxe_driver_joystickbuttons(int id);
// Reads the device in slot id; 1 on success, 0 (and *out zeroed) on failure.
int vxe_driver_readjoystick(int id, s_joyreading *out);

#endif
