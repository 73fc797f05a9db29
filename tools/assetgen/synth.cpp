// synth: band-limited pulse and saw (polyBLEP), triangle, sine and noise
// voices with attack/decay/sustain/release, pitch sweep, vibrato and arpeggio.
#include "tools/assetgen/synth.h"

#include <cmath>
#include <cstdlib>

#include "tools/assetgen/rng.h"

static const double kTau = 6.283185307179586;

bool ParseInstrument(const std::vector<std::string> &words, Instrument *out, std::string *error)
{
    if (words.size() < 2) {
        *error = "an instrument needs a name";
        return false;
    }
    Instrument in;
    in.name = words[1];
    for (size_t i = 2; i < words.size(); i++) {
        size_t eq = words[i].find('=');
        if (eq == std::string::npos) {
            *error = "expected key=value, got " + words[i];
            return false;
        }
        const std::string key = words[i].substr(0, eq), value = words[i].substr(eq + 1);
        if (key == "wave") {
            static const char *names[] = {"pulse", "triangle", "saw", "sine", "noise"};
            int found = -1;
            for (int w = 0; w < 5; w++)
                if (value == names[w])
                    found = w;
            if (found < 0) {
                *error = "unknown wave " + value;
                return false;
            }
            in.wave = (Wave)found;
            continue;
        }
        char *end = nullptr;
        const double v = strtod(value.c_str(), &end);
        if (value.empty() || *end) {
            *error = "not a number: " + words[i];
            return false;
        }
        struct { const char *k; double *d; } fields[] = {
            {"volume", &in.volume}, {"duty", &in.duty}, {"attack", &in.attack}, {"decay", &in.decay},
            {"sustain", &in.sustain}, {"release", &in.release}, {"sweep", &in.sweep},
            {"sweep_time", &in.sweep_time}, {"vibrato", &in.vibrato}, {"vibrato_rate", &in.vibrato_rate},
            {"vibrato_delay", &in.vibrato_delay}, {"highpass", &in.highpass}, {"tone", &in.tone},
            {"arp_rate", &in.arp_rate},
        };
        bool known = false;
        for (auto &f : fields)
            if (key == f.k) {
                *f.d = v;
                known = true;
            }
        if (!known) {
            *error = "unknown setting " + key;
            return false;
        }
    }
    if (in.attack < 0 || in.decay <= 0 || in.release < 0 || in.duty <= 0 || in.duty >= 1 ||
        in.highpass < 0 || in.highpass >= 1 || in.arp_rate <= 0 || in.sweep_time <= 0) {
        *error = "instrument " + in.name + " has a setting out of range";
        return false;
    }
    *out = in;
    return true;
}

bool ParsePitch(const std::string &text, double *hz)
{
    static const int semis[7] = {9, 11, 0, 2, 4, 5, 7};  // A B C D E F G from C
    if (!text.empty() && text[0] >= 'A' && text[0] <= 'G') {
        size_t i = 1;
        int semitone = semis[text[0] - 'A'];
        if (i < text.size() && text[i] == '#')
            semitone++, i++;
        char *end = nullptr;
        long octave = strtol(text.c_str() + i, &end, 10);
        if (i == text.size() || *end || octave < -1 || octave > 9)
            return false;
        const int midi = (int)(octave + 1) * 12 + semitone;
        *hz = 440.0 * pow(2.0, (midi - 69) / 12.0);
        return true;
    }
    char *end = nullptr;
    *hz = strtod(text.c_str(), &end);
    return !text.empty() && !*end && *hz > 0;
}

// Smooths the step of a discontinuous waveform at phase 0 (polyBLEP).
static double Blep(double t, double dt)
{
    if (t < dt) {
        t /= dt;
        return t + t - t * t - 1.0;
    }
    if (t > 1.0 - dt) {
        t = (t - 1.0) / dt;
        return t * t + t + t + 1.0;
    }
    return 0.0;
}

void RenderNote(const NoteEvent &note, int rate, bool wrap, std::vector<float> &buf)
{
    const Instrument &in = *note.instrument;
    const long size = (long)buf.size();
    const double dt = 1.0 / rate;
    const long total = (long)((note.gate + in.release) * rate) + 1;
    Rng rng = {((uint64_t)note.seed << 1) | 1};
    double phase = 0.0, tone_phase = 0.0, noise_clock = 0.0, noise = 0.0, noise_prev = 0.0, hp = 0.0, level = 0.0;
    double release_from = -1.0;
    for (long i = 0; i < total; i++) {
        const double t = i * dt;
        // Envelope: linear attack, exponential fall to the sustain level,
        // linear release from wherever the gate closed.
        if (t < note.gate) {
            if (t < in.attack)
                level = t / in.attack;
            else
                level = in.sustain + (1.0 - in.sustain) * exp(-(t - in.attack) / in.decay);
        } else {
            if (release_from < 0)
                release_from = level;
            level = in.release > 0 ? release_from * (1.0 - (t - note.gate) / in.release) : 0.0;
            if (level <= 0)
                break;
        }
        double semis = 0.0;
        if (!note.chord.empty())
            semis += note.chord[(size_t)(t * in.arp_rate) % note.chord.size()];
        if (in.vibrato > 0 && t > in.vibrato_delay)
            semis += in.vibrato * sin(kTau * in.vibrato_rate * (t - in.vibrato_delay));
        double hz = note.hz * pow(2.0, semis / 12.0);
        hz *= 1.0 + (in.sweep - 1.0) * exp(-t / in.sweep_time);
        const double inc = hz * dt;

        double v = 0.0;
        switch (in.wave) {
        case WAVE_PULSE: {
            v = (phase < in.duty ? 1.0 : -1.0) + Blep(phase, inc);
            double down = phase - in.duty;
            if (down < 0)
                down += 1.0;
            v -= Blep(down, inc);
            v -= 2.0 * in.duty - 1.0;  // no DC, whatever the width
            break;
        }
        case WAVE_TRIANGLE:
            v = phase < 0.5 ? 4.0 * phase - 1.0 : 3.0 - 4.0 * phase;
            break;
        case WAVE_SAW:
            v = 2.0 * phase - 1.0 - Blep(phase, inc);
            break;
        case WAVE_SINE:
            v = sin(kTau * phase);
            break;
        case WAVE_NOISE: {
            // Sample-and-hold noise clocked 64 times the note frequency
            // (the pitch colours it), then an optional high-pass for hats
            // and an optional body tone at the note itself.
            noise_clock += inc * 64.0;
            if (noise_clock >= 1.0 || i == 0) {
                noise = RngSigned(rng);
                noise_clock -= floor(noise_clock);
            }
            hp = in.highpass * (hp + noise - noise_prev);
            double n = in.highpass > 0 ? hp : noise;
            noise_prev = noise;
            v = n * (1.0 - in.tone) + sin(kTau * tone_phase) * in.tone;
            tone_phase += note.hz * dt * (1.0 + (in.sweep - 1.0) * exp(-t / in.sweep_time));
            tone_phase -= floor(tone_phase);
            break;
        }
        }
        phase += inc;
        phase -= floor(phase);

        long at = note.start + i;
        if (at >= size) {
            if (!wrap)
                break;
            at %= size;
        }
        buf[(size_t)at] += (float)(v * level * in.volume);
    }
}
