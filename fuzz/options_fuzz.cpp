// libFuzzer target: the bytes split at NUL bytes are the arguments after the
// program's name; a command line that parses is applied to the settings.
#include "app/options.h"
#include "app/tokens.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

using namespace bb;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::vector<std::string> words(1, "brawlbox");
    words.emplace_back();
    for (size_t i = 0; i < size; i++) {
        if (data[i] == 0)
            words.emplace_back();
        else
            words.back() += static_cast<char>(data[i]);
    }
    std::vector<const char*> argv;
    for (const std::string& w : words) argv.push_back(w.c_str());
    Options options;
    std::string error;
    switch (parse_command_line(static_cast<int>(argv.size()), argv.data(), options, error)) {
    case ParseOk:
        apply_options_to_settings(options);
        break;
    case ParseError:
        // One short line: a bad token is quoted at most QuotedTokenLimit
        // bytes, escaped to at most four characters each.
        if (error.empty() || error.find('\n') != std::string::npos ||
            error.size() > 200 + 4 * QuotedTokenLimit)
            __builtin_trap();
        break;
    case ParseHelp:
        break;
    }
    return 0;
}
