// music: pattern rows to note events to samples.
#include "tools/assetgen/music.h"

#include <cmath>

long RowLength(const Score &score, int rate)
{
    // A sixteenth at 125 BPM is 5292 frames at 44100 Hz exactly.
    return lround(rate * 60.0 / score.tempo * 4.0 / score.rows);
}

static const Pattern *FindPattern(const Score &score, const std::string &name)
{
    for (const Pattern &p : score.patterns)
        if (p.name == name)
            return &p;
    return nullptr;
}

bool RenderScore(const Score &score, int rate, std::vector<float> *out, std::string *error)
{
    const long row = RowLength(score, rate);
    const long rows_total = (long)score.bars.size() * score.rows;
    std::vector<float> buf((size_t)(row * rows_total), 0.0f);
    uint32_t seed = 1;
    for (size_t bar = 0; bar < score.bars.size(); bar++)
        for (const std::string &name : score.bars[bar]) {
            const Pattern &p = *FindPattern(score, name);
            for (int r = 0; r < score.rows; r++) {
                const std::string &t = p.tokens[r];
                if (t == "." || t == "-")
                    continue;
                // The key is held until the pattern's next token that is not a rest.
                int held = 1;
                while (r + held < score.rows && p.tokens[r + held] == ".")
                    held++;
                const long start = ((long)bar * score.rows + r) * row;
                const double gate = (double)held * row / rate;
                if (p.instrument == "drums") {
                    for (char c : t)
                        for (const Drum &d : score.drums)
                            if (d.letter == c) {
                                NoteEvent e = {FindInstrument(score, d.instrument), d.hz, gate, {}, start, seed++};
                                RenderNote(e, rate, true, buf);
                            }
                    continue;
                }
                NoteEvent e = {FindInstrument(score, p.instrument), 0, gate, {}, start, seed++};
                const size_t colon = t.find(':');
                ParsePitch(t.substr(0, colon), &e.hz);
                if (colon != std::string::npos)
                    ChordShape(t.substr(colon + 1), &e.chord);
                RenderNote(e, rate, true, buf);
            }
        }
    float peak = 0.0f;
    for (float v : buf)
        peak = fabsf(v) > peak ? fabsf(v) : peak;
    if (peak <= 0.0f) {
        *error = "the score is silent";
        return false;
    }
    const float gain = 0.85f / peak;
    for (float &v : buf)
        v *= gain;
    *out = buf;
    return true;
}
