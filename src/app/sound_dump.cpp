#include "app/sound_dump.h"

#include "audio/effect_files.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <system_error>

namespace bb {

bool dump_sounds(const std::string& dir, std::string& error) {
    namespace fs = std::filesystem;
    std::error_code ec;
    fs::create_directories(dir, ec);
    if (ec || !fs::is_directory(dir, ec)) {
        error = "cannot write sounds to '" + dir +
                "': " + (ec ? ec.message() : std::string("not a directory"));
        return false;
    }
    for (int e = 0; e < 7; e++) {
        const std::string path = (fs::path(dir) / ("effect" + std::to_string(e) + ".wav")).string();
        std::FILE* f = std::fopen(path.c_str(), "wb");
        bool ok = f && std::fwrite(EffectFiles[e].Bytes, 1, EffectFiles[e].Size, f) ==
                           EffectFiles[e].Size;
        const int err = errno;
        if (f && std::fclose(f) != 0) ok = false;
        if (!ok) {
            error = "cannot write '" + path + "': " + std::strerror(err ? err : EIO);
            return false;
        }
    }
    return true;
}

} // namespace bb
