// score: parser for the music's text form.
#include "tools/assetgen/score.h"

#include <cstdlib>

#include "tools/assetgen/recipe.h"

const Instrument *FindInstrument(const Score &score, const std::string &name)
{
    for (const Instrument &in : score.instruments)
        if (in.name == name)
            return &in;
    return nullptr;
}

bool ChordShape(const std::string &suffix, std::vector<double> *offsets)
{
    static const struct { const char *name; std::vector<double> steps; } shapes[] = {
        {"m", {0, 3, 7, 12}}, {"M", {0, 4, 7, 12}}, {"7", {0, 4, 7, 10}},
        {"m7", {0, 3, 7, 10}}, {"sus4", {0, 5, 7, 12}}, {"5", {0, 7, 12, 7}},
    };
    for (const auto &s : shapes)
        if (suffix == s.name) {
            *offsets = s.steps;
            return true;
        }
    return false;
}

static bool ValidToken(const Score &score, const Pattern &p, const std::string &t)
{
    if (t == "." || t == "-")
        return true;
    if (p.instrument == "drums") {
        for (char c : t) {
            bool known = false;
            for (const Drum &d : score.drums)
                known = known || d.letter == c;
            if (!known)
                return false;
        }
        return true;
    }
    double hz;
    size_t colon = t.find(':');
    std::vector<double> shape;
    if (colon != std::string::npos)
        return ParsePitch(t.substr(0, colon), &hz) && ChordShape(t.substr(colon + 1), &shape);
    return ParsePitch(t, &hz);
}

bool ParseScore(const std::string &path, Score *score, std::string *error)
{
    std::vector<RecipeLine> lines;
    if (!ReadRecipe(path, &lines)) {
        *error = path + ": unreadable";
        return false;
    }
    Score s;
    for (const RecipeLine &l : lines) {
        std::vector<std::string> w = SplitWords(l.text);
        const std::string where = path + ":" + std::to_string(l.number) + ": ";
        std::string why;
        if (w[0] == "tempo" && w.size() == 2) {
            s.tempo = atof(w[1].c_str());
            if (s.tempo < 20 || s.tempo > 400)
                why = "tempo out of range";
        } else if (w[0] == "rows" && w.size() == 2) {
            s.rows = atoi(w[1].c_str());
            if (s.rows < 1 || s.rows > 64)
                why = "rows out of range";
        } else if (w[0] == "instrument") {
            Instrument in;
            if (ParseInstrument(w, &in, &why))
                s.instruments.push_back(in);
        } else if (w[0] == "drum" && w.size() == 4 && w[1].size() == 1) {
            Drum d = {w[1][0], w[2], 0};
            if (!FindInstrument(s, d.instrument))
                why = "unknown instrument " + d.instrument;
            else if (!ParsePitch(w[3], &d.hz))
                why = "bad pitch " + w[3];
            else
                s.drums.push_back(d);
        } else if (w[0] == "pattern" && w.size() >= 3) {
            Pattern p = {w[1], w[2], std::vector<std::string>(w.begin() + 3, w.end())};
            if (p.instrument != "drums" && !FindInstrument(s, p.instrument))
                why = "unknown instrument " + p.instrument;
            else if ((int)p.tokens.size() != s.rows)
                why = "pattern " + p.name + " has " + std::to_string(p.tokens.size()) + " rows, not " + std::to_string(s.rows);
            for (const std::string &t : p.tokens)
                if (why.empty() && !ValidToken(s, p, t))
                    why = "bad token " + t + " in pattern " + p.name;
            if (why.empty())
                s.patterns.push_back(p);
        } else if (w[0] == "bar") {
            std::vector<std::string> names(w.begin() + 1, w.end());
            for (const std::string &n : names) {
                bool known = false;
                for (const Pattern &p : s.patterns)
                    known = known || p.name == n;
                if (!known)
                    why = "unknown pattern " + n;
            }
            s.bars.push_back(names);
        } else {
            why = "cannot read this line";
        }
        if (!why.empty()) {
            *error = where + why;
            return false;
        }
    }
    if (s.bars.empty()) {
        *error = path + ": no bars";
        return false;
    }
    *score = s;
    return true;
}
