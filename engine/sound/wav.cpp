// WAV parsing and header writing; no I/O, no allocation.
#include "engine/sound/wav.h"

#include <cstring>

static uint16_t read16(const uint8_t *p)
{
    return (uint16_t)(p[0] | p[1] << 8);
}

static uint32_t read32(const uint8_t *p)
{
    return (uint32_t)p[0] | (uint32_t)p[1] << 8 | (uint32_t)p[2] << 16 | (uint32_t)p[3] << 24;
}

static void write16(uint8_t *p, uint32_t v)
{
    p[0] = (uint8_t)v;
    p[1] = (uint8_t)(v >> 8);
}

static void write32(uint8_t *p, uint32_t v)
{
    write16(p, v);
    write16(p + 2, v >> 16);
}

e_waverror wav_parse(const uint8_t *file, size_t filesize, s_wavinfo *info)
{
    memset(info, 0, sizeof *info);
    if (!file || filesize < WAV_HEADERSIZE)
        return WAV_TRUNCATED;
    if (memcmp(file, "RIFF", 4) != 0 || memcmp(file + 8, "WAVE", 4) != 0)
        return WAV_NOTWAV;
    // Only "fmt" is compared: some writers put another byte than a space there.
    if (memcmp(file + 12, "fmt", 3) != 0)
        return WAV_NOFMT;
    if (read16(file + 20) != 1)
        return WAV_NOTPCM;
    if (memcmp(file + 36, "data", 4) != 0)
        return WAV_NODATA;

    uint16_t channels = read16(file + 22);
    uint32_t frequency = read32(file + 24);
    uint16_t bits = read16(file + 34);
    uint32_t size = read32(file + 40);
    if (channels != 1 && channels != 2)
        return WAV_BADCHANNELS;
    if (frequency == 0 || frequency > WAV_MAXRATE)
        return WAV_BADRATE;
    if (bits != 8 && bits != 16)
        return WAV_BADBITS;
    if (size > filesize - WAV_HEADERSIZE)
        return WAV_SHORTDATA;

    info->channels = channels;
    info->bits = bits;
    info->frequency = frequency;
    info->size = size;
    info->samples = file + WAV_HEADERSIZE;
    return WAV_OK;
}

const char *wav_errortext(e_waverror error)
{
    switch (error) {
    case WAV_OK: return "ok";
    case WAV_TRUNCATED: return "file too short for a WAV header (44 bytes)";
    case WAV_NOTWAV: return "No WAV file";
    case WAV_NOFMT: return "no \"fmt \" chunk at offset 12";
    case WAV_NOTPCM: return "Not PCM signed";
    case WAV_NODATA: return "no \"data\" chunk at offset 36 (extra chunks are not read)";
    case WAV_BADCHANNELS: return "only 1 or 2 channels are played";
    case WAV_BADRATE: return "sample rate is 0 or too high";
    case WAV_BADBITS: return "only 8 or 16 bits per sample are played";
    case WAV_SHORTDATA: return "data size is larger than the file holds";
    }
    return "unknown error";
}

void wav_writeheader(uint8_t *header, uint16_t channels, uint16_t bits, uint32_t frequency,
                     uint32_t datasize)
{
    uint32_t bytes = bits / 8;
    memcpy(header, "RIFF", 4);
    write32(header + 4, datasize + 36);
    memcpy(header + 8, "WAVE", 4);
    memcpy(header + 12, "fmt ", 4);
    write32(header + 16, 16);
    write16(header + 20, 1);
    write16(header + 22, channels);
    write32(header + 24, frequency);
    write32(header + 28, frequency * bytes * channels);
    write16(header + 32, bytes * channels);
    write16(header + 34, bits);
    memcpy(header + 36, "data", 4);
    write32(header + 40, datasize);
}
