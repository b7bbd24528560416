#include "app/output_dir.h"

#include <filesystem>
#include <system_error>

namespace bb {

bool make_output_dir(const std::string& dir, const char* what, std::string& error) {
    namespace fs = std::filesystem;
    std::error_code ec;
    fs::create_directories(dir, ec);
    if (ec || !fs::is_directory(dir, ec)) {
        error = std::string("cannot write ") + what + " to '" + dir +
                "': " + (ec ? ec.message() : std::string("not a directory"));
        return false;
    }
    return true;
}

} // namespace bb
