// Capture: the show played on a virtual clock, every presented frame
// recorded into DIR/floxa.mp4 (through ffmpeg) and, on request, as PNGs,
// with the mixer run offline in step into DIR/audio.wav. A capture does
// not depend on the machine's speed and never waits on real time, so the
// same script with the same archive gives the same files.
#ifndef VXE_CAPTURE_CAPTURE_H
#define VXE_CAPTURE_CAPTURE_H

enum {
    CAPTURE_FRAME_MS = 15,  // one frame slot: 200/3 frames per second
    CAPTURE_RATE = 44100,   // the WAV's samples per second, stereo, 16-bit
};

struct s_captureoptions {
    const char *dir;  // created when missing (its parent must exist)
    double seconds;   // virtual length; the show may end sooner
    int pngevery;     // keep every Nth frame as a PNG; 0 keeps none
    const char *script;  // input script file, or null for none
    int width, height;   // the picture: the window is opened at this size
};

// Reads the script (a malformed one stops everything before it starts),
// prepares the folder and the WAV, then switches the engine to the frame
// clock, offline sound and scripted input only (an empty script when none
// is given). Call before the window and the sound system start. 1, or 0
// with the reason in error.
int vxe_startcapture(const s_captureoptions *options, char *error, int errorsize);
// Ends the recording: closes the WAV and the encoder, puts the sound into
// the video and prints where everything is. 0 when every file is whole,
// 1 when something was lost on the way (the messages said what).
int vxe_finishcapture();

#endif
