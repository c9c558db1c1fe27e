// tessarin-export: the viewer's picture of MSX screen files, written as BMP or PNG.
#include "export/conversion_gate.h"
#include "export/exporter.h"
#include "export/options.h"
#include "platform/name_locale.h"
#include "platform/target_file.h"

#include <csignal>
#include <exception>
#include <iostream>
#include <malloc.h>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

constexpr int kSignalExitBase = 128; // the shell's status for a process a signal ended
// Above the largest buffer of one picture (512x424 pixels of 3 bytes, rendered and encoded).
constexpr int kHeapBufferLimit = 4 << 20;
constexpr int kKeptFreeHeap = 16 << 20;

void removeScratchAndExit(int signal) {
    tessarin::exporter::closeAndDrainConversions();
    tessarin::removeScratchFilesInProgress();
    ::_exit(kSignalExitBase + signal);
}

// A terminating signal removes the scratch file of the output being written. A write
// past the file size limit fails (EFBIG) and is reported naming the output, and a write to
// a closed pipe (EPIPE: "| head") ends the batch cleanly, instead of the signal ending the
// process without a word and with scratch files left.
// In a batch the workers block these signals, so the handler runs on the main thread
// and waits for the files being converted.
void handleSignals() {
    struct sigaction action {};
    action.sa_handler = removeScratchAndExit;
    sigemptyset(&action.sa_mask);
    for (const int signal : tessarin::exporter::kTerminationSignals) {
        sigaddset(&action.sa_mask, signal);
    }
    for (const int signal : tessarin::exporter::kTerminationSignals) {
        ::sigaction(signal, &action, nullptr);
    }
    std::signal(SIGXFSZ, SIG_IGN);
    std::signal(SIGPIPE, SIG_IGN);
}

// Every file of a batch allocates and frees the same large buffers (VRAM, the picture, the
// encoded file). Kept in the heap when freed, they are reused as they are, instead of going
// back to the kernel and being faulted in page by page for the next file.
void keepFreedBuffers() {
    ::mallopt(M_MMAP_THRESHOLD, kHeapBufferLimit);
    ::mallopt(M_TRIM_THRESHOLD, kKeptFreeHeap);
}

} // namespace

int main(int argc, char** argv) {
    using namespace tessarin::exporter;
    keepFreedBuffers();
    tessarin::useUtf8Names();
    handleSignals();
    const std::vector<std::string> args(argv + 1, argv + argc);
    const auto parsed = parseOptions(args);
    if (const auto* usage = std::get_if<UsageError>(&parsed)) {
        std::cerr << "tessarin-export: " << printable(usage->message)
                  << "\nTry 'tessarin-export --help' for more information.\n";
        return kExitUsage;
    }
    const Command& command = std::get<Command>(parsed);
    switch (command.action) {
    case Action::help:
        return writeChecked(std::cout, std::cerr, usageText()) ? kExitSuccess : kExitFileError;
    case Action::version:
        return writeChecked(std::cout, std::cerr, "tessarin-export " TESSARIN_VERSION "\n")
                   ? kExitSuccess
                   : kExitFileError;
    case Action::run:
        break;
    }
    try {
        return runExport(command.options, std::cout, std::cerr, ::isatty(STDERR_FILENO) == 1);
    } catch (const std::exception& e) {
        std::cerr << "tessarin-export: " << printable(e.what()) << '\n';
        return kExitFileError;
    }
}
