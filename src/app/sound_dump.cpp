#include "app/sound_dump.h"

#include "app/output_dir.h"

#include "audio/effect_files.h"
#include "audio/sound_effects.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>

namespace bb {

bool dump_sounds(const std::string& dir, std::string& error) {
    if (!make_output_dir(dir, "sounds", error)) return false;
    namespace fs = std::filesystem;
    for (int e = 0; e < EffectCount; e++) {
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
