// The video encoder: an ffmpeg process that reads raw RGB frames on its
// standard input, so no frame ever lands on the disk as a file of its own.
#ifndef VXE_CAPTURE_VIDEOPIPE_H
#define VXE_CAPTURE_VIDEOPIPE_H

#include <stddef.h>
#include <sys/types.h>

struct s_videopipe {
    pid_t pid;  // 0 when no encoder runs
    int fd;     // its standard input
};

// Starts ffmpeg (found on PATH) encoding width x height RGB frames, stored
// bottom row first as GL reads them, at rate_num/rate_den frames per second
// into path (H.264, MP4). 1, or 0 with the reason in error.
int videopipe_start(s_videopipe *video, const char *path, int width, int height, int rate_num,
                    int rate_den, char *error, int errorsize);
// Hands one frame over. 0 once the encoder has gone (then nothing more is
// written).
int videopipe_write(s_videopipe *video, const void *frame, size_t bytes);
// Closes the encoder's input and waits for it to finish the file. Returns
// its exit status (0 is success), or -1 when it was killed or never ran.
int videopipe_finish(s_videopipe *video);

// Puts the video and the WAV (of `rate` samples a second) together into
// out: the video copied as it is, the sound as AAC at the loudness video
// sites play at (measured by a first ffmpeg run, brought there by a second
// one). *normalized is 0 when the sound could not be measured (silence, an
// ffmpeg without loudnorm) and went in at its own level. Returns the
// second run's exit status, or -1 when it could not run.
int videopipe_mux(const char *video, const char *wav, int rate, const char *out, int *normalized);

#endif
