// wav_writer: RIFF/WAVE, one format chunk, one data chunk.
#include "tools/assetgen/wav_writer.h"

#include <cmath>

static void Put32(std::vector<uint8_t> &v, uint32_t x)
{
    for (int i = 0; i < 4; i++)
        v.push_back((uint8_t)(x >> (8 * i)));
}

static void Put16(std::vector<uint8_t> &v, uint32_t x)
{
    v.push_back((uint8_t)x);
    v.push_back((uint8_t)(x >> 8));
}

bool EncodeWAV(const std::vector<float> &samples, int rate, int bits, std::vector<uint8_t> *out)
{
    if ((bits != 8 && bits != 16) || rate <= 0)
        return false;
    const uint32_t bytes = (uint32_t)samples.size() * (bits / 8);
    out->clear();
    out->insert(out->end(), {'R', 'I', 'F', 'F'});
    Put32(*out, bytes + 36);
    out->insert(out->end(), {'W', 'A', 'V', 'E', 'f', 'm', 't', ' '});
    Put32(*out, 16);
    Put16(*out, 1);
    Put16(*out, 1);
    Put32(*out, (uint32_t)rate);
    Put32(*out, (uint32_t)rate * (bits / 8));
    Put16(*out, bits / 8);
    Put16(*out, (uint32_t)bits);
    out->insert(out->end(), {'d', 'a', 't', 'a'});
    Put32(*out, bytes);
    for (float s : samples) {
        double v = s > 1.0f ? 1.0 : s < -1.0f ? -1.0 : s;
        if (bits == 16)
            Put16(*out, (uint16_t)(int16_t)lrint(v * 32767.0));
        else
            out->push_back((uint8_t)(128 + lrint(v * 127.0)));
    }
    return true;
}
