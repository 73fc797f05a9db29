// synth: the chip voices of the music and the sound effects. An
// instrument is a waveform, an envelope and a few modulations; a note
// renders into a sample buffer, wrapping round its end when the buffer is
// a loop so that tails carry over the seam.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

enum Wave { WAVE_PULSE, WAVE_TRIANGLE, WAVE_SAW, WAVE_SINE, WAVE_NOISE };

struct Instrument {
    std::string name;
    Wave wave = WAVE_PULSE;
    double volume = 0.5;
    double duty = 0.5;                  // pulse width, 0..1
    double attack = 0.002, decay = 0.1; // seconds; decay is the time constant
    double sustain = 0.0;               // level held while the gate is open
    double release = 0.02;              // seconds to silence after the gate
    double sweep = 1.0;                 // start frequency as a multiple of the note
    double sweep_time = 0.02;           // time constant of the fall to the note
    double vibrato = 0.0;               // semitones
    double vibrato_rate = 5.0;          // Hz
    double vibrato_delay = 0.0;         // seconds before vibrato sets in
    double highpass = 0.0;              // noise: one-pole high-pass amount, 0..0.99
    double tone = 0.0;                  // noise: share of a sine at the note frequency
    double arp_rate = 50.0;             // chord notes per second
};

// "name key=value ..." as written in the recipes; false with a message.
bool ParseInstrument(const std::vector<std::string> &words, Instrument *out, std::string *error);

// Note names: C-1 .. B9 with '#' for sharps ("A4" = 440 Hz), or plain Hz.
bool ParsePitch(const std::string &text, double *hz);

struct NoteEvent {
    const Instrument *instrument;
    double hz;
    double gate;                    // seconds the key is held
    std::vector<double> chord;      // semitone offsets cycled at arp_rate; empty: just the note
    long start;                     // sample index
    uint32_t seed;                  // noise seed
};

// Adds the note to buf (rate Hz); with wrap, samples beyond the end land
// at the start.
void RenderNote(const NoteEvent &note, int rate, bool wrap, std::vector<float> &buf);
