// Arbitrary command lines for the exporter's option parser: NUL-separated strings.
// Parsing must not crash, and whatever it accepts must be usable as it stands. Each string
// shown in a message leaves no control character, and shown again stays as it is.
#include "convert/msx_screen.h"
#include "export/options.h"
#include "export/printable.h"

#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::vector<std::string> args;
    std::string current;
    for (std::size_t i = 0; i < size; ++i) {
        if (data[i] == 0) {
            args.push_back(current);
            current.clear();
        } else {
            current.push_back(static_cast<char>(data[i]));
        }
    }
    if (!current.empty()) {
        args.push_back(current);
    }
    for (const std::string& arg : args) {
        const std::string shown = tessarin::exporter::printable(arg);
        for (const char c : shown) {
            if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F) {
                std::abort();
            }
        }
        if (shown.find("\xC2\x9B") != std::string::npos ||
            tessarin::exporter::printable(shown) != shown) {
            std::abort();
        }
    }
    const auto parsed = tessarin::exporter::parseOptions(args);
    if (const auto* command = std::get_if<tessarin::exporter::Command>(&parsed)) {
        const tessarin::exporter::ExportOptions& o = command->options;
        if (command->action == tessarin::exporter::Action::run) {
            // A runnable command names one output (a file, a folder or a catalogue) and
            // knows its format.
            const int outputs =
                int(!o.output.empty()) + int(!o.outDir.empty()) + int(!o.catalogueDir.empty());
            if (outputs != 1 || !o.format) {
                std::abort();
            }
            // --lines is taken only for a screen file whose frame can have them.
            if (o.lines) {
                const auto screen = tessarin::msxScreenOf(*o.format);
                if (!screen || !tessarin::takesLines(*screen, *o.lines)) {
                    std::abort();
                }
            }
        }
    }
    return 0;
}
