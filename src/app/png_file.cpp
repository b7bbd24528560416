#include "app/png_file.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <png.h>
#include <system_error>

namespace bb {

bool write_png_rgba(const char* path, int width, int height, const uint8_t* rgba,
                    std::string& error) {
    if (!path || !rgba || width <= 0 || height <= 0) {
        error = std::string("cannot write '") + (path ? path : "") + "': no image to write";
        return false;
    }
    std::FILE* file = std::fopen(path, "wb");
    if (!file) {
        error = std::string("cannot write '") + path + "': " + std::strerror(errno);
        return false;
    }
    png_image image;
    std::memset(&image, 0, sizeof image);
    image.version = PNG_IMAGE_VERSION;
    image.width = static_cast<png_uint_32>(width);
    image.height = static_cast<png_uint_32>(height);
    image.format = PNG_FORMAT_RGBA;
    bool written = png_image_write_to_stdio(&image, file, 0, rgba, 0, nullptr) != 0;
    std::string why = written ? "" : image.message;
    png_image_free(&image);
    // Buffered data only reaches the disk (or fails to) at the close.
    if (std::fflush(file) != 0 && written) {
        written = false;
        why = std::strerror(errno);
    }
    if (std::fclose(file) != 0 && written) {
        written = false;
        why = std::strerror(errno);
    }
    if (!written) {
        // The partial file goes; a device such as /dev/full stays.
        std::error_code ec;
        if (std::filesystem::is_regular_file(path, ec)) std::filesystem::remove(path, ec);
        error = std::string("cannot write '") + path + "': " + why;
    }
    return written;
}

} // namespace bb
