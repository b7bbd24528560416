// write_seeds DIRECTORY: the tests' small modules, one file each.
#include "xm_fixtures.h"

#include <cstdio>
#include <string>

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: write_seeds DIRECTORY\n");
        return 2;
    }
    for (const auto& [name, bytes] : bb::fixtures::seed_modules()) {
        const std::string path = std::string(argv[1]) + "/" + name + ".xm";
        std::FILE* f = std::fopen(path.c_str(), "wb");
        if (!f || std::fwrite(bytes.data(), 1, bytes.size(), f) != bytes.size() ||
            std::fclose(f) != 0) {
            std::perror(path.c_str());
            return 1;
        }
    }
    return 0;
}
