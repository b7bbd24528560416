#include "audio/wav_file.h"

#include <cerrno>
#include <cstring>

namespace bb {

namespace {

constexpr uint32_t HeaderBytes = 44;
// The RIFF size fields are 32-bit.
constexpr uint32_t MaxDataBytes = 0xFFFFFFFFu - HeaderBytes;

void put_u16(uint8_t* p, uint32_t v) {
    p[0] = static_cast<uint8_t>(v);
    p[1] = static_cast<uint8_t>(v >> 8);
}

void put_u32(uint8_t* p, uint32_t v) {
    put_u16(p, v & 0xFFFF);
    put_u16(p + 2, v >> 16);
}

void make_header(uint8_t* h, int rate, uint32_t data_bytes) {
    std::memcpy(h, "RIFF", 4);
    put_u32(h + 4, 36 + data_bytes);
    std::memcpy(h + 8, "WAVEfmt ", 8);
    put_u32(h + 16, 16);
    put_u16(h + 20, 1); // PCM
    put_u16(h + 22, 2); // stereo
    put_u32(h + 24, static_cast<uint32_t>(rate));
    put_u32(h + 28, static_cast<uint32_t>(rate) * 4);
    put_u16(h + 32, 4);
    put_u16(h + 34, 16);
    std::memcpy(h + 36, "data", 4);
    put_u32(h + 40, data_bytes);
}

std::string describe(const std::string& path, const char* what, int err) {
    return "cannot " + std::string(what) + " '" + path + "': " + std::strerror(err);
}

} // namespace

bool wav_open(WavFile& wav, const char* path, int rate, std::string& error) {
    wav = {};
    wav.Path = path;
    wav.Rate = rate;
    wav.File = std::fopen(path, "wb");
    if (!wav.File) {
        error = describe(wav.Path, "write", errno);
        return false;
    }
    uint8_t header[HeaderBytes];
    make_header(header, rate, 0);
    if (std::fwrite(header, 1, HeaderBytes, wav.File) != HeaderBytes)
        wav.Error = errno ? errno : EIO;
    return true;
}

void wav_write(WavFile& wav, const int16_t* frames, uint32_t frame_count) {
    if (wav.Error) return;
    if ((uint64_t(wav.Frames) + frame_count) * 4 > MaxDataBytes) {
        wav.Error = EFBIG;
        return;
    }
    uint8_t buffer[4096];
    uint32_t done = 0;
    while (done < frame_count) {
        uint32_t n = frame_count - done;
        if (n > sizeof buffer / 4) n = sizeof buffer / 4;
        for (uint32_t i = 0; i < 2 * n; i++)
            put_u16(buffer + 2 * i, static_cast<uint16_t>(frames[2 * done + i]));
        if (std::fwrite(buffer, 4, n, wav.File) != n) {
            wav.Error = errno ? errno : EIO;
            return;
        }
        done += n;
    }
    wav.Frames += frame_count;
}

bool wav_close(WavFile& wav, std::string& error) {
    if (!wav.File) return false;
    int err = wav.Error;
    if (!err) {
        uint8_t header[HeaderBytes];
        make_header(header, wav.Rate, wav.Frames * 4);
        if (std::fseek(wav.File, 0, SEEK_SET) != 0 ||
            std::fwrite(header, 1, HeaderBytes, wav.File) != HeaderBytes)
            err = errno ? errno : EIO;
    }
    if (std::fclose(wav.File) != 0 && !err) err = errno ? errno : EIO;
    wav.File = nullptr;
    if (err) {
        error = describe(wav.Path, "write", err);
        return false;
    }
    return true;
}

} // namespace bb
