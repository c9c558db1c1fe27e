#include "export/options.h"

#include "document/file_name_rule.h"
#include "vdp/screen_modes.h"

#include <algorithm>
#include <charconv>
#include <string_view>

namespace tessarin::exporter {

namespace {

constexpr std::int16_t kMaxHeaderSize = 32767;
constexpr std::int16_t kMinLinePixels = 1;
constexpr std::int16_t kMaxLinePixels = kMaxLineWidth;
constexpr ScreenMode kDefaultScreenMode = 7;
constexpr int kMaxScreenNumber = 99; // bounds the parse; no screen has three digits
constexpr int kMaxThumbnailSize = 4096;
constexpr int kMaxJobs = 256;

struct Failure {
    std::string message;
};

// Appended piece by piece: GCC 12 at -O3 takes "\"" + std::string(s) for an
// overlapping copy and warns (-Wrestrict).
std::string quoted(std::string_view s) {
    constexpr char kQuote = '"';
    std::string text;
    text.reserve(s.size() + 2);
    text.push_back(kQuote);
    text.append(s);
    text.push_back(kQuote);
    return text;
}

// Decimal digits only, no sign, no spaces; within [low, high].
std::optional<int> parseNumber(std::string_view text, int low, int high) {
    int value = 0;
    const char* end = text.data() + text.size();
    const auto [ptr, ec] = std::from_chars(text.data(), end, value);
    if (text.empty() || text.front() == '-' || text.front() == '+' || ec != std::errc{} ||
        ptr != end || value < low || value > high) {
        return std::nullopt;
    }
    return value;
}

// A mode of the VDP's table, or screen 11, which is screen 10 to the VDP.
std::optional<ScreenMode> parseScreen(std::string_view text) {
    constexpr ScreenMode kScreen10 = 10;
    constexpr ScreenMode kScreen11 = 11;
    const auto n = parseNumber(text, 0, kMaxScreenNumber);
    if (!n) {
        return std::nullopt;
    }
    const ScreenMode mode = *n == kScreen11 ? kScreen10 : static_cast<ScreenMode>(*n);
    if (findScreenMode(mode) == nullptr) {
        return std::nullopt;
    }
    return mode;
}

template <typename T, std::size_t N>
std::optional<T> lookUp(std::string_view text,
                        const std::array<std::pair<std::string_view, T>, N>& table) {
    for (const auto& [name, value] : table) {
        if (name == text) {
            return value;
        }
    }
    return std::nullopt;
}

constexpr std::array<std::pair<std::string_view, ViewSize>, 4> kSizes{{
    {"256x212", ViewSize::plain256x212},
    {"512x424mag", ViewSize::magnify512x424},
    {"512x424int", ViewSize::interlace512x424},
    {"256x424joi", ViewSize::joint256x424},
}};
constexpr std::array<std::pair<std::string_view, PaletteSource>, 4> kSources{{
    {"auto", PaletteSource::automatic},
    {"file", PaletteSource::file},
    {"vram", PaletteSource::vram},
    {"standard", PaletteSource::standard},
}};
constexpr std::array<std::pair<std::string_view, ImageFormat>, 2> kFormats{{
    {"bmp", ImageFormat::bmp},
    {"png", ImageFormat::png},
}};

Failure badValue(std::string_view option, std::string_view value, std::string_view expected) {
    return {"invalid value " + quoted(value) + " for " + std::string(option) + ": expected " +
            std::string(expected)};
}

// Walks the arguments; options and FILEs may be mixed, "--" ends the options.
class Parser {
public:
    explicit Parser(std::span<const std::string> args) : args_(args) {}

    std::variant<Command, Failure> run() {
        bool optionsEnded = false;
        while (pos_ < args_.size()) {
            const std::string& arg = args_[pos_++];
            if (optionsEnded || arg == "-" || arg.empty() || arg.front() != '-') {
                command_.options.files.push_back(arg);
                continue;
            }
            if (arg == "--") {
                optionsEnded = true;
                continue;
            }
            if (auto failure = option(arg)) {
                return *failure;
            }
            if (command_.action != Action::run) {
                return command_;
            }
        }
        if (auto failure = finish()) {
            return *failure;
        }
        return command_;
    }

private:
    // Splits "--name=value"; short options take their value attached or next.
    std::optional<Failure> option(const std::string& arg) {
        std::string name = arg;
        std::optional<std::string> inlineValue;
        if (arg.starts_with("--")) {
            if (const auto eq = arg.find('='); eq != std::string::npos) {
                name = arg.substr(0, eq);
                inlineValue = arg.substr(eq + 1);
            }
        } else if (arg.size() > 2) {
            name = arg.substr(0, 2);
            inlineValue = arg.substr(2);
        }
        ExportOptions& o = command_.options;

        const auto flag = [&](auto apply) -> std::optional<Failure> {
            if (inlineValue) {
                return Failure{"option " + name + " takes no value"};
            }
            apply();
            return std::nullopt;
        };
        if (name == "--help" || name == "-h") {
            return flag([&] { command_.action = Action::help; });
        }
        if (name == "--version") {
            return flag([&] { command_.action = Action::version; });
        }
        if (name == "--rotate") {
            return flag([&] { o.rotate = true; });
        }
        if (name == "-q" || name == "--quiet") {
            return flag([&] { o.quiet = true; });
        }

        static constexpr std::array<std::string_view, 15> kValued{
            "-o",          "--output",  "-d",        "--outdir",      "--screen",         "--vram1",
            "--palette",   "--header0", "--header1", "--line-pixels", "--palette-source", "--size",
            "--thumbnail", "-j",        "--jobs"};
        const bool formatOption = name == "--format";
        if (!formatOption && std::find(kValued.begin(), kValued.end(), name) == kValued.end()) {
            return Failure{"unknown option " + quoted(arg)};
        }
        std::string value;
        if (inlineValue) {
            value = *inlineValue;
        } else if (pos_ < args_.size()) {
            value = args_[pos_++];
        } else {
            return Failure{"option " + name + " needs a value"};
        }
        return valued(name, value);
    }

