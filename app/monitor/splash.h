// The boot screen: 880 frames through the CRT while the music already
// plays, "LOADING..." and then the group's sign-on.
#pragma once

enum { SPLASH_FRAMES = 880 };

// Text written at (122, 100) in boot frame f, null where the frame keeps
// what it shows.
const char *SplashText(int f);
// Runs the boot frames; returns early when the window is closed.
void SplashScreen();
