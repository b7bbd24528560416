// audio_check OUT.raw [MUSIC.wav]: measures what a run wrote through SDL's
// disk audio driver (44,100 Hz 16-bit stereo, no header) and prints one line
// of JSON. With MUSIC.wav (the song rendered by --render-music from the
// same position) it lines the two up at their first sound and counts the
// 50 ms windows in which something else - the effects - is heard on top.
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <vector>

static std::vector<int16_t> read_samples(const char* path, long skip) {
    std::vector<int16_t> s;
    std::FILE* f = std::fopen(path, "rb");
    if (!f) {
        std::perror(path);
        std::exit(2);
    }
    std::fseek(f, skip, SEEK_SET);
    unsigned char b[2];
    while (std::fread(b, 1, 2, f) == 2) s.push_back(int16_t(b[0] | b[1] << 8));
    std::fclose(f);
    return s;
}

static size_t first_sound(const std::vector<int16_t>& s) {
    for (size_t i = 0; i < s.size(); i++)
        if (s[i] != 0) return i & ~size_t(1);
    return s.size();
}

int main(int argc, char** argv) {
    if (argc < 2 || argc > 3) {
        std::fprintf(stderr, "usage: audio_check OUT.raw [MUSIC.wav]\n");
        return 2;
    }
    const std::vector<int16_t> out = read_samples(argv[1], 0);
    const size_t window = 2 * 44100 / 20; // 50 ms of stereo samples
    double sum = 0;
    int peak = 0;
    size_t clip_run = 0, longest_clip = 0, silent = 0, windows = 0;
    for (size_t i = 0; i < out.size(); i++) {
        const int x = std::abs(int(out[i]));
        sum += double(x) * x;
        peak = x > peak ? x : peak;
        clip_run = x >= 32767 ? clip_run + 1 : 0;
        longest_clip = clip_run > longest_clip ? clip_run : longest_clip;
    }
    for (size_t w = 0; w + window <= out.size(); w += window, windows++) {
        double e = 0;
        for (size_t i = w; i < w + window; i++) e += double(out[i]) * out[i];
        silent += std::sqrt(e / window) < 30;
    }
    const double seconds = out.size() / 2 / 44100.0;
    std::printf("{\"seconds\":%.3f,\"rms\":%.1f,\"peak\":%d,\"longest_clip_ms\":%.2f,"
                "\"silent_windows\":%zu,\"windows\":%zu,\"first_sound_s\":%.3f",
                seconds, out.empty() ? 0.0 : std::sqrt(sum / out.size()), peak,
                longest_clip / 2 / 44.1, silent, windows, first_sound(out) / 2 / 44100.0);
    if (argc == 3) {
        const std::vector<int16_t> music = read_samples(argv[2], 44);
        const size_t a = first_sound(out), b = first_sound(music);
        size_t heard = 0, compared = 0;
        for (size_t w = 0; a + w + window <= out.size() && b + w + window <= music.size();
             w += window, compared++) {
            double e = 0;
            for (size_t i = 0; i < window; i++) {
                const double d = double(out[a + w + i]) - music[b + w + i];
                e += d * d;
            }
            heard += std::sqrt(e / window) > 300;
        }
        std::printf(",\"effect_windows\":%zu,\"compared_windows\":%zu", heard, compared);
    }
    std::printf("}\n");
    return 0;
}
