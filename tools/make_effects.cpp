// make_effects DIR: synthesises the game's sound effects and writes them as
// GSM 6.10 WAVE files (format 49) DIR/effect1.wav ... effect6.wav. Effect 0
// is effect 2's file. Every file has the same layout: a 20-byte format
// chunk, a fact chunk, the data at offset 60 and a LIST chunk after it.
//
//   1 crack (a body breaks)       22,050 Hz   6,400 samples
//   2 thud (arena walls)          44,100 Hz   8,320 samples
//   3 heavy thud (feet)           44,100 Hz  12,800 samples
//   4 slap (the other boxes)      44,100 Hz   6,720 samples
//   5 grunt (a wrestler flinches) 11,025 Hz   8,960 samples
//   6 knock (thrown cubes)        44,100 Hz   8,000 samples
#include <gsm.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

namespace {

constexpr double Pi = 3.14159265358979323846;

// A fixed noise source, so every build makes the same bytes.
struct Noise {
    uint32_t State = 0x2545F491u;
    double next() {
        State ^= State << 13;
        State ^= State >> 17;
        State ^= State << 5;
        return State / 2147483648.0 - 1.0;
    }
};

// A two-pole resonator: noise or pulses in, a ringing band out.
struct Resonator {
    double A1 = 0, A2 = 0, Gain = 0, Y1 = 0, Y2 = 0;
    Resonator(double freq, double bandwidth, double rate) {
        const double r = std::exp(-Pi * bandwidth / rate);
        A1 = 2 * r * std::cos(2 * Pi * freq / rate);
        A2 = -r * r;
        Gain = 1 - r;
    }
    double run(double x) {
        const double y = Gain * x + A1 * Y1 + A2 * Y2;
        Y2 = Y1;
        Y1 = y;
        return y;
    }
};

using Sound = std::vector<double>;

// A body hitting something soft and heavy: a falling low sine under a short
// burst of muffled noise.
Sound thud(int rate, int n, double f0, double f1, double decay, double noise_level) {
    Sound s(n);
    Noise noise;
    Resonator body(f0 * 2.5, 300, rate);
    double phase = 0, low = 0;
    for (int i = 0; i < n; i++) {
        const double t = double(i) / rate;
        const double f = f1 + (f0 - f1) * std::exp(-t * 30);
        phase += 2 * Pi * f / rate;
        low += 0.08 * (noise.next() - low);
        const double attack = std::min(1.0, t * 400);
        s[i] = attack * std::exp(-t / decay) * std::sin(phase) +
               noise_level * std::exp(-t * 60) * (body.run(low) * 8 + low * 0.5);
    }
    return s;
}

Sound crack(int rate, int n) {
    Sound s(n);
    Noise noise;
    Resonator a(1800, 900, rate), b(4200, 1500, rate);
    for (int i = 0; i < n; i++) {
        const double t = double(i) / rate;
        // A sharp first break, then a few splinters.
        double env = std::exp(-t * 45);
        for (double at : {0.035, 0.07, 0.11})
            if (t > at) env += 0.5 * std::exp(-(t - at) * 90);
        const double x = noise.next();
        s[i] = env * (a.run(x) * 3 + b.run(x) * 2.5 + x * 0.35);
    }
    return s;
}

Sound slap(int rate, int n) {
    Sound s(n);
    Noise noise;
    Resonator skin(900, 700, rate), snap(2600, 1800, rate);
    for (int i = 0; i < n; i++) {
        const double t = double(i) / rate;
        const double x = noise.next();
        const double attack = std::min(1.0, t * 2000);
        s[i] = attack * std::exp(-t * 38) * (skin.run(x) * 3 + snap.run(x) * 2);
    }
    return s;
}

// A short voiced "hmph": glottal pulses at a falling pitch through two
// formants, breathy at the start.
Sound grunt(int rate, int n) {
    Sound s(n);
    Noise noise;
    Resonator f1(620, 120, rate), f2(1150, 160, rate), f3(2500, 250, rate);
    double phase = 0;
    for (int i = 0; i < n; i++) {
        const double t = double(i) / rate;
        const double pitch = 150 - 45 * t + 8 * std::sin(2 * Pi * 5 * t);
        phase += pitch / rate;
        double pulse = 0;
        if (phase >= 1) {
            phase -= 1;
            pulse = 1;
        }
        const double env = std::min(1.0, t * 25) * std::exp(-t * 3.5);
        const double x = pulse * 6 + noise.next() * 0.15 * std::exp(-t * 12);
        s[i] = env * (f1.run(x) * 1.2 + f2.run(x) * 0.8 + f3.run(x) * 0.3);
    }
    return s;
}

Sound knock(int rate, int n) {
    Sound s(n);
    Noise noise;
    for (int i = 0; i < n; i++) {
        const double t = double(i) / rate;
        const double wood = 0.7 * std::exp(-t * 40) * std::sin(2 * Pi * 420 * t) +
                            0.35 * std::exp(-t * 70) * std::sin(2 * Pi * 1130 * t) +
                            0.15 * std::exp(-t * 110) * std::sin(2 * Pi * 2410 * t);
        s[i] = wood + 0.4 * std::exp(-t * 400) * noise.next();
    }
    return s;
}

// Peak at 70% of full scale, with the last 5 ms faded so it ends in silence.
std::vector<int16_t> to_pcm(const Sound& s, int rate) {
    double peak = 1e-9;
    for (double x : s) peak = std::max(peak, std::abs(x));
    const int fade = rate / 200;
    std::vector<int16_t> pcm(s.size());
    for (size_t i = 0; i < s.size(); i++) {
        double x = s[i] / peak * 0.7 * 32767;
        const size_t left = s.size() - i;
        if (left < size_t(fade)) x *= double(left) / fade;
        pcm[i] = int16_t(std::lround(std::clamp(x, -32768.0, 32767.0)));
    }
    return pcm;
}

void put16(std::vector<uint8_t>& b, uint32_t v) {
    b.push_back(uint8_t(v));
    b.push_back(uint8_t(v >> 8));
}

void put32(std::vector<uint8_t>& b, uint32_t v) {
    put16(b, v & 0xFFFF);
    put16(b, v >> 16);
}

void put_tag(std::vector<uint8_t>& b, const char* tag) {
    for (int i = 0; i < 4; i++) b.push_back(uint8_t(tag[i]));
}

// Two GSM frames per 65-byte block: libgsm's WAV49 mode writes the first as
// 32 bytes and the second as 33.
std::vector<uint8_t> encode(const std::vector<int16_t>& pcm, int rate) {
    const uint32_t blocks = uint32_t(pcm.size() / 320);
    gsm g = gsm_create();
    int one = 1;
    gsm_option(g, GSM_OPT_WAV49, &one);
    std::vector<uint8_t> data(blocks * 65);
    for (uint32_t k = 0; k < blocks; k++) {
        gsm_signal frame[320];
        std::copy(pcm.begin() + k * 320, pcm.begin() + (k + 1) * 320, frame);
        gsm_encode(g, frame, data.data() + k * 65);
        gsm_encode(g, frame + 160, data.data() + k * 65 + 32);
    }
    gsm_destroy(g);

    static const char Software[] = "Brawlbox make_effects";
    std::vector<uint8_t> b;
    put_tag(b, "RIFF");
    put32(b, 0); // filled in below
    put_tag(b, "WAVE");
    put_tag(b, "fmt ");
    put32(b, 20);
    put16(b, 49); // GSM 6.10
    put16(b, 1);  // mono
    put32(b, uint32_t(rate));
    put32(b, uint32_t((uint64_t(rate) * 65 + 319) / 320)); // bytes per second
    put16(b, 65);                                          // block alignment
    put16(b, 0);                                           // bits per sample
    put16(b, 2);                                           // extra bytes
    put16(b, 320);                                         // samples per block
    put_tag(b, "fact");
    put32(b, 4);
    put32(b, uint32_t(pcm.size()));
    put_tag(b, "data");
    put32(b, uint32_t(data.size()));
    b.insert(b.end(), data.begin(), data.end());
    if (data.size() % 2) b.push_back(0); // chunks start on even offsets
    put_tag(b, "LIST");
    static_assert(sizeof Software % 2 == 0, "the text chunk needs no pad byte");
    put32(b, 4 + 8 + sizeof Software);
    put_tag(b, "INFO");
    put_tag(b, "ISFT");
    put32(b, sizeof Software);
    for (char c : Software) b.push_back(uint8_t(c));
    const uint32_t riff = uint32_t(b.size() - 8);
    for (int i = 0; i < 4; i++) b[4 + i] = uint8_t(riff >> (8 * i));
    return b;
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: make_effects DIR\n");
        return 2;
    }
    struct Effect {
        int Number, Rate;
        Sound Samples;
    };
    const Effect effects[] = {
        {1, 22050, crack(22050, 6400)},
        {2, 44100, thud(44100, 8320, 140, 70, 0.05, 0.6)},
        {3, 44100, thud(44100, 12800, 95, 45, 0.085, 0.45)},
        {4, 44100, slap(44100, 6720)},
        {5, 11025, grunt(11025, 8960)},
        {6, 44100, knock(44100, 8000)},
    };
    for (const Effect& e : effects) {
        const std::vector<uint8_t> file = encode(to_pcm(e.Samples, e.Rate), e.Rate);
        const std::string path =
            std::string(argv[1]) + "/effect" + std::to_string(e.Number) + ".wav";
        std::FILE* out = std::fopen(path.c_str(), "wb");
        if (!out || std::fwrite(file.data(), 1, file.size(), out) != file.size() ||
            std::fclose(out) != 0) {
            std::perror(path.c_str());
            return 1;
        }
    }
    return 0;
}
