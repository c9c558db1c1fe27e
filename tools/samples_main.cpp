// tessarin-samples OUTDIR: writes the sample screen and palette files into OUTDIR.
#include "tools/sample_pictures.h"

#include <cerrno>
#include <cstring>
#include <fstream>
#include <iostream>
#include <string>

namespace {
constexpr int kExitFailure = 1;
constexpr int kExitUsage = 2;
} // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::cerr << "usage: tessarin-samples OUTDIR\n";
        return kExitUsage;
    }
    const std::string outDir = argv[1];
    for (const auto& file : tessarin::samples::makeSamples()) {
        const std::string path = outDir + "/" + file.name;
        std::ofstream out(path, std::ios::binary | std::ios::trunc);
        if (out) {
            out.write(reinterpret_cast<const char*>(file.bytes.data()),
                      static_cast<std::streamsize>(file.bytes.size()));
            out.close();
        }
        if (!out) {
            std::cerr << "tessarin-samples: cannot write \"" << path
                      << "\": " << std::strerror(errno) << '\n';
            return kExitFailure;
        }
    }
    return 0;
}
