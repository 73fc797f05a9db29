// score: the music's text form. A score names its instruments, drum
// letters, patterns (one bar of rows each, one token per row) and an order
// list of bars, each bar listing the patterns that play in it.
//
//   tempo 125                    beats per minute
//   rows 16                      rows per bar (a row is a sixteenth)
//   instrument NAME key=value... see synth.h
//   drum K kick C2               drum letter, instrument, pitch
//   pattern NAME INSTRUMENT t1 t2 ... (one token per row)
//   bar P1 P2 ...                one line per bar, in playing order
//
// Tokens: "." rest (the note before keeps ringing), "-" key up, a pitch
// ("A2", "D#4"), a chord "A3:m" (arpeggiated: m, M, 7, m7, sus4, 5) or, in
// a pattern whose instrument is "drums", drum letters ("K", "KH").
#pragma once
#include <string>
#include <vector>

#include "tools/assetgen/synth.h"

struct Drum {
    char letter;
    std::string instrument;
    double hz;
};

struct Pattern {
    std::string name;
    std::string instrument;   // "drums" for drum-letter patterns
    std::vector<std::string> tokens;
};

struct Score {
    double tempo = 120;
    int rows = 16;
    std::vector<Instrument> instruments;
    std::vector<Drum> drums;
    std::vector<Pattern> patterns;
    std::vector<std::vector<std::string>> bars;
};

// False with "file:line: reason" on the first mistake.
bool ParseScore(const std::string &path, Score *score, std::string *error);
const Instrument *FindInstrument(const Score &score, const std::string &name);
// Semitone offsets of a chord suffix ("m", "M", ...); false if unknown.
bool ChordShape(const std::string &suffix, std::vector<double> *offsets);
