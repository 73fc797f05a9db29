// sfx: one-shot sounds; notes past the end are cut, never wrapped.
#include "tools/assetgen/sfx.h"

#include <cmath>
#include <cstdlib>

#include "tools/assetgen/recipe.h"
#include "tools/assetgen/synth.h"

bool RenderSfx(const std::string &path, int rate, std::vector<float> *out, std::string *error)
{
    std::vector<RecipeLine> lines;
    if (!ReadRecipe(path, &lines)) {
        *error = path + ": unreadable";
        return false;
    }
    std::vector<Instrument> instruments;
    std::vector<float> buf;
    double level = 0.8;
    uint32_t seed = 1;
    auto find = [&](const std::string &n) -> const Instrument * {
        for (const Instrument &in : instruments)
            if (in.name == n)
                return &in;
        return nullptr;
    };
    for (const RecipeLine &l : lines) {
        std::vector<std::string> w = SplitWords(l.text);
        std::string why;
        if (w[0] == "length" && w.size() == 2) {
            double s = atof(w[1].c_str());
            if (s <= 0 || s > 10)
                why = "length out of range";
            else
                buf.assign((size_t)lround(s * rate), 0.0f);
        } else if (w[0] == "level" && w.size() == 2) {
            level = atof(w[1].c_str());
            if (level <= 0 || level > 1)
                why = "level out of range";
        } else if (w[0] == "instrument") {
            Instrument in;
            if (ParseInstrument(w, &in, &why))
                instruments.push_back(in);
        } else if ((w[0] == "note" && w.size() == 5) || (w[0] == "repeat" && w.size() == 7)) {
            const bool rep = w[0] == "repeat";
            const int count = rep ? atoi(w[1].c_str()) : 1;
            const double start = atof(w[rep ? 2 : 1].c_str()), step = rep ? atof(w[3].c_str()) : 0;
            const size_t k = rep ? 4 : 2;
            NoteEvent e = {find(w[k]), 0, atof(w[k + 2].c_str()), {}, 0, 0};
            if (buf.empty())
                why = "length must come before the notes";
            else if (!e.instrument)
                why = "unknown instrument " + w[k];
            else if (!ParsePitch(w[k + 1], &e.hz))
                why = "bad pitch " + w[k + 1];
            else if (count < 1 || count > 1000 || start < 0 || step < 0 || e.gate <= 0)
                why = "bad timing";
            for (int i = 0; why.empty() && i < count; i++) {
                e.start = lround((start + i * step) * rate);
                e.seed = seed++;
                RenderNote(e, rate, false, buf);
            }
        } else {
            why = "cannot read this line";
        }
        if (!why.empty()) {
            *error = path + ":" + std::to_string(l.number) + ": " + why;
            return false;
        }
    }
    float peak = 0.0f;
    for (float v : buf)
        peak = fabsf(v) > peak ? fabsf(v) : peak;
    if (peak <= 0.0f) {
        *error = path + ": silent";
        return false;
    }
    // Short fades at both ends so a one-shot never starts or stops on a step.
    const size_t fade = (size_t)(rate / 1000);
    for (size_t i = 0; i < fade && i < buf.size(); i++) {
        buf[i] *= (float)i / fade;
        buf[buf.size() - 1 - i] *= (float)i / fade;
    }
    for (float &v : buf)
        v *= (float)(level / peak);
    *out = buf;
    return true;
}
