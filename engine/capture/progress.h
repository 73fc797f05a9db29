// The capture's progress line and its closing summary, as text.
#ifndef VXE_CAPTURE_PROGRESS_H
#define VXE_CAPTURE_PROGRESS_H

// "frame 300/1467  12.5 fps  1:33 left": frames done of total, frames per
// second of wall time so far and the time the rest will take at that speed.
void capture_progressline(char *out, int size, long done, long total, double wallseconds);
// "1:02.250": a length of virtual time in minutes, seconds and milliseconds.
void capture_formatlength(char *out, int size, long long milliseconds);

#endif
