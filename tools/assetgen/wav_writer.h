// wav_writer: mono PCM WAV files with the canonical 44-byte header.
#pragma once
#include <cstdint>
#include <vector>

// Samples in [-1, 1] (clamped), 8-bit unsigned or 16-bit signed.
bool EncodeWAV(const std::vector<float> &samples, int rate, int bits, std::vector<uint8_t> *out);