    std::optional<Failure> valued(const std::string& name, const std::string& value) {
        ExportOptions& o = command_.options;
        if (value.empty()) {
            return Failure{"option " + name + " needs a value"};
        }
        if (name == "-o" || name == "--output") {
            o.output = value;
        } else if (name == "-d" || name == "--outdir") {
            o.outDir = value;
        } else if (name == "--vram1") {
            o.vram1File = value;
        } else if (name == "--palette") {
            paletteOption_ = value;
        } else if (name == "--screen") {
            o.screenMode = parseScreen(value);
            if (!o.screenMode) {
                return badValue(name, value, "5, 6, 7, 8, 10, 11 or 12");
            }
        } else if (name == "--header0" || name == "--header1") {
            const auto n = parseNumber(value, 0, kMaxHeaderSize);
            if (!n) {
                return badValue(name, value, "a number from 0 to 32767");
            }
            o.headerSize[indexOf(name == "--header0" ? FileSlot::vram0 : FileSlot::vram1)] =
                static_cast<std::int16_t>(*n);
        } else if (name == "--thumbnail") {
            const auto n = parseNumber(value, 1, kMaxThumbnailSize);
            if (!n) {
                return badValue(name, value, "a number from 1 to 4096");
            }
            o.thumbnailSize = static_cast<std::int16_t>(*n);
        } else if (name == "-j" || name == "--jobs") {
            const auto n = parseNumber(value, 1, kMaxJobs);
            if (!n) {
                return badValue(name, value, "a number from 1 to 256");
            }
            o.jobs = static_cast<std::int16_t>(*n);
        } else if (name == "--line-pixels") {
            const auto n = parseNumber(value, kMinLinePixels, kMaxLinePixels);
            if (!n) {
                return badValue(name, value, "a number from 1 to 512");
            }
            o.linePixels = static_cast<std::int16_t>(*n);
        } else if (name == "--palette-source") {
            o.paletteSource = lookUp(value, kSources);
            if (!o.paletteSource) {
                return badValue(name, value, "auto, file, vram or standard");
            }
        } else if (name == "--size") {
            const auto size = lookUp(value, kSizes);
            if (!size) {
                return badValue(name, value, "256x212, 512x424mag, 512x424int or 256x424joi");
            }
            o.size = *size;
        } else {
            o.format = lookUp(value, kFormats);
            if (!o.format) {
                return badValue(name, value, "bmp or png");
            }
        }
        return std::nullopt;
    }

    std::optional<Failure> finish() {
        ExportOptions& o = command_.options;
        if (!o.output.empty() && !o.outDir.empty()) {
            return Failure{"-o and -d cannot be used together"};
        }
        if (o.output.empty() && o.outDir.empty()) {
            return Failure{"no output given: use -o OUTPUT or -d OUTDIR"};
        }
        if (o.files.empty()) {
            return Failure{"no input FILE given"};
        }
        if (o.thumbnailSize) {
            if (o.format == ImageFormat::bmp) {
                return Failure{"--thumbnail writes PNG only"};
            }
            o.format = ImageFormat::png;
        }
        return o.batch() ? finishBatch() : finishSingle();
    }

    std::optional<Failure> finishBatch() {
        ExportOptions& o = command_.options;
        o.paletteFile = paletteOption_;
        if (!o.format) {
            o.format = ImageFormat::png;
        }
        return std::nullopt;
    }

