#include "export/exporter.h"

#include "export/batch_plan.h"
#include "export/picture_job.h"
#include "export/progress_bar.h"
#include "platform/file_error.h"

#include <array>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <system_error>

namespace tessarin::exporter {

namespace {

constexpr const char* kProgram = "tessarin-export: ";
constexpr unsigned char kFirstPrintable = 0x20;
constexpr unsigned char kDelete = 0x7F;
constexpr unsigned char kUtf8C1Lead = 0xC2; // U+0080..U+009F are 0xC2 0x80..0x9F
constexpr unsigned char kC1First = 0x80;
constexpr unsigned char kC1Last = 0x9F;

void appendHex(std::string& out, unsigned char c) {
    constexpr std::array<char, 16> kDigits{'0', '1', '2', '3', '4', '5', '6', '7',
                                           '8', '9', 'a', 'b', 'c', 'd', 'e', 'f'};
    out += "\\x";
    out += kDigits[c >> 4];
    out += kDigits[c & 0xF];
}

std::string escapedControl(unsigned char c) {
    switch (c) {
    case '\a': return "\\a";
    case '\b': return "\\b";
    case '\t': return "\\t";
    case '\n': return "\\n";
    case '\v': return "\\v";
    case '\f': return "\\f";
    case '\r': return "\\r";
    case 0x1B: return "\\e";
    default: {
        std::string hex;
        appendHex(hex, c);
        return hex;
    }
    }
}

// The line of the listing for one written output; false once standard output failed.
bool list(std::ostream& out, std::ostream& err, const std::string& output) {
    return writeChecked(out, err, printable(output) + '\n');
}

// OUTDIR and its parents, made when missing; false after one message saying why not.
bool makeOutDir(const std::string& outDir, std::ostream& err) {
    std::error_code error;
    std::filesystem::create_directories(outDir, error);
    if (!error && std::filesystem::is_directory(outDir, error)) {
        return true;
    }
    err << kProgram << "Cannot create output directory \"" << printable(outDir) << "\": "
        << (error ? error.message() : std::string("it is not a directory")) << '\n';
    return false;
}

int runSingle(const ExportOptions& options, std::ostream& out, std::ostream& err) {
    try {
        exportPicture(jobFor(options, options.screenFile, options.paletteFile), options.output,
                      *options.format, Overwrite::replace);
    } catch (const FileError& e) {
        err << kProgram << printable(e.what()) << '\n';
        return kExitFileError;
    }
    if (!options.quiet && !list(out, err, options.output)) {
        return kExitFileError;
    }
    return kExitSuccess;
}

int runBatch(const ExportOptions& options, std::ostream& out, std::ostream& err, bool progress) {
    auto planned = planBatch(options);
    if (const auto* usage = std::get_if<UsageError>(&planned)) {
        err << kProgram << printable(usage->message) << '\n';
        return kExitUsage;
    }
    const BatchPlan& plan = std::get<BatchPlan>(planned);
    if (!makeOutDir(options.outDir, err)) {
        return kExitFileError;
    }
    if (!options.quiet) {
        for (const std::string& palette : plan.unusedPalettes) {
            err << kProgram << "note: palette file \"" << printable(palette)
                << "\" has no screen file of the same base name\n";
        }
    }
    ProgressBar bar(err, progress && !options.quiet, plan.items.size());
    std::size_t failed = 0;
    bool listing = !options.quiet;
    for (std::size_t i = 0; i < plan.items.size(); ++i) {
        const BatchItem& item = plan.items[i];
        bar.show(i, item.job.screenFile);
        try {
            exportPicture(item.job, item.output, *options.format, Overwrite::refuse);
            if (listing) {
                bar.clear();
                // The rest is still converted; the exit status tells of the lost listing.
                listing = list(out, err, item.output);
            }
        } catch (const FileError& e) {
            bar.clear();
            err << kProgram << printable(item.job.screenFile) << ": " << printable(e.what())
                << '\n';
            ++failed;
        }
    }
    bar.finish();
    if (failed > 0) {
        err << kProgram << failed << " of " << plan.items.size() << " files failed\n";
        return kExitFileError;
    }
    return listing || options.quiet ? kExitSuccess : kExitFileError;
}

} // namespace

std::string printable(std::string_view text) {
    std::string result;
    result.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        const auto c = static_cast<unsigned char>(text[i]);
        if (c < kFirstPrintable || c == kDelete) {
            result += escapedControl(c);
        } else if (c == kUtf8C1Lead && i + 1 < text.size() &&
                   static_cast<unsigned char>(text[i + 1]) >= kC1First &&
                   static_cast<unsigned char>(text[i + 1]) <= kC1Last) {
            appendHex(result, c);
            appendHex(result, static_cast<unsigned char>(text[++i]));
        } else {
            result += static_cast<char>(c);
        }
    }
    return result;
}

bool writeChecked(std::ostream& out, std::ostream& err, std::string_view text) {
    if (!out) {
        return false;
    }
    errno = 0;
    out << text << std::flush;
    if (out) {
        return true;
    }
    const int error = errno;
    err << kProgram << "Cannot write to standard output"
        << (error != 0 ? std::string(": ") + std::strerror(error) : std::string()) << '\n';
    return false;
}

int runExport(const ExportOptions& options, std::ostream& out, std::ostream& err, bool progress) {
    return options.batch() ? runBatch(options, out, err, progress) : runSingle(options, out, err);
}

} // namespace tessarin::exporter
