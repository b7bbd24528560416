// write_seeds KIND DIRECTORY: starting inputs for a fuzzer, one file each.
// KIND is modules (the tests' small modules), options (command lines, the
// arguments separated by NUL bytes) or textures (the game's texture
// programs, cut into runs of commands in the texture fuzzer's form).
#include "texgen/generators.h"
#include "texgen/interpreter.h"
#include "texgen/texture_programs.h"
#include "xm_fixtures.h"

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>
#include <string_view>
#include <vector>

static bool write_file(const std::string& path, const std::vector<uint8_t>& bytes) {
    std::FILE* f = std::fopen(path.c_str(), "wb");
    if (!f || std::fwrite(bytes.data(), 1, bytes.size(), f) != bytes.size() ||
        std::fclose(f) != 0) {
        std::perror(path.c_str());
        return false;
    }
    return true;
}

static bool write_modules(const std::string& dir) {
    for (const auto& [name, bytes] : bb::fixtures::seed_modules())
        if (!write_file(dir + "/" + name + ".xm", bytes)) return false;
    return true;
}

static bool write_options(const std::string& dir) {
    using namespace std::literals;
    static const std::string_view Lines[] = {
        "--headless\0--ticks\0001000"sv,
        "_\0--scene\0bout\0--two-players\0--input\0walk.txt\0--trace\0t.jsonl"sv,
        "--render-music\0m.wav\0--position\0006\0--seconds\0002.5"sv,
        "--dump-textures\0out"sv,
        "--lights\00012\0--no-shadows\0--fullscreen\0--stats\0--screenshot\000400:a.png"sv,
        "--scene\0demo\0--ticks\0005\0--help"sv,
    };
    int file = 0;
    for (std::string_view line : Lines)
        if (!write_file(dir + "/line" + std::to_string(file++), {line.begin(), line.end()}))
            return false;
    return true;
}

// Three commands at a time, led by their count, as texgen_fuzz takes them.
static bool write_textures(const std::string& dir) {
    int file = 0;
    for (int slot = 0; bb::TextureList[slot]; slot++) {
        const bb::TextureProgram& p = *bb::TextureList[slot];
        uint32_t at = bb::TextureHeaderSize;
        while (at < p.Size) {
            std::vector<uint8_t> seed(1, 0);
            for (; seed[0] < 3 && at < p.Size; seed[0]++) {
                uint32_t n = static_cast<uint32_t>(bb::texture_command_size(p.Bytes[at]));
                if (n > p.Size - at) n = p.Size - at;
                seed.insert(seed.end(), p.Bytes + at, p.Bytes + at + n);
                at += n;
            }
            if (!write_file(dir + "/program" + std::to_string(file++), seed)) return false;
        }
    }
    return true;
}

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: write_seeds modules|options|textures DIRECTORY\n");
        return 2;
    }
    std::string kind = argv[1], dir = argv[2];
    bool ok = kind == "modules"    ? write_modules(dir)
              : kind == "options"  ? write_options(dir)
              : kind == "textures" ? write_textures(dir)
                                   : false;
    return ok ? 0 : 1;
}
