// Streaming 16-bit PCM WAV writer.
#include "engine/capture/wavstream.h"

#include <errno.h>
#include <unistd.h>

static void put32(uint8_t *p, uint32_t v)
{
    for (int i = 0; i < 4; i++) p[i] = (uint8_t)(v >> (8 * i));
}

static void put16(uint8_t *p, uint32_t v)
{
    p[0] = (uint8_t)v;
    p[1] = (uint8_t)(v >> 8);
}

static int writeheader(s_wavstream *wav)
{
    uint8_t h[44] = {'R', 'I', 'F', 'F', 0, 0, 0, 0, 'W', 'A', 'V', 'E', 'f', 'm', 't', ' '};
    put32(h + 4, 36 + wav->bytes);
    put32(h + 16, 16);
    put16(h + 20, 1);  // PCM
    put16(h + 22, wav->channels);
    put32(h + 24, wav->rate);
    put32(h + 28, wav->rate * wav->channels * 2);
    put16(h + 32, wav->channels * 2);
    put16(h + 34, 16);
    h[36] = 'd';
    h[37] = 'a';
    h[38] = 't';
    h[39] = 'a';
    put32(h + 40, wav->bytes);
    return fseek(wav->file, 0, SEEK_SET) == 0 && fwrite(h, 1, sizeof h, wav->file) == sizeof h;
}

int wavstream_open(s_wavstream *wav, const char *path, uint32_t rate, uint16_t channels)
{
    *wav = s_wavstream{nullptr, rate, channels, 0};
    wav->file = fopen(path, "wb");
    if (!wav->file) return 0;
    if (!writeheader(wav) || fflush(wav->file) != 0) {
        int err = errno;
        fclose(wav->file);
        wav->file = nullptr;
        errno = err;
        return 0;
    }
    return 1;
}

int wavstream_write(s_wavstream *wav, const int16_t *samples, uint32_t frames)
{
    if (!wav->file) {
        errno = EBADF;
        return 0;
    }
    const uint64_t bytes = (uint64_t)frames * wav->channels * 2;
    if (wav->bytes + bytes > WAVSTREAM_MAXBYTES) {
        errno = EFBIG;
        return 0;
    }
    // Samples are kept little-endian in memory on every machine we build for.
    if (fwrite(samples, 1, (size_t)bytes, wav->file) != bytes || fflush(wav->file) != 0) {
        // A partial write leaves the data end unknown: go back to the last
        // whole block, so the header never promises more than is there.
        int err = errno;
        fseek(wav->file, 44 + (long)wav->bytes, SEEK_SET);
        errno = err;
        return 0;
    }
    wav->bytes += (uint32_t)bytes;
    return 1;
}

int wavstream_close(s_wavstream *wav)
{
    if (!wav->file) return 1;
    int ok = writeheader(wav) && fflush(wav->file) == 0;
    // Cut what a failed write may have left past the data's end, so the
    // file ends where its header says.
    if (ok) ok = ftruncate(fileno(wav->file), 44 + (off_t)wav->bytes) == 0;
    int err = errno;
    if (fclose(wav->file) != 0 && ok) {
        ok = 0;
        err = errno;
    }
    wav->file = nullptr;
    errno = err;
    return ok;
}
