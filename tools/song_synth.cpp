// Every sample is computed here in double precision and stored as 16-bit.
// Pitched voices are sums of sinusoids whose frequencies are whole multiples
// of rate / loop length, so the loop segment joins its own start exactly; the
// partials decay during the attack and are frozen in the loop, where the
// instrument's volume envelope takes over.
#include "song_synth.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <numbers>

namespace bb::song {

namespace {

constexpr double Pi = std::numbers::pi;
constexpr double MiddleC = 261.6255653; // C-4

// A fixed random stream: the song is the same on every build.
struct Noise {
    uint32_t State;
    double next() { // uniform in [-1, 1)
        State ^= State << 13;
        State ^= State >> 17;
        State ^= State << 5;
        return static_cast<double>(State) / 2147483648.0 - 1.0;
    }
};

// Simple one-pole and two-pole filters for shaping noise.
struct OnePole {
    double A, Y = 0;
    OnePole(double cutoff, double rate) : A(1.0 - std::exp(-2.0 * Pi * cutoff / rate)) {}
    double low(double x) { return Y += A * (x - Y); }
    double high(double x) { return x - low(x); }
};

struct BandPass { // constant peak gain, RBJ form
    double B0, B2, A1, A2, X1 = 0, X2 = 0, Y1 = 0, Y2 = 0;
    BandPass(double centre, double q, double rate) {
        const double w = 2.0 * Pi * centre / rate, alpha = std::sin(w) / (2.0 * q);
        const double a0 = 1.0 + alpha;
        B0 = alpha / a0;
        B2 = -alpha / a0;
        A1 = -2.0 * std::cos(w) / a0;
        A2 = (1.0 - alpha) / a0;
    }
    double run(double x) {
        const double y = B0 * x + B2 * X2 - A1 * Y1 - A2 * Y2;
        X2 = X1;
        X1 = x;
        Y2 = Y1;
        Y1 = y;
        return y;
    }
};

// Scales to the given peak (of 32767) and rounds; the last few milliseconds
// fade to zero so an unlooped sample ends without a click.
std::vector<int16_t> to_pcm(std::vector<double> x, double peak, double rate, bool fade = true) {
    double top = 1e-9;
    for (double v : x) top = std::max(top, std::fabs(v));
    const size_t fade_len = fade ? std::min<size_t>(x.size(), static_cast<size_t>(rate * 0.004)) : 0;
    std::vector<int16_t> out(x.size());
    for (size_t i = 0; i < x.size(); i++) {
        double v = x[i] / top * peak * 32767.0;
        if (i >= x.size() - fade_len) v *= static_cast<double>(x.size() - 1 - i) / fade_len;
        out[i] = static_cast<int16_t>(std::lround(std::clamp(v, -32767.0, 32767.0)));
    }
    return out;
}

xm::Sample drum_sample(const char* name, std::vector<double> x, double rate, double peak) {
    xm::Sample s;
    s.Name = name;
    s.Values = to_pcm(std::move(x), peak, rate);
    xm::tune_sample(s, rate); // C-4 plays it as recorded
    return s;
}

xm::Instrument one_sample(const char* name, xm::Sample s) {
    xm::Instrument ins;
    ins.Name = name;
    ins.Samples.push_back(std::move(s));
    return ins; // keymap all 0: every note plays sample 0
}

// A partial: frequency Bin * rate / loop length, decaying with time constant
// Decay (seconds, 0 = steady) during the attack, swelling in over Swell.
struct Partial {
    int Bin;
    double Amplitude;
    double Decay = 0;
    double Swell = 0;
};

// Attack frames of evolving partials plus noise, then one loop of Loop frames
// with the partials frozen. Returns a looped sample.
xm::Sample looped_sample(const char* name, double rate, int attack, int loop,
                         const std::vector<Partial>& partials, const std::vector<double>& attack_noise,
                         double peak, uint32_t seed) {
    Noise noise{seed};
    std::vector<double> phase(partials.size());
    for (double& p : phase) p = (noise.next() + 1.0) * Pi;
    std::vector<double> x(attack + loop);
    for (int i = 0; i < attack + loop; i++) {
        const double t = std::min(i, attack) / rate;
        double v = 0;
        for (size_t k = 0; k < partials.size(); k++) {
            const Partial& p = partials[k];
            double a = p.Amplitude;
            if (p.Decay > 0) a *= std::exp(-t / p.Decay);
            if (p.Swell > 0) a *= 1.0 - std::exp(-t / p.Swell);
            v += a * std::sin(2.0 * Pi * p.Bin * static_cast<double>(i) / loop + phase[k]);
        }
        if (i < static_cast<int>(attack_noise.size())) v += attack_noise[i];
        x[i] = v;
    }
    xm::Sample s;
    s.Name = name;
    s.Values = to_pcm(std::move(x), peak, rate, false);
    s.Loop = xm::ForwardLoop;
    s.LoopStart = static_cast<uint32_t>(attack);
    s.LoopLength = static_cast<uint32_t>(loop);
    return s;
}

// Tunes a sample whose fundamental is the given frequency at its own rate.
void tune_pitched(xm::Sample& s, double rate, double fundamental) {
    xm::tune_sample(s, MiddleC * rate / fundamental);
}

void set_envelope(xm::Envelope& e, std::vector<std::pair<uint16_t, uint16_t>> points,
                  int sustain = -1) {
    e.Points = std::move(points);
    e.Type = 1;
    if (sustain >= 0) {
        e.Type |= 2;
        e.Sustain = static_cast<uint8_t>(sustain);
    }
}

// ---- Drums ----

xm::Instrument make_odaiko() {
    const double rate = 16000;
    const int n = static_cast<int>(rate * 0.75);
    Noise noise{0x0DA1C0};
    OnePole thump(900, rate), skin(160, rate), skin2(220, rate);
    std::vector<double> x(n);
    double ph = 0;
    for (int i = 0; i < n; i++) {
        const double t = i / rate;
        const double f = 52.0 + 46.0 * std::exp(-t / 0.035);
        ph += 2.0 * Pi * f / rate;
        double v = std::sin(ph) * std::exp(-t / 0.32);
        v += 0.35 * std::sin(1.59 * ph + 0.3) * std::exp(-t / 0.11);
        v += 0.18 * std::sin(2.13 * ph + 1.1) * std::exp(-t / 0.06);
        const double w = noise.next();
        v += 0.9 * thump.low(w) * std::exp(-t / 0.010);
        v += 1.6 * skin2.low(skin.low(w)) * std::exp(-t / 0.07);
        x[i] = std::tanh(1.6 * v);
    }
    xm::Instrument ins = one_sample("odaiko", drum_sample("odaiko", x, rate, 0.9));
    ins.Samples[0].Panning = 128;
    return ins;
}

xm::Instrument make_nagado() {
    const double rate = 16000;
    const int n = static_cast<int>(rate * 0.4);
    Noise noise{0x4A6AD0};
    OnePole thump(1800, rate);
    std::vector<double> x(n);
    double ph = 0;
    for (int i = 0; i < n; i++) {
        const double t = i / rate;
        const double f = 118.0 + 55.0 * std::exp(-t / 0.02);
        ph += 2.0 * Pi * f / rate;
        double v = std::sin(ph) * std::exp(-t / 0.16);
        v += 0.4 * std::sin(1.51 * ph) * std::exp(-t / 0.07);
        v += 0.2 * std::sin(2.31 * ph + 0.5) * std::exp(-t / 0.04);
        v += 0.8 * thump.low(noise.next()) * std::exp(-t / 0.008);
        x[i] = std::tanh(1.4 * v);
    }
    return one_sample("nagado", drum_sample("nagado", x, rate, 0.95));
}

xm::Instrument make_shime() {
    const double rate = 22050;
    const int n = static_cast<int>(rate * 0.2);
    Noise noise{0x5417E};
    BandPass crack(3200, 1.2, rate);
    std::vector<double> x(n);
    double ph = 0;
    for (int i = 0; i < n; i++) {
        const double t = i / rate;
        const double f = 410.0 + 90.0 * std::exp(-t / 0.008);
        ph += 2.0 * Pi * f / rate;
        double v = std::sin(ph) * std::exp(-t / 0.055);
        v += 0.45 * std::sin(1.63 * ph + 0.7) * std::exp(-t / 0.03);
        v += 0.25 * std::sin(2.94 * ph + 0.2) * std::exp(-t / 0.018);
        v += 2.2 * crack.run(noise.next()) * std::exp(-t / 0.012);
        x[i] = std::tanh(1.3 * v);
    }
    return one_sample("shime", drum_sample("shime", x, rate, 0.9));
}

xm::Instrument make_ka() {
    const double rate = 22050;
    const int n = static_cast<int>(rate * 0.08);
    Noise noise{0xCA};
    OnePole hp(1500, rate);
    std::vector<double> x(n);
    for (int i = 0; i < n; i++) {
        const double t = i / rate;
        double v = std::sin(2 * Pi * 1130 * t) * std::exp(-t / 0.018);
        v += 0.7 * std::sin(2 * Pi * 1970 * t + 0.4) * std::exp(-t / 0.011);
        v += 0.4 * std::sin(2 * Pi * 3310 * t + 1.3) * std::exp(-t / 0.007);
        v += 1.5 * hp.high(noise.next()) * std::exp(-t / 0.0025);
        x[i] = v;
    }
    return one_sample("ka", drum_sample("ka", x, rate, 0.85));
}

xm::Instrument make_hyoshigi() {
    const double rate = 22050;
    const int n = static_cast<int>(rate * 0.16);
    Noise noise{0x4105};
    OnePole hp(2500, rate);
    std::vector<double> x(n);
    for (int i = 0; i < n; i++) {
        const double t = i / rate;
        double v = std::sin(2 * Pi * 2380 * t) * std::exp(-t / 0.045);
        v += 0.6 * std::sin(2 * Pi * 3940 * t + 0.9) * std::exp(-t / 0.028);
        v += 0.35 * std::sin(2 * Pi * 6080 * t + 0.2) * std::exp(-t / 0.014);
        v += 0.25 * std::sin(2 * Pi * 1210 * t + 0.5) * std::exp(-t / 0.03);
        v += 2.0 * hp.high(noise.next()) * std::exp(-t / 0.0015);
        x[i] = v;
    }
    return one_sample("hyoshigi", drum_sample("hyoshigi", x, rate, 0.95));
}

xm::Instrument make_chappa() {
    const double rate = 22050;
    const int n = static_cast<int>(rate * 0.28);
    Noise noise{0xC4A99A};
    OnePole hp(4000, rate);
    static const double Ratios[] = {1.0, 1.37, 1.71, 2.13, 2.44, 2.87, 3.31};
    std::vector<double> x(n);
    for (int i = 0; i < n; i++) {
        const double t = i / rate;
        double v = 0;
        for (int k = 0; k < 7; k++)
            v += std::sin(2 * Pi * 3050 * Ratios[k] * t + k) * std::exp(-t / (0.09 - 0.008 * k)) /
                 (1.0 + 0.3 * k);
        v += 1.3 * hp.high(noise.next()) * std::exp(-t / 0.06);
        x[i] = v;
    }
    return one_sample("chappa", drum_sample("chappa", x, rate, 0.8));
}

xm::Instrument make_tebyoshi() {
    const double rate = 22050;
    const int n = static_cast<int>(rate * 0.2);
    Noise noise{0x7EB0};
    BandPass body(1250, 1.6, rate);
    std::vector<double> x(n);
    for (int i = 0; i < n; i++) {
        const double t = i / rate;
        // Three quick slaps of several hands, then the room.
        double e = std::exp(-t / 0.045);
        for (double at : {0.0, 0.009, 0.017})
            if (t >= at) e += 1.3 * std::exp(-(t - at) / 0.003);
        x[i] = body.run(noise.next()) * e;
    }
    return one_sample("tebyoshi", drum_sample("tebyoshi", x, rate, 0.9));
}

// ---- Metal ----

xm::Instrument make_kane() {
    const double rate = 22050;
    const int loop = 2048, attack = static_cast<int>(rate * 0.25);
    const int f0 = 65; // bins: 65 * rate / 2048 = 700 Hz
    std::vector<Partial> p = {
        {f0, 1.0, 2.5},          {179, 0.55, 0.9},  {351, 0.35, 0.35},
        {580, 0.22, 0.12},       {864, 0.12, 0.05}, {2 * f0 + 1, 0.15, 0.6},
    };
    Noise noise{0x4A4E};
    OnePole hp(3000, rate);
    std::vector<double> click(300);
    for (int i = 0; i < 300; i++) click[i] = 0.6 * hp.high(noise.next()) * std::exp(-i / 40.0);
    xm::Sample s = looped_sample("kane", rate, attack, loop, p, click, 0.8, 0x4A4E);
    tune_pitched(s, rate, f0 * rate / loop);
    xm::Instrument ins = one_sample("kane", std::move(s));
    set_envelope(ins.VolumeEnvelope, {{0, 64}, {8, 44}, {40, 22}, {120, 8}, {220, 0}});
    ins.Fadeout = 600;
    return ins;
}

xm::Instrument make_dora() {
    const double rate = 16000;
    const int loop = 4096, attack = static_cast<int>(rate * 0.35);
    const double bin = rate / loop; // 3.9 Hz
    static const double Ratios[] = {1.0, 1.52, 2.03, 2.61, 3.27, 4.09, 5.32, 6.61, 8.13, 9.7};
    std::vector<Partial> p;
    for (int k = 0; k < 10; k++) {
        const int b = static_cast<int>(std::lround(98.0 * Ratios[k] / bin));
        // The fundamental sounds at once; the upper partials bloom.
        p.push_back({b, 1.0 / (1.0 + 0.35 * k), k < 2 ? 3.0 : 1.2 - 0.08 * k, k < 2 ? 0.0 : 0.08});
        p.push_back({b + 1, 0.4 / (1.0 + 0.35 * k), 2.0, 0.12});
    }
    Noise noise{0xD08A};
    OnePole lp(2500, rate);
    std::vector<double> hit(800);
    for (int i = 0; i < 800; i++) hit[i] = 1.2 * lp.low(noise.next()) * std::exp(-i / 150.0);
    xm::Sample s = looped_sample("dora", rate, attack, loop, p, hit, 0.85, 0xD08A);
    xm::tune_sample(s, rate); // C-4 plays the gong at its own pitch
    xm::Instrument ins = one_sample("dora", std::move(s));
    set_envelope(ins.VolumeEnvelope, {{0, 64}, {30, 48}, {120, 26}, {300, 10}, {500, 0}});
    ins.Fadeout = 300;
    return ins;
}

// ---- Plucked strings ----

// Harmonic partials of a plucked string: pluck position shapes the spectrum,
// upper partials die faster.
std::vector<Partial> string_partials(int periods, int count, double pluck, double tilt,
                                     double decay, double damping) {
    std::vector<Partial> p;
    for (int k = 1; k <= count; k++) {
        const double a = std::fabs(std::sin(Pi * k * pluck)) / std::pow(k, tilt);
        p.push_back({k * periods, a, decay / (1.0 + damping * k)});
    }
    return p;
}

xm::Instrument make_shamisen() {
    const double rate = 22050;
    const int period = 64, attack = static_cast<int>(rate * 0.14);
    std::vector<Partial> p = string_partials(2, 30, 0.13, 0.85, 0.7, 0.18);
    // The buzzing bridge: a burst of high partials right at the pluck.
    for (int k = 7; k <= 30; k += 2) p.push_back({2 * k, 0.5 / k, 0.025});
    Noise noise{0x54A3};
    OnePole hp(2000, rate);
    std::vector<double> pick(200);
    for (int i = 0; i < 200; i++) pick[i] = 0.5 * hp.high(noise.next()) * std::exp(-i / 25.0);
    xm::Sample s = looped_sample("shamisen", rate, attack, 2 * period, p, pick, 0.9, 0x54A3);
    tune_pitched(s, rate, rate / period);
    s.Panning = 150;
    xm::Instrument ins = one_sample("shamisen", std::move(s));
    set_envelope(ins.VolumeEnvelope, {{0, 64}, {6, 40}, {20, 22}, {50, 10}, {90, 0}});
    ins.Fadeout = 2000;
    return ins;
}

xm::Instrument make_koto() {
    const double rate = 22050;
    const int period = 64, attack = static_cast<int>(rate * 0.2);
    std::vector<Partial> p = string_partials(2, 20, 0.21, 1.25, 1.4, 0.3);
    xm::Sample s = looped_sample("koto", rate, attack, 2 * period, p, {}, 0.9, 0x4070);
    tune_pitched(s, rate, rate / period);
    s.Panning = 105;
    xm::Instrument ins = one_sample("koto", std::move(s));
    set_envelope(ins.VolumeEnvelope, {{0, 64}, {10, 46}, {40, 28}, {100, 12}, {180, 0}});
    ins.Fadeout = 1200;
    return ins;
}

xm::Instrument make_bass() {
    const double rate = 22050;
    const int period = 256, attack = static_cast<int>(rate * 0.1);
    std::vector<Partial> p = string_partials(1, 14, 0.3, 1.4, 0.6, 0.35);
    p[0].Decay = 0; // the fundamental carries the sustain
    xm::Sample s = looped_sample("bass", rate, attack, period, p, {}, 0.95, 0xBA55);
    tune_pitched(s, rate, rate / period);
    xm::Instrument ins = one_sample("bass", std::move(s));
    set_envelope(ins.VolumeEnvelope, {{0, 64}, {10, 52}, {50, 38}, {160, 24}, {260, 0}});
    ins.Fadeout = 3000;
    return ins;
}

// ---- Winds ----

// Breath: noise as many weak partials spread around a centre, so it loops too.
void add_breath(std::vector<Partial>& p, Noise& noise, int loop_bins_from, int loop_bins_to,
                int every, double level) {
    for (int b = loop_bins_from; b < loop_bins_to; b += every)
        p.push_back({b + static_cast<int>((noise.next() + 1.0) * 0.5 * (every - 1)),
                     level * (0.5 + 0.5 * std::fabs(noise.next()))});
}

xm::Instrument make_shakuhachi() {
    const double rate = 22050;
    const int period = 64, periods = 64, loop = period * periods;
    const int attack = static_cast<int>(rate * 0.09);
    static const double Harmonics[] = {1.0, 0.32, 0.16, 0.07, 0.035, 0.015};
    std::vector<Partial> p;
    for (int k = 1; k <= 6; k++) p.push_back({k * periods, Harmonics[k - 1]});
    Noise noise{0x5A4C};
    // Breath from about 0.7 to 4 kHz, 1/loop-bin steps, kept well below the tone.
    add_breath(p, noise, 130, 740, 3, 0.012);
    BandPass chiff(1900, 0.8, rate);
    std::vector<double> air(attack);
    for (int i = 0; i < attack; i++) air[i] = 1.4 * chiff.run(noise.next()) * std::exp(-i / 500.0);
    xm::Sample s = looped_sample("shakuhachi", rate, attack, loop, p, air, 0.85, 0x5A4C);
    tune_pitched(s, rate, rate / period);
    xm::Instrument ins = one_sample("shakuhachi", std::move(s));
    set_envelope(ins.VolumeEnvelope, {{0, 8}, {3, 64}, {10, 52}, {40, 40}, {70, 0}}, 2);
    ins.Fadeout = 1100;
    ins.VibratoType = 0;
    ins.VibratoSweep = 48;
    ins.VibratoDepth = 5;
    ins.VibratoRate = 9;
    return ins;
}

xm::Instrument make_horagai() {
    const double rate = 22050;
    const int period = 128, periods = 32, loop = period * periods;
    std::vector<Partial> p;
    for (int k = 1; k <= 14; k++) {
        const double a = k <= 5 ? 1.0 / std::pow(k, 0.6) : 0.5 / (k * k / 25.0);
        p.push_back({k * periods, a});
    }
    Noise noise{0x40A6};
    add_breath(p, noise, 40, 400, 2, 0.02);
    xm::Sample s = looped_sample("horagai", rate, 0, loop, p, {}, 0.85, 0x40A6);
    tune_pitched(s, rate, rate / period);
    xm::Instrument ins = one_sample("horagai", std::move(s));
    set_envelope(ins.VolumeEnvelope, {{0, 0}, {12, 50}, {24, 64}, {60, 40}, {100, 0}}, 2);
    ins.Fadeout = 700;
    ins.VibratoType = 0;
    ins.VibratoSweep = 60;
    ins.VibratoDepth = 8;
    ins.VibratoRate = 6;
    return ins;
}

xm::Instrument make_sho() {
    const double rate = 22050;
    const int period = 128, periods = 64, loop = period * periods;
    std::vector<Partial> p;
    for (int k = 1; k <= 18; k++) {
        // Reedy, with a bump around 1.5-2.5 kHz.
        const double f = k * rate / period;
        double a = 1.0 / std::pow(k, 0.9) * (1.0 + 0.8 * std::exp(-std::pow((f - 2000) / 700, 2)));
        if (k == 1) {
            p.push_back({periods, a});
        } else {
            // Two slightly apart copies beat slowly, as the pipes of a mouth organ do.
            p.push_back({k * periods - 1, 0.55 * a});
            p.push_back({k * periods + 1, 0.45 * a});
        }
    }
    xm::Sample s = looped_sample("sho", rate, 0, loop, p, {}, 0.8, 0x5400);
    tune_pitched(s, rate, rate / period);
    xm::Instrument ins = one_sample("sho", std::move(s));
    set_envelope(ins.VolumeEnvelope, {{0, 24}, {8, 54}, {20, 60}, {90, 30}, {140, 0}}, 2);
    ins.Fadeout = 400;
    return ins;
}

} // namespace

std::vector<xm::Instrument> make_instruments() {
    std::vector<xm::Instrument> all;
    all.push_back(make_odaiko());
    all.push_back(make_nagado());
    all.push_back(make_shime());
    all.push_back(make_ka());
    all.push_back(make_hyoshigi());
    all.push_back(make_chappa());
    all.push_back(make_tebyoshi());
    all.push_back(make_kane());
    all.push_back(make_dora());
    all.push_back(make_shamisen());
    all.push_back(make_koto());
    all.push_back(make_shakuhachi());
    all.push_back(make_bass());
    all.push_back(make_sho());
    all.push_back(make_horagai());
    return all;
}

} // namespace bb::song
