// A WAV file written as it grows: 16-bit PCM, the header's lengths patched
// when it is closed, so whatever was written stays a readable file even when
// the writing stopped early (full disk, a stopped capture).
#ifndef VXE_CAPTURE_WAVSTREAM_H
#define VXE_CAPTURE_WAVSTREAM_H

#include <stdint.h>
#include <stdio.h>

// The 32-bit data length of a RIFF file ends the format near 4 GB; at
// 44100 Hz stereo that is about six and a half hours.
enum { WAVSTREAM_MAXBYTES = 0xFFFFFFFFu - 36u };

struct s_wavstream {
    FILE *file;
    uint32_t rate;
    uint16_t channels;
    uint32_t bytes;  // sample bytes written so far
};

// Creates path with an empty header. 1, or 0 with errno set.
int wavstream_open(s_wavstream *wav, const char *path, uint32_t rate, uint16_t channels);
// Appends frames of interleaved samples. 1, or 0 with errno set (the file
// keeps what was written before this call).
int wavstream_write(s_wavstream *wav, const int16_t *samples, uint32_t frames);
// Writes the final lengths into the header and closes. 1, or 0 with errno set.
int wavstream_close(s_wavstream *wav);

#endif