    // One picture: at most one screen file and one palette file, sorted by name.
    std::optional<Failure> finishSingle() {
        ExportOptions& o = command_.options;
        if (o.files.size() > 2) {
            return Failure{"too many FILEs for -o: " + quoted(o.files[2]) +
                           " (give one screen file and one palette file, or use -d)"};
        }
        o.paletteFile = paletteOption_;
        for (const std::string& file : o.files) {
            std::string& slot =
                chooseByFileName(file).slot == FileSlot::palette ? o.paletteFile : o.screenFile;
            if (!slot.empty()) {
                return Failure{"two " +
                               std::string(&slot == &o.paletteFile ? "palette" : "screen") +
                               " files: " + quoted(slot) + " and " + quoted(file)};
            }
            slot = file;
        }
        if (o.screenFile.empty()) {
            return Failure{"no screen file among the FILEs (" + quoted(o.files.front()) +
                           " is a palette file by its name)"};
        }
        if (o.paletteSource == PaletteSource::file && o.paletteFile.empty()) {
            return Failure{"--palette-source file needs a palette file"};
        }
        if (!o.format) {
            o.format = formatOfName(o.output);
            if (!o.format) {
                return Failure{"cannot tell the format of " + quoted(o.output) +
                               " from its extension: use --format bmp|png"};
            }
        }
        return std::nullopt;
    }

    std::span<const std::string> args_;
    std::size_t pos_ = 0;
    Command command_;
    std::string paletteOption_;
};

bool endsWithNoCase(std::string_view s, std::string_view suffix) {
    if (s.size() < suffix.size()) {
        return false;
    }
    return std::equal(suffix.begin(), suffix.end(), s.end() - static_cast<long>(suffix.size()),
                      [](char a, char b) {
                          return std::tolower(static_cast<unsigned char>(a)) ==
                                 std::tolower(static_cast<unsigned char>(b));
                      });
}

} // namespace

std::variant<Command, UsageError> parseOptions(std::span<const std::string> args) {
    auto result = Parser(args).run();
    if (auto* failure = std::get_if<Failure>(&result)) {
        return UsageError{std::move(failure->message)};
    }
    return std::get<Command>(std::move(result));
}

std::optional<ImageFormat> formatOfName(const std::string& fileName) {
    if (endsWithNoCase(fileName, ".bmp")) {
        return ImageFormat::bmp;
    }
    if (endsWithNoCase(fileName, ".png")) {
        return ImageFormat::png;
    }
    return std::nullopt;
}

const char* extensionOf(ImageFormat format) {
    return format == ImageFormat::bmp ? "bmp" : "png";
}

ScreenMode screenModeFor(const ExportOptions& options, const std::string& screenFile) {
    if (options.screenMode) {
        return *options.screenMode;
    }
    return chooseByFileName(screenFile).screenMode.value_or(kDefaultScreenMode);
}

const char* usageText() {
    return R"(Usage: tessarin-export [OPTIONS] -o OUTPUT FILE [FILE]   one picture
       tessarin-export [OPTIONS] -d OUTDIR FILE...        one picture per screen file

Writes the picture the viewer shows of MSX screen files as a BMP or PNG file.
FILEs are sorted by their names as in the viewer: a "P" or "p" third from the end
marks a palette file, otherwise the last character picks the screen mode
(5, 6, 7, 8; A or B: 10; C or S: 12). In a batch, a palette file with the base
name of a screen file (PIC.PL5 beside PIC.SC5) is that screen's palette.

Options:
  -o, --output OUTPUT      write one picture to OUTPUT (replaced when complete)
  -d, --outdir OUTDIR      write OUTDIR/<base name>.<format> for each screen file;
                           existing files there are never replaced; OUTDIR
                           is made, with its parents, when missing
  --screen 2|3|4|5|6|7|8|10|11|12
                           the screen mode (11 is 10); default from the name, else 7
  --vram1 FILE             the screen file laid into VRAM1 (display page 1 of
                           screens 7 to 12)
  --palette FILE           the palette file (in a batch: of screens without their own)
  --header0 N, --header1 N bytes skipped before the VRAM0 / VRAM1 data, 0..32767
                           (default 7)
  --line-pixels N          pixels per line of the data, 1..512 (default the mode's
                           full width: 256, or 512 in screens 6 and 7;
                           screens 2 to 4 ignore it)
  --palette-source auto|file|vram|standard
                           default auto: the palette file when one is given or
                           paired; else the palette table in VRAM when the file
                           reaches it and it is not all zero; else standard
  --size 256x212|512x424mag|512x424int|256x424joi
                           the view (default 256x212); screens 2 to 4 have
                           192 lines: 256x192, 512x384 (int as mag), 256x384
                           (the page twice)
  --rotate                 turn the view a quarter left
  --format bmp|png         default from OUTPUT's extension; png in a batch
  --thumbnail SIZE         a PNG scaled smoothly to fit SIZE x SIZE (1..4096),
                           its shape kept
  -j, --jobs N             convert a batch with N threads (1..256; default one
                           per processor); the listing keeps the files' order
  -q, --quiet              no progress and no notes; errors are still reported
  --help                   show this text
  --version                show the version
  --                       end of options: every later argument is a FILE

Exit status: 0 success, 1 a file could not be read or written, 2 a usage error.
)";
}

} // namespace tessarin::exporter
