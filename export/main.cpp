// tessarin-export: the viewer's picture of MSX screen files, written as BMP or PNG.
#include "export/exporter.h"
#include "export/options.h"

#include <exception>
#include <iostream>
#include <string>
#include <unistd.h>
#include <vector>

int main(int argc, char** argv) {
    using namespace tessarin::exporter;
    const std::vector<std::string> args(argv + 1, argv + argc);
    const auto parsed = parseOptions(args);
    if (const auto* usage = std::get_if<UsageError>(&parsed)) {
        std::cerr << "tessarin-export: " << usage->message
                  << "\nTry 'tessarin-export --help' for more information.\n";
        return kExitUsage;
    }
    const Command& command = std::get<Command>(parsed);
    switch (command.action) {
    case Action::help:
        std::cout << usageText();
        return kExitSuccess;
    case Action::version:
        std::cout << "tessarin-export " TESSARIN_VERSION "\n";
        return kExitSuccess;
    case Action::run:
        break;
    }
    try {
        return runExport(command.options, std::cout, std::cerr, ::isatty(STDERR_FILENO) == 1);
    } catch (const std::exception& e) {
        std::cerr << "tessarin-export: " << e.what() << '\n';
        return kExitFileError;
    }
}
