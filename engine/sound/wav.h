// WAV (RIFF PCM) reading and writing as pure functions over memory. Only the
// canonical 44-byte header is read: "fmt " at 12 with 16 bytes, "data" at 36.
// The file is untrusted; the parser never reads outside the bytes it is given.
#pragma once

#include <cstddef>
#include <cstdint>

enum { WAV_HEADERSIZE = 44 };

enum e_waverror {
    WAV_OK = 0,
    WAV_TRUNCATED,    // shorter than the 44-byte header
    WAV_NOTWAV,       // no "RIFF" at 0 or no "WAVE" at 8
    WAV_NOFMT,        // no "fmt" at 12
    WAV_NOTPCM,       // audio format other than 1
    WAV_NODATA,       // no "data" at 36
    WAV_BADCHANNELS,  // channels other than 1 or 2
    WAV_BADRATE,      // sample rate 0 or above WAV_MAXRATE
    WAV_BADBITS,      // bits other than 8 or 16
    WAV_SHORTDATA,    // data size larger than the bytes after the header
};

// Highest sample rate accepted; far above any real recording, low enough
// that the mixer's fixed-point step cannot overflow.
enum { WAV_MAXRATE = 384000 };

struct s_wavinfo {
    uint16_t channels;
    uint16_t bits;
    uint32_t frequency;
    uint32_t size;            // bytes of samples
    const uint8_t *samples;   // points into the parsed file
};

// Parses a whole WAV file. On WAV_OK fills info; otherwise leaves it zeroed.
e_waverror wav_parse(const uint8_t *file, size_t filesize, s_wavinfo *info);

// A short English description of a parse result, without a line end.
const char *wav_errortext(e_waverror error);

// Writes the 44-byte header for datasize bytes of samples in the given format.
void wav_writeheader(uint8_t *header, uint16_t channels, uint16_t bits, uint32_t frequency,
                     uint32_t datasize);
