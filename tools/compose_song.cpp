// compose_song OUTPUT.xm: writes the game's song.
//
// Sixteen channels, nine stored patterns, fifteen synthesised instruments;
// speed 8 at BPM 160 makes a row 1/8 s, so 16 rows are a bar of 4/4 at 120
// beats per minute. The game cues song positions 3 (menu), 6 (bout) and 9
// (result); the order table 6 4 0 1 2 3 7 5 3 8 puts patterns 1, 7 and 8
// there:
//   0: 6 dawn        1: 4 gathering   2: 0 theme        3: 1 menu theme
//   4: 2 theme again 5: 3 drum break  6: 7 bout         7: 5 bout climax
//   8: 3 drum break  9: 8 victory, then back to 0.
// The melodies keep to D minor pentatonic (D F G A C); the victory turns to
// D major.
#include "song_synth.h"
#include "xm_writer.h"

#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

namespace bb::song {

namespace {

constexpr int Channels = 16;

enum Channel : int {
    ChOdaiko,
    ChNagado,
    ChShime,
    ChKa,
    ChChappa,
    ChClap,
    ChBass,
    ChShamisen,
    ChKoto,
    ChFlute,
    ChFlute2,
    ChSho1,
    ChSho2,
    ChSho3,
    ChMetal,
    ChExtra,
};

constexpr uint8_t KeyOff = 97;
constexpr uint8_t FxArpeggio = 0x0, FxPortaUp = 0x1, FxPortaDown = 0x2, FxTonePorta = 0x3,
                  FxVibrato = 0x4, FxOffset = 0x9, FxExtended = 0xE, FxRetrigger = 27;

uint8_t vol(int v) { return static_cast<uint8_t>(0x10 + (v < 0 ? 0 : v > 64 ? 64 : v)); }

// "D5", "A#4", "Bb3" to an XM note number (C-0 = 1).
uint8_t note(const std::string& name) {
    static const int Semitone[] = {9, 11, 0, 2, 4, 5, 7}; // A B C D E F G
    if (name.size() < 2 || name[0] < 'A' || name[0] > 'G') throw std::runtime_error("note " + name);
    int s = Semitone[name[0] - 'A'];
    size_t i = 1;
    if (name[i] == '#') s++, i++;
    else if (name[i] == 'b') s--, i++;
    const int octave = name[i] - '0';
    return static_cast<uint8_t>(octave * 12 + s + 1);
}

struct Builder {
    xm::Pattern P;
    explicit Builder(int rows) {
        P.Rows = rows;
        P.Cells.resize(rows * Channels);
    }
    xm::Cell& at(int row, int channel) { return P.Cells.at(row * Channels + channel); }
    int rows() const { return P.Rows; }
};

// ---- Drums: one character a row ----

struct Hit {
    char Symbol;
    uint8_t Instrument;
    int Volume;
    uint8_t Effect = 0;
    uint8_t Parameter = 0;
    const char* Note = "C4";
};

using Kit = std::vector<Hit>;

const Kit Taiko = {
    {'O', Odaiko, 64},
    {'o', Odaiko, 40},
    {'B', Odaiko, 64, FxPortaDown, 0x05}, // the skin sags: pitch falls
    {'q', Odaiko, 34, FxOffset, 0x03},    // soft: skips the stick
    {'n', Nagado, 44},
    {'N', Nagado, 60},
    {'m', Nagado, 44, FxExtended, 0xD4, "F4"}, // higher drum, half a row late
    {'f', Nagado, 34, FxExtended, 0xD3},       // flam: a grace stroke late in the row
    {'U', Nagado, 50, FxPortaUp, 0x06},        // the skin tightens: pitch rises
    {'s', Shime, 30},
    {'S', Shime, 50},
    {'r', Shime, 22, FxRetrigger, 0x94}, // roll, growing louder
    {'R', Shime, 34, FxRetrigger, 0xA2}, // fast roll
    {'k', Ka, 40},
    {'K', Ka, 58},
    {'g', Ka, 26, FxExtended, 0xD4}, // ghost stroke on the off-tick
    {'c', Chappa, 26},
    {'C', Chappa, 46},
    {'x', Chappa, 36, FxExtended, 0xC2}, // choked
    {'p', Tebyoshi, 44},
    {'P', Tebyoshi, 60},
    {'h', Hyoshigi, 64},
    {'H', Hyoshigi, 46, FxExtended, 0xD3},
    {'G', Dora, 60},
    {'w', Dora, 30, FxOffset, 0x10}, // the gong's bloom without its strike
    {'b', Kane, 40, 0, 0, "D5"},
    {'e', Kane, 30, 0, 0, "A5"},
};

void drums(Builder& b, int channel, int start, const std::string& steps, const Kit& kit = Taiko) {
    int row = start;
    for (char c : steps) {
        if (c == ' ' || c == '|') continue;
        if (c != '.') {
            const Hit* hit = nullptr;
            for (const Hit& h : kit)
                if (h.Symbol == c) hit = &h;
            if (!hit) throw std::runtime_error(std::string("no drum ") + c);
            xm::Cell& cell = b.at(row, channel);
            cell = {note(hit->Note), hit->Instrument, vol(hit->Volume), hit->Effect, hit->Parameter};
        }
        row++;
    }
}

// ---- Melodies ----
//
// Tokens: NOTE[:rows][flags], "." rest, "-" hold, each with an optional
// ":rows" (default 1). A "~" before a note slides into it. Flags: v vibrato
// after the first two rows, f fall at the end, x staccato (cut on tick 3),
// d late (delay to tick 4), aXY arpeggio, oXY sample offset, ! accent, _ soft.

struct Voice {
    int Channel;
    uint8_t Instrument;
    int Volume;
    bool KeyOffOnRest = true;
    int Transpose = 0;           // semitones
    uint8_t SlideSpeed = 0x18;   // tone portamento speed
    uint8_t Vibrato = 0x42;      // speed 4, depth 2: a quarter tone each way
    uint8_t Fall = 0x04;
};

int hex2(const std::string& s, size_t at) {
    return static_cast<int>(std::strtol(s.substr(at, 2).c_str(), nullptr, 16));
}

// Bar lines "|" are only for the reader.
std::string without_bars(std::string text) {
    for (char& c : text)
        if (c == '|') c = ' ';
    return text;
}

void melody(Builder& b, const Voice& v, int start, const std::string& text) {
    std::istringstream in(without_bars(text));
    std::string token;
    int row = start;
    bool sounding = false;
    while (in >> token) {
        int length = 1;
        const size_t colon = token.find(':');
        std::string head = token.substr(0, colon);
        std::string flags;
        if (colon != std::string::npos) {
            size_t end = colon + 1;
            while (end < token.size() && std::isdigit(static_cast<unsigned char>(token[end]))) end++;
            length = std::atoi(token.substr(colon + 1, end - colon - 1).c_str());
            flags = token.substr(end);
        }
        if (head == ".") {
            if (sounding && v.KeyOffOnRest && row < b.rows()) b.at(row, v.Channel).Note = KeyOff;
            sounding = false;
        } else if (head != "-") {
            const bool slide = head[0] == '~';
            if (slide) head = head.substr(1);
            int volume = v.Volume;
            for (char f : flags) {
                if (f == '!') volume += 12;
                if (f == '_') volume -= 16;
            }
            xm::Cell& cell = b.at(row, v.Channel);
            cell.Note = static_cast<uint8_t>(note(head) + v.Transpose);
            cell.Instrument = v.Instrument;
            cell.Volume = vol(volume);
            if (slide) {
                cell.Effect = FxTonePorta;
                cell.Parameter = v.SlideSpeed;
                cell.Volume = 0; // the sliding note keeps its loudness
            }
            for (size_t i = 0; i < flags.size(); i++) {
                const char f = flags[i];
                if (f == 'x') cell.Effect = FxExtended, cell.Parameter = 0xC3;
                if (f == 'd') cell.Effect = FxExtended, cell.Parameter = 0xD4;
                if (f == 'o') cell.Effect = FxOffset, cell.Parameter = static_cast<uint8_t>(hex2(flags, i + 1));
                if (f == 'a') {
                    const uint8_t arp = static_cast<uint8_t>(hex2(flags, i + 1));
                    for (int r = slide ? 1 : 0; r < length; r++) {
                        xm::Cell& c = b.at(row + r, v.Channel);
                        c.Effect = FxArpeggio;
                        c.Parameter = arp;
                    }
                }
                if (f == 'v')
                    for (int r = 2; r < length; r++) {
                        xm::Cell& c = b.at(row + r, v.Channel);
                        c.Effect = FxVibrato;
                        c.Parameter = v.Vibrato;
                    }
                if (f == 'f')
                    for (int r = length - 2; r < length; r++) {
                        xm::Cell& c = b.at(row + r, v.Channel);
                        c.Effect = FxPortaDown;
                        c.Parameter = v.Fall;
                    }
            }
            if (slide)
                for (int r = 1; r < length && r < 3; r++) {
                    xm::Cell& c = b.at(row + r, v.Channel);
                    if (c.Effect == 0 && c.Parameter == 0) c.Effect = FxTonePorta;
                }
            sounding = true;
        }
        row += length;
    }
    if (sounding && v.KeyOffOnRest && row < b.rows() && b.at(row, v.Channel).Note == 0)
        b.at(row, v.Channel).Note = KeyOff;
}

// ---- Chords on the three mouth-organ channels ----

const std::map<std::string, std::vector<const char*>> Voicings = {
    {"Dm", {"D4", "A4", "E5"}},  {"Dm2", {"F4", "A4", "D5"}}, {"Bb", {"Bb3", "F4", "C5"}},
    {"C", {"C4", "G4", "D5"}},   {"F", {"F4", "C5", "G5"}},   {"G", {"G3", "D4", "A4"}},
    {"Gm", {"G3", "D4", "Bb4"}}, {"A", {"A3", "E4", "A4"}},   {"D", {"D4", "A4", "F#5"}},
    {"Dsus", {"D4", "G4", "A4"}}, {"Am", {"A3", "E4", "C5"}},
};

void chords(Builder& b, int start, const std::string& text, int volume) {
    std::istringstream in(text);
    std::string token;
    int row = start;
    while (in >> token) {
        const size_t colon = token.find(':');
        const std::string name = token.substr(0, colon);
        const int length = std::atoi(token.substr(colon + 1).c_str());
        if (name != ".") {
            const std::vector<const char*>& notes = Voicings.at(name);
            for (int i = 0; i < 3; i++) {
                xm::Cell& c = b.at(row, ChSho1 + i);
                c.Note = note(notes[i]);
                c.Instrument = Sho;
                c.Volume = vol(volume - 4 * i);
            }
        } else {
            for (int i = 0; i < 3; i++) b.at(row, ChSho1 + i).Note = KeyOff;
        }
        row += length;
    }
    if (row < b.rows())
        for (int i = 0; i < 3; i++)
            if (b.at(row, ChSho1 + i).Note == 0) b.at(row, ChSho1 + i).Note = KeyOff;
}

// ---- The patterns ----

const Voice Flute = {ChFlute, Shakuhachi, 50};
const Voice FluteEcho = {ChFlute2, Shakuhachi, 28};
const Voice Lute = {ChShamisen, Shamisen, 44, false};
const Voice Zither = {ChKoto, Koto, 36, false};
const Voice BassLine = {ChBass, Bass, 52};
const Voice Conch = {ChFlute2, Horagai, 40};

// Repeats a one-bar figure.
std::string times(const std::string& bar, int n) {
    std::string out;
    for (int i = 0; i < n; i++) out += bar + " ";
    return out;
}

// Off-beat eighths, cut short, for a number of bars.
std::string offbeats(const std::string& n, int bars) { return times(". . " + n + ":1x .", 4 * bars); }

// The main theme, eight bars.
const char* const ThemeA =
    "D5:6v C5:2 D5:4 F5:4 | G5:6v F5:2 D5:8v | C5:6 A4:2 C5:4 D5:4 | A4:12vf .:4 |"
    "D5:6v C5:2 D5:4 F5:4 | A5:6v G5:2 F5:4 G5:4 | F5:4 D5:4 C5:4 A4:4 | D5:14v .:2";

// The lute's theme for the menu: two bars, played with changes.
const char* const ThemeB1 = "D5:1 .:1 D5:1 F5:1 G5:2 A5:2 G5:1 F5:1 D5:2 C5:2 D5:2";
const char* const ThemeB2 = "A4:1 .:1 C5:1 D5:1 F5:2 D5:2 C5:1 A4:1 G4:2 A4:4";

// Pattern 6, the dawn: gong, mouth organ and a lone flute over a heartbeat.
xm::Pattern dawn() {
    Builder b(64);
    drums(b, ChMetal, 0, "w");
    drums(b, ChOdaiko, 0, times("q.......q.......", 4));
    drums(b, ChOdaiko, 48, "q.......q...o.o.");
    chords(b, 0, "Dm:32 C:16 Dm:16", 30);
    melody(b, Flute, 4, "A4:2 ~D5:10v | C5:2 D5:2 F5:4 ~D5:8vf | .:4 A4:2 C5:2 D5:8v | "
                        "F5:2 G5:2 A5:6v G5:2 D5:2 .:2");
    drums(b, ChExtra, 32, "b...............e");
    melody(b, Zither, 48, "D4:2 A4:2 D5:2 E5:2 A5:2 E5:2 D5:2 A4:2");
    drums(b, ChShime, 56, "r.r.R.RR");
    return b.P;
}

// Pattern 4, the gathering: the drums assemble under running zither notes.
xm::Pattern gathering() {
    Builder b(64);
    drums(b, ChOdaiko, 0, times("O.......o.......", 3) + "O.......O.O.O.OO");
    drums(b, ChNagado, 0, "................ ....n.......n... ....n.......n.n. nnNnnnNnNNNNnNNN");
    drums(b, ChShime, 0, "s...s...s...s... s.s.s.s.s.s.s.s. s.s.S.s.s.s.S.s. ssSsssSsr.r.R.R.");
    drums(b, ChKa, 16, "..g...k...g...k. ..k...k...k...kk ..k...k.........");
    drums(b, ChChappa, 60, "...C");
    chords(b, 0, "Dm:16 Bb:16 C:16 Dm:16", 36);
    melody(b, Zither, 0,
           times("D4:1 A4:1 D5:1 A4:1", 4) + times("Bb3:1 F4:1 Bb4:1 F4:1", 4) +
               times("C4:1 G4:1 C5:1 G4:1", 4) + times("D4:1 A4:1 D5:1 A4:1", 4));
    melody(b, BassLine, 32, "C2:4 .:2 C2:2 G2:4 C2:4 | D2:4 .:2 D2:2 A2:4 D2:2 C3:2");
    melody(b, Flute, 48, "A4:4 C5:4 D5:6v .:2");
    return b.P;
}

// The common groove of the themes.
void groove(Builder& b, int start, int bars, bool busy) {
    const std::string odaiko = busy ? "O.....o.O.o..o.." : "O.....o.O.o.....";
    drums(b, ChOdaiko, start, times(odaiko, bars));
    drums(b, ChNagado, start, times(busy ? "....n.....n.n..f" : "....n.......n...", bars));
    drums(b, ChShime, start, times("s.s.S.s.s.sgS.s.", bars));
    drums(b, ChKa, start, times("..k...k...k...kg", bars));
    drums(b, ChChappa, start, times("..c...c...c...c.", bars));
    drums(b, ChClap, start, times("....p.......p...", bars));
}

// Pattern 0, the theme on the flute, the lute striking off-beats.
xm::Pattern theme() {
    Builder b(128);
    groove(b, 0, 8, false);
    drums(b, ChMetal, 0, "b");
    drums(b, ChMetal, 64, "b");
    chords(b, 0, "Dm:16 Bb:16 C:16 Dm:16 Dm:16 F:16 C:16 Dm:16", 26);
    melody(b, Flute, 0, ThemeA);
    const char* const bass_d = "D2:3 D2:1 .:2 A2:2 D2:2 .:2 C3:2 A2:2";
    const char* const bass_bb = "Bb1:3 Bb1:1 .:2 F2:2 Bb1:2 .:2 A2:2 F2:2";
    const char* const bass_c = "C2:3 C2:1 .:2 G2:2 C2:2 .:2 D3:2 G2:2";
    const char* const bass_f = "F2:3 F2:1 .:2 C3:2 F2:2 .:2 D3:2 C3:2";
    melody(b, BassLine, 0,
           std::string(bass_d) + " " + bass_bb + " " + bass_c + " " + bass_d + " " + bass_d + " " +
               bass_f + " " + bass_c + " " + "D2:3 D2:1 .:2 A2:2 D2:4 C2:2 A1:2");
    melody(b, Lute, 0,
           offbeats("A4", 1) + offbeats("F4", 1) + offbeats("G4", 1) + offbeats("A4", 2) +
               offbeats("C5", 1) + offbeats("G4", 1) + "D5:4a57 . . A4:1x . . . A4:1x D4:4");
    melody(b, FluteEcho, 51, "D5:4 .:10 | C5:3 .:13");
    melody(b, FluteEcho, 115, "A4:4 D5:6v");
    return b.P;
}

// Pattern 1, the menu: clappers call, then the lute's theme answered by the flute.
xm::Pattern menu() {
    Builder b(128);
    drums(b, ChClap, 0, "h.....h...h.h.h.");
    drums(b, ChOdaiko, 0, "B.......O.......");
    drums(b, ChMetal, 0, "G");
    groove(b, 16, 7, true);
    chords(b, 0, "Dm:16 C:16 Bb:16 C:16 Dm:16 C:16 Bb:16 A:16", 24);
    const std::string b1 = ThemeB1, b2 = ThemeB2;
    melody(b, Lute, 0,
           ". .:15 " + b1 + " " + b2 + " " + b1 + " " +
               "A4:1 .:1 C5:1 D5:1 F5:2 G5:2 A5:4a57 G5:2 A5:2 " + b1 + " " + b2 + " " +
               "D5:2a37 D5:2a37 D5:2a37 D5:2a37 C5:2 A4:2 C5:4");
    melody(b, Flute, 48, ".:8 A5:4v G5:2 A5:2 | C6:6v A5:2 G5:8v | .:8 F5:2 G5:2 A5:4 | "
                         "~D6:8v C6:4 A5:4 | G5:4 A5:4 D5:6v .:2");
    const char* const bd = "D2:3 D2:1 .:2 D2:2 A2:2 .:2 D3:2 C3:2";
    const char* const bc = "C2:3 C2:1 .:2 C2:2 G2:2 .:2 C3:2 G2:2";
    const char* const bb = "Bb1:3 Bb1:1 .:2 Bb1:2 F2:2 .:2 Bb2:2 F2:2";
    melody(b, BassLine, 0,
           std::string("D2:8 .:8 ") + bc + " " + bb + " " + bc + " " + bd + " " + bc + " " + bb +
               " " + "A1:3 A1:1 .:2 A1:2 E2:2 .:2 A2:2 G2:2");
    melody(b, Zither, 64, times("D5:1_ A4:1_ F4:1_ A4:1_", 4) + times("C5:1_ G4:1_ E4:1_ G4:1_", 4));
    return b.P;
}

// Pattern 2, the theme again an octave up, with zither counterpoint.
xm::Pattern theme_again() {
    Builder b(128);
    groove(b, 0, 8, true);
    drums(b, ChMetal, 0, "e");
    chords(b, 0, "Dm2:16 Bb:16 C:16 Dm:16 Dm2:16 F:16 C:16 Dsus:16", 24);
    Voice high = Flute;
    high.Transpose = 12;
    high.Volume = 40;
    melody(b, high, 0, ThemeA);
    melody(b, Zither, 0,
           "A4:2 D5:2 F5:2 D5:2 A4:4 C5:4 | Bb4:2 D5:2 F5:2 D5:2 G5:4 F5:4 | "
           "G4:2 C5:2 E5:2 C5:2 G4:4 A4:4 | D5:2 A4:2 F4:2 A4:2 D5:8 |"
           "A4:2 D5:2 F5:2 D5:2 A4:4 C5:4 | F4:2 A4:2 C5:2 A4:2 F5:4 G5:4 | "
           "E5:2 C5:2 G4:2 C5:2 E5:4 D5:4 | D5:4a57 D5:4a57 D5:8");
    melody(b, Lute, 0, offbeats("D4", 4) + offbeats("F4", 2) + offbeats("G4", 2));
    const char* const bd = "D2:3 D2:1 .:2 A2:2 D2:2 .:2 C3:2 A2:2";
    melody(b, BassLine, 0,
           std::string(bd) + " Bb1:3 Bb1:1 .:2 F2:2 Bb1:2 .:2 A2:2 F2:2 C2:3 C2:1 .:2 G2:2 C2:2 "
                             ".:2 D3:2 G2:2 " + bd + " " + bd +
               " F2:3 F2:1 .:2 C3:2 F2:2 .:2 D3:2 C3:2 C2:3 C2:1 .:2 G2:2 C2:2 .:2 D3:2 G2:2 "
               "D2:3 D2:1 .:2 A2:2 D2:4 C2:2 A1:2");
    return b.P;
}

// Pattern 3, the drum break: the drums talk to each other under the conch.
xm::Pattern drum_break() {
    Builder b(64);
    drums(b, ChOdaiko, 0, "O.......O.....o. O...O...o.O..... O.......O.....o. O.O.O.O.O.O.OOOO");
    drums(b, ChNagado, 0, "....n.f.....n.n. ..n...n.n...nNnU ....n.f.....n.n. ..nn..nn.n.nNNNU");
    drums(b, ChShime, 0, "S.s.s.sSs.sSs.s. S.s.s.sSs.sSs.s. S.s.s.sSs.sSs.s. r.r.r.r.R.R.R.R.");
    drums(b, ChKa, 0, times("k..k..k...k..k.k", 3) + "k.k.k.k.k.k.k.k.");
    drums(b, ChClap, 0, times("....P.......P...", 3) + "....P...P...PPPP");
    drums(b, ChChappa, 0, times("c.c.c.c.c.c.c.c.", 3) + "c.c.c.c.C.C.C.CC");
    melody(b, Conch, 0, "A3:2 ~D4:14 | -:8 .:8 | A3:2 ~D4:6 ~F4:8 | D4:12 .:4");
    chords(b, 0, "Dsus:32 Dm:32", 22);
    melody(b, BassLine, 0, "D2:16 | D2:16 | D2:16 | D2:8 C2:4 A1:4");
    return b.P;
}

// Pattern 7, the bout: clappers and gong, then a driving drum ostinato with
// the lute cutting short notes and the flute calling high.
xm::Pattern bout() {
    Builder b(128);
    drums(b, ChClap, 0, "h...h...h.h.hhhh");
    drums(b, ChMetal, 0, "G");
    drums(b, ChOdaiko, 0, "B...............");
    drums(b, ChOdaiko, 16, times("O...O...O...O.o.", 6) + "O...O...O.O.OOOO");
    drums(b, ChNagado, 16, times("..n...n...n.n..n", 5) + "..n...n...n.n.UU" + "nNnNnNnNNNNNNNNU");
    drums(b, ChShime, 0, "r.r.r.r.R.R.R.R." + times("SssSssSsSssSsRsS", 7));
    drums(b, ChKa, 16, times(".k.k.k.k.k.k.k.k", 7));
    drums(b, ChChappa, 16, times("c.c.x.c.c.c.x.c.", 7));
    drums(b, ChClap, 16, times("....p.......p...", 6) + "....p...p.p.pppp");
    melody(b, Conch, 0, "D4:2 ~A4:14 | -:12 .:4");
    chords(b, 0, "Dsus:16 Dm:16 Dm:16 Dm:16 C:16 Dm:16 Bb:16 C:16", 20);
    const std::string ostinato = "D2:1 D2:1 D3:1 D2:1 C3:1 D2:1 A2:1 C3:1";
    melody(b, BassLine, 0,
           "D2:16 " + times(ostinato, 6) + times("C2:1 C2:1 C3:1 C2:1 Bb2:1 C2:1 G2:1 Bb2:1", 2) +
               times(ostinato, 2) + times("Bb1:1 Bb1:1 Bb2:1 Bb1:1 A2:1 Bb1:1 F2:1 A2:1", 2) +
               "C2:1 C2:1 C3:1 C2:1 Bb2:1 C2:1 G2:1 Bb2:1 C2:2 D2:2 F2:2 A2:2");
    const std::string riff = "D5:1x D5:1x . A4:1x C5:1x . D5:1x F5:1x D5:1x . C5:1x A4:1x . "
                             "G4:1x A4:1x .";
    melody(b, Lute, 16, riff + " " + riff + " " + riff + " " +
                            "D5:2x F5:2x G5:2x A5:2a57 . A5:1x G5:1x F5:2x D5:2x .");
    melody(b, Flute, 80, "A5:4! C6:2 A5:2 G5:8v | F5:4 G5:2 A5:2 D5:8v | C6:4! A5:2 C6:2 ~D6:8v");
    melody(b, Zither, 80, times("D5:1_ A4:1_ D5:1_ F5:1_", 8));
    return b.P;
}

// Pattern 5, the bout's climax: the theme in full, lute and flute in octaves.
xm::Pattern climax() {
    Builder b(128);
    drums(b, ChOdaiko, 0, times("O...O.o.O...O.o.", 7) + "O.O.O.O.OOOOOOOO");
    drums(b, ChNagado, 0, times("..n...n...n.n..f", 7) + "NnNnNnNnNNNNNNNN");
    drums(b, ChShime, 0, times("SssSssSsSssSsRsS", 7) + "r.r.r.r.R.R.R.R.");
    drums(b, ChKa, 0, times(".k.k.k.k.k.k.k.k", 8));
    drums(b, ChChappa, 0, times("C.c.c.c.C.c.c.c.", 8));
    drums(b, ChClap, 0, times("....P.......P...", 8));
    drums(b, ChMetal, 0, "G");
    drums(b, ChMetal, 64, "G");
    chords(b, 0, "Dm:16 Bb:16 C:16 Dm:16 Dm:16 F:16 C:16 Dm:16", 22);
    Voice flute = Flute;
    flute.Volume = 54;
    melody(b, flute, 0, ThemeA);
    Voice lute = Lute;
    lute.Transpose = -12;
    lute.Volume = 40;
    melody(b, lute, 0,
           "D5:2 D5:2 C5:2 D5:2 D5:2 D5:2 F5:2 F5:2 | G5:2 G5:2 G5:2 F5:2 D5:2 D5:2 D5:2 D5:2 |"
           "C5:2 C5:2 C5:2 A4:2 C5:2 C5:2 D5:2 D5:2 | A4:2 A4:2 A4:2 A4:2 A4:4a57 A4:4a57 |"
           "D5:2 D5:2 C5:2 D5:2 D5:2 D5:2 F5:2 F5:2 | A5:2 A5:2 A5:2 G5:2 F5:2 F5:2 G5:2 G5:2 |"
           "F5:2 F5:2 D5:2 D5:2 C5:2 C5:2 A4:2 A4:2 | D5:4a57 D5:4a57 D5:4a37 D5:4a37");
    const std::string ostinato = "D2:1 D2:1 D3:1 D2:1 C3:1 D2:1 A2:1 C3:1";
    const std::string bb = "Bb1:1 Bb1:1 Bb2:1 Bb1:1 A2:1 Bb1:1 F2:1 A2:1";
    const std::string c = "C2:1 C2:1 C3:1 C2:1 Bb2:1 C2:1 G2:1 Bb2:1";
    const std::string f = "F2:1 F2:1 F3:1 F2:1 D3:1 F2:1 C3:1 D3:1";
    melody(b, BassLine, 0,
           times(ostinato, 2) + times(bb, 2) + times(c, 2) + times(ostinato, 4) + times(f, 2) +
               times(c, 2) + "D2:2 D2:2 D2:2 D2:2 D2:1 D2:1 D2:1 D2:1 A1:2 D2:2");
    melody(b, Zither, 0, times("D5:1_ A4:1_ F5:1_ A4:1_", 16) + times("A5:1_ F5:1_ D5:1_ A4:1_", 16));
    melody(b, FluteEcho, 120, "D6:6v .:2");
    return b.P;
}

// Pattern 8, victory: gong and clappers, a fanfare in D major, half-time drums.
xm::Pattern victory() {
    Builder b(64);
    drums(b, ChMetal, 0, "G");
    drums(b, ChClap, 0, "h.h.h...........");
    drums(b, ChChappa, 0, "C...............");
    drums(b, ChOdaiko, 0, "B.......O......." + times("O.......O.....o.", 2) + "O.......O.O.O...");
    drums(b, ChNagado, 16, "....n.......N... ....n.......N... ....n...n.n.n...");
    drums(b, ChShime, 16, times("s.s.s.s.S.s.s.s.", 2) + "s.s.s.s.r.r.r...");
    drums(b, ChClap, 16, times("........P.......", 3));
    chords(b, 0, "D:16 G:16 A:16 D:12 .:4", 30);
    melody(b, Flute, 0, "D5:4! F#5:4 A5:8v | G5:4 A5:2 B5:2 D6:8v | E6:4 D6:2 B5:2 A5:4 B5:4 | "
                        "D6:12v .:4");
    melody(b, Conch, 0, "D4:8 A3:8 | G3:16 | A3:16 | D4:12 .:4");
    melody(b, BassLine, 0, "D2:4 .:2 D2:2 A2:4 D2:4 | G1:4 .:2 G1:2 D2:4 G2:4 | "
                           "A1:4 .:2 A1:2 E2:4 A2:4 | D2:8 A1:4 .:4");
    melody(b, Lute, 16, ".:16 A4:1x B4:1x D5:2 E5:2 F#5:2 A5:4a47 . .:3 | .:16");
    melody(b, Zither, 48, "D5:1 A4:1 F#4:1 D4:1 A4:1 D5:1 F#5:1 A5:1 D6:4");
    return b.P;
}

xm::Song compose() {
    xm::Song song;
    song.Name = "Brawlbox";
    song.Channels = Channels;
    song.RestartPosition = 0;
    song.Flags = 1;
    song.Speed = 8;
    song.Bpm = 160;
    song.Orders = {6, 4, 0, 1, 2, 3, 7, 5, 3, 8};
    song.Patterns = {theme(), menu(), theme_again(), drum_break(), gathering(), climax(),
                     dawn(),  bout(), victory()};
    song.Instruments = make_instruments();
    return song;
}

} // namespace

} // namespace bb::song

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: compose_song OUTPUT.xm\n");
        return 2;
    }
    std::vector<uint8_t> bytes;
    try {
        bytes = bb::xm::write_xm(bb::song::compose());
    } catch (const std::exception& e) {
        std::fprintf(stderr, "compose_song: %s\n", e.what());
        return 1;
    }
    std::FILE* out = std::fopen(argv[1], "wb");
    if (!out || std::fwrite(bytes.data(), 1, bytes.size(), out) != bytes.size() ||
        std::fclose(out) != 0) {
        std::perror(argv[1]);
        return 1;
    }
    return 0;
}
