#include "export/options.h"

#include "catalog/file_source.h"
#include "convert/msx_screen.h"
#include "names/file_name_rule.h"
#include "vdp/screen_modes.h"

#include <algorithm>
#include <charconv>
#include <string>
#include <string_view>
#include <vector>

namespace tessarin::exporter {

namespace {

constexpr std::int16_t kMinLinePixels = 1;
constexpr std::int16_t kMaxLinePixels = kMaxLineWidth;
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

// The mode of the VDP's table a screen name (0w80) or number shows (11 is screen 10 to the
// VDP).
std::optional<ScreenMode> parseScreen(std::string_view text) {
    const auto* named = std::ranges::find(kScreenModes, text, &ScreenModeFacts::name);
    if (named != kScreenModes.end()) {
        return named->mode;
    }
    const auto n = parseNumber(text, 0, kMaxScreenNumber);
    return n ? screenModeFromNumber(*n) : std::nullopt;
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
constexpr std::string_view kAutomaticSize = "auto";
constexpr std::array<std::pair<std::string_view, PaletteSource>, 4> kSources{{
    {"auto", PaletteSource::automatic},
    {"file", PaletteSource::file},
    {"vram", PaletteSource::vram},
    {"standard", PaletteSource::standard},
}};
constexpr std::array<std::pair<std::string_view, ColourModel>, 4> kColourModels{{
    {"levels", ColourModel::levels},
    {"msx1", ColourModel::msx1},
    {"msx2", ColourModel::msx2},
    {"msx2+", ColourModel::msx2plus},
}};
constexpr std::array<std::pair<std::string_view, SpriteChoice>, 3> kSpriteChoices{{
    {"auto", SpriteChoice::automatic},
    {"on", SpriteChoice::on},
    {"off", SpriteChoice::off},
}};
constexpr std::array<std::pair<std::string_view, PixelAspect>, 3> kAspects{{
    {"square", PixelAspect::square},
    {"ntsc", PixelAspect::ntsc},
    {"pal", PixelAspect::pal},
}};
constexpr std::array<std::pair<std::string_view, ImageFormat>, 12> kFormats{{
    {"bmp", ImageFormat::bmp},
    {"png", ImageFormat::png},
    {"sc2", ImageFormat::sc2},
    {"sc3", ImageFormat::sc3},
    {"sc4", ImageFormat::sc4},
    {"sc5", ImageFormat::sc5},
    {"sc6", ImageFormat::sc6},
    {"sc7", ImageFormat::sc7},
    {"sc8", ImageFormat::sc8},
    {"sc10", ImageFormat::sc10},
    {"sc11", ImageFormat::sc11},
    {"sc12", ImageFormat::sc12},
}};
constexpr std::string_view kFormatChoices =
    "bmp, png, sc2, sc3, sc4, sc5, sc6, sc7, sc8, sc10, sc11 or sc12";
constexpr std::array<std::pair<std::string_view, std::int16_t>, 2> kLineChoices{{
    {"192", kPatternLines},
    {"212", kBitmapLines},
}};
constexpr std::array<std::pair<std::string_view, FitMode>, 3> kFits{{
    {"contain", FitMode::contain},
    {"cover", FitMode::cover},
    {"stretch", FitMode::stretch},
}};
constexpr std::array<std::pair<std::string_view, Dither>, 4> kDithers{{
    {"none", Dither::none},
    {"diffuse", Dither::diffuse},
    {"ordered", Dither::ordered},
    {"eye", Dither::eye},
}};

Failure badValue(std::string_view option, std::string_view value, std::string_view expected) {
    return {"invalid value " + quoted(value) + " for " + std::string(option) + ": expected " +
            std::string(expected)};
}

// The screens --screen takes, for its help and its error: every mode of the VDP's table,
// by its name and any other number it has (11 beside 10).
std::string screenChoices(std::string_view separator, std::string_view last) {
    std::vector<std::string> numbers;
    for (const ScreenModeFacts& facts : kScreenModes) {
        numbers.emplace_back(facts.name);
        if (facts.alsoNumber != 0) {
            numbers.push_back(std::to_string(facts.alsoNumber));
        }
    }
    std::string text;
    for (std::size_t i = 0; i < numbers.size(); ++i) {
        if (i > 0) {
            text.append(i + 1 == numbers.size() ? last : separator);
        }
        text.append(numbers[i]);
    }
    return text;
}

// What the options have said so far.
struct ParseState {
    Command command;
    std::string paletteOption; // --palette
};

using ApplyOption = std::optional<Failure> (*)(ParseState& state, std::string_view name,
                                               const std::string& value);

// One option: its spellings, its value (none for a flag), its help and what it does. The
// parser and --help both read the table, so an option is stated once.
struct OptionEntry {
    std::array<std::string_view, 2> names; // the second may be empty
    std::string_view valueName;            // empty for a flag
    std::string_view label;                // the help's left column, when not the names
    std::string_view help;                 // lines joined by '\n'
    ApplyOption apply;
};

// Parses a number of [low, high] into target, or fails naming the range.
template <typename T>
std::optional<Failure> numberInto(std::optional<T>& target, std::string_view name,
                                  const std::string& value, int low, int high) {
    const auto n = parseNumber(value, low, high);
    if (!n) {
        return badValue(name, value,
                        "a number from " + std::to_string(low) + " to " + std::to_string(high));
    }
    target = static_cast<T>(*n);
    return std::nullopt;
}

template <typename T, std::size_t N>
std::optional<Failure>
choiceInto(std::optional<T>& target, std::string_view name, const std::string& value,
           const std::array<std::pair<std::string_view, T>, N>& table, std::string_view expected) {
    target = lookUp(value, table);
    if (!target) {
        return badValue(name, value, expected);
    }
    return std::nullopt;
}

constexpr std::string_view kScreenValuePlaceholder = "SCREENS";

const std::array<OptionEntry, 33> kOptions{{
    {{"-o", "--output"},
     "OUTPUT",
     "",
     "write one picture to OUTPUT (replaced when complete)",
     [](ParseState& s, std::string_view, const std::string& v) -> std::optional<Failure> {
         s.command.options.output = v;
         return std::nullopt;
     }},
    {{"-d", "--outdir"},
     "OUTDIR",
     "",
     "write OUTDIR/<base name>.<format> for each screen file,\n"
     "OUTDIR/<name>/ for a folder or disk image FILE\n"
     "(<name>.<format>, then -2, -3..., where names collide);\n"
     "existing files there are never replaced; OUTDIR\n"
     "is made, with its parents, when missing",
     [](ParseState& s, std::string_view, const std::string& v) -> std::optional<Failure> {
         s.command.options.outDir = v;
         return std::nullopt;
     }},
    {{"--catalogue", ""},
     "OUT",
     "",
     "a catalogue of every picture of the FILEs (with -r\n"
     "inside folders, disks and archives): OUT/index.html and\n"
     "a page per folder, disk and archive, OUT/catalogue.tsv,\n"
     "each picture and its thumbnail as PNG, a contact sheet\n"
     "per disk and archive, duplicates and problems listed",
     [](ParseState& s, std::string_view, const std::string& v) -> std::optional<Failure> {
         s.command.options.catalogueDir = v;
         s.command.options.sheetsOnly = false;
         return std::nullopt;
     }},
    {{"--contact-sheet", ""},
     "OUT",
     "",
     "only the contact sheets of --catalogue, OUT/<disk>.png:\n"
     "a grid of each disk's and archive's thumbnails",
     [](ParseState& s, std::string_view, const std::string& v) -> std::optional<Failure> {
         s.command.options.catalogueDir = v;
         s.command.options.sheetsOnly = true;
         return std::nullopt;
     }},
    {{"--screen", ""},
     kScreenValuePlaceholder,
     "",
     "the screen mode (11 is 10, 0w80 is screen 0 after\nWIDTH 80); default from the name, else 7",
     [](ParseState& s, std::string_view name, const std::string& v) -> std::optional<Failure> {
         s.command.options.screenMode = parseScreen(v);
         if (!s.command.options.screenMode) {
             return badValue(name, v, screenChoices(", ", " or "));
         }
         return std::nullopt;
     }},
    {{"--vram1", ""},
     "FILE",
     "",
     "the screen file laid into VRAM1 (display page 1 of\nscreens 7 to 12)",
     [](ParseState& s, std::string_view, const std::string& v) -> std::optional<Failure> {
         s.command.options.vram1File = v;
         return std::nullopt;
     }},
    {{"--palette", ""},
     "FILE",
     "",
     "the palette file (in a batch: of screens without their own)",
     [](ParseState& s, std::string_view, const std::string& v) -> std::optional<Failure> {
         s.paletteOption = v;
         return std::nullopt;
     }},
    {{"--header0", "--header1"},
     "N",
     "--header0 N, --header1 N",
     "bytes skipped before the VRAM0 / VRAM1 data, 0..32767;\n"
     "with it or --line-pixels the files are laid past the\n"
     "header (a fixed layout, 7 bytes where not given), not in\n"
     "their own layout (the default)",
     [](ParseState& s, std::string_view name, const std::string& v) -> std::optional<Failure> {
         std::optional<HeaderSize> size;
         if (auto failure = numberInto(size, name, v, 0, kMaxHeaderSize)) {
             return failure;
         }
         const FileSlot slot = name == "--header0" ? FileSlot::vram0 : FileSlot::vram1;
         s.command.options.headerSize[indexOf(slot)] = *size;
         s.command.options.fixedLayout = true;
         return std::nullopt;
     }},
    {{"--line-pixels", ""},
     "N",
     "",
     "pixels per line of the data, 1..512 (default the mode's\n"
     "full width: 256, or 512 in screens 6 and 7;\n"
     "screens 2 to 4 ignore it)",
     [](ParseState& s, std::string_view name, const std::string& v) -> std::optional<Failure> {
         s.command.options.fixedLayout = true;
         return numberInto(s.command.options.linePixels, name, v, kMinLinePixels, kMaxLinePixels);
     }},
    {{"--palette-source", ""},
     "auto|file|vram|standard",
     "",
     "default auto: the palette file when one is given or\n"
     "paired; else the palette table in VRAM when the file\n"
     "reaches it and it is not all zero; else standard",
     [](ParseState& s, std::string_view name, const std::string& v) -> std::optional<Failure> {
         return choiceInto(s.command.options.paletteSource, name, v, kSources,
                           "auto, file, vram or standard");
     }},
    {{"--size", ""},
     "auto|256x212|512x424mag|512x424int|256x424joi",
     "",
     "the view (default auto: every pixel: 256x212, screens\n"
     "6 and 7 512x424mag, with a VRAM1 file 512x424int);\n"
     "screens 2 to 4 have 192 lines: 256x192, 512x384\n"
     "(int as mag), 256x384 (the page twice)",
     [](ParseState& s, std::string_view name, const std::string& v) -> std::optional<Failure> {
         if (v == kAutomaticSize) {
             s.command.options.size.reset();
             return std::nullopt;
         }
         return choiceInto(s.command.options.size, name, v, kSizes,
                           "auto, 256x212, 512x424mag, 512x424int or 256x424joi");
     }},
    {{"--rotate", ""},
     "",
     "",
     "turn the view a quarter left",
     [](ParseState& s, std::string_view, const std::string&) -> std::optional<Failure> {
         s.command.options.rotate = true;
         return std::nullopt;
     }},
    {{"--colours", ""},
     "levels|msx1|msx2|msx2+",
     "",
     "the colours: the files' levels spread evenly (default),\n"
     "the TMS9918's fixed colours in screens 2 to 4 (msx1,\n"
     "the other screens as msx2), or as the V9938 (msx2) or\n"
     "the V9958 (msx2+) shows them; screens 10 to 12 exist\n"
     "only on the V9958",
     [](ParseState& s, std::string_view name, const std::string& v) -> std::optional<Failure> {
         return choiceInto(s.command.options.colourModel, name, v, kColourModels,
                           "levels, msx1, msx2 or msx2+");
     }},
    {{"--sprites", ""},
     "on|off|auto|N",
     "",
     "on, off, auto: the sprites of the VRAM's sprite tables\n"
     "drawn over the picture (on), not (off), or when they\n"
     "show on it (auto, default: BASIC leaves them hidden);\n"
     "N (0..32), for a screen 2 file written: up to N 16x16\n"
     "sprites placed where its 8x1 runs lack a colour",
     [](ParseState& s, std::string_view name, const std::string& v) -> std::optional<Failure> {
         if (!v.empty() && v.front() >= '0' && v.front() <= '9') {
             return numberInto(s.command.options.placedSprites, name, v, 0, kMostScreen2Sprites);
         }
         return choiceInto(s.command.options.sprites, name, v, kSpriteChoices,
                           "on, off, auto or a number of sprites from 0 to 32");
     }},
    {{"--sprite-size", ""},
     "8|16",
     "",
     "the sprites' size in a screen file read: 8x8 (8,\n"
     "default, as SCREEN n leaves it) or 16x16 (16, as\n"
     "SCREEN n,2 and the screen 2 files with sprites written)",
     [](ParseState& s, std::string_view name, const std::string& v) -> std::optional<Failure> {
         if (v != "8" && v != "16") {
             return badValue(name, v, "8 or 16");
         }
         s.command.options.largeSprites = v == "16";
         return std::nullopt;
     }},
    {{"--aspect", ""},
     "square|ntsc|pal",
     "",
     "the pixels' shape: square (default), or a TV's, the\n"
     "picture widened smoothly (ntsc 8:7, pal 1.38:1); for a\n"
     "screen file written, the TV its picture is shaped for",
     [](ParseState& s, std::string_view name, const std::string& v) -> std::optional<Failure> {
         return choiceInto(s.command.options.aspect, name, v, kAspects, "square, ntsc or pal");
     }},
    {{"--format", "--to"},
     "bmp|png|sc2|sc3|sc4|sc5|sc6|sc7|sc8|sc10|sc11|sc12",
     "",
     "for an OUTPUT without an extension (.bmp, .png, .sc2 to\n"
     ".sc8, .sc12 and .s12 decide themselves) and a batch\n"
     "(default png); sc2 to sc12 write a BSAVE file of that\n"
     "screen that BLOAD \"X\",S shows, palette included",
     [](ParseState& s, std::string_view name, const std::string& v) -> std::optional<Failure> {
         return choiceInto(s.command.options.format, name, v, kFormats, kFormatChoices);
     }},
    {{"--fit", ""},
     "contain|cover|stretch",
     "",
     "a picture into a screen's frame: all of it, letterboxed\n"
     "in colour 0 (contain, default), the frame filled and the\n"
     "overhang cut (cover), or stretched",
     [](ParseState& s, std::string_view name, const std::string& v) -> std::optional<Failure> {
         std::optional<FitMode> fit;
         auto failure = choiceInto(fit, name, v, kFits, "contain, cover or stretch");
         s.command.options.fit = fit.value_or(FitMode::contain);
         return failure;
     }},
    {{"--dither", ""},
     "eye|diffuse|ordered|none",
     "",
     "the colours a screen lacks made up by the dots whose\n"
     "blurred look is nearest (eye, default), by error\n"
     "diffusion, an ordered pattern, or not (none: pixel art)",
     [](ParseState& s, std::string_view name, const std::string& v) -> std::optional<Failure> {
         std::optional<Dither> dither;
         auto failure = choiceInto(dither, name, v, kDithers, "none, diffuse, ordered or eye");
         s.command.options.dither = dither.value_or(Dither::eye);
         return failure;
     }},
    {{"--transparent", ""},
     "",
     "",
     "a picture's see-through pixels colour 0 and no other\n"
     "pixel (sprites, overlays; screens 2 to 8, screen 3's\n"
     "4x4 blocks colour 0 where any of theirs is)",
     [](ParseState& s, std::string_view, const std::string&) -> std::optional<Failure> {
         s.command.options.transparent = true;
         return std::nullopt;
     }},
    {{"--lines", ""},
     "192|212",
     "",
     "the lines of a screen file written: 192 in any screen\n"
     "(the file ends after line 191's bytes or the palette),\n"
     "212 in screens 5 to 12 (their default)",
     [](ParseState& s, std::string_view name, const std::string& v) -> std::optional<Failure> {
         return choiceInto(s.command.options.lines, name, v, kLineChoices, "192 or 212");
     }},
    {{"--interlace", ""},
     "",
     "",
     "a screen file of twice the lines in screens 5 to 12:\n"
     "the even ones in X.SC7, the odd ones in page 1's X.S17\n"
     "beside it (X.SCC and X.S1C for screen 12)",
     [](ParseState& s, std::string_view, const std::string&) -> std::optional<Failure> {
         s.command.options.interlace = true;
         return std::nullopt;
     }},
    {{"-v", "--verbose"},
     "",
     "",
     "for each screen file written, its mean CIEDE2000 from\n"
     "the fitted picture, pixel by pixel and seen from a\n"
     "distance (both blurred, sigma 1 pixel)",
     [](ParseState& s, std::string_view, const std::string&) -> std::optional<Failure> {
         s.command.options.verbose = true;
         return std::nullopt;
     }},
    {{"--thumbnail", ""},
     "SIZE",
     "",
     "the picture scaled smoothly to fit SIZE x SIZE\n(1..4096), its shape kept; PNG by default",
     [](ParseState& s, std::string_view name, const std::string& v) -> std::optional<Failure> {
         return numberInto(s.command.options.thumbnailSize, name, v, 1, kMaxThumbnailSize);
     }},
    {{"-j", "--jobs"},
     "N",
     "",
     "convert a batch with N threads (1..256; default one\n"
     "per processor); the listing keeps the files' order",
     [](ParseState& s, std::string_view name, const std::string& v) -> std::optional<Failure> {
         return numberInto(s.command.options.jobs, name, v, 1, kMaxJobs);
     }},
    {{"--skip-existing", ""},
     "",
     "",
     "in a batch, skip screen files whose output exists;\n"
     "with --catalogue, read again only the files new or\n"
     "changed since the catalogue in OUT was made",
     [](ParseState& s, std::string_view, const std::string&) -> std::optional<Failure> {
         s.command.options.skipExisting = true;
         return std::nullopt;
     }},
    {{"-r", "--recursive"},
     "",
     "",
     "in a batch, also the subfolders and disk images of a\n"
     "folder FILE, each into a folder of its own in its\n"
     "folder's (without it they are left out, named)",
     [](ParseState& s, std::string_view, const std::string&) -> std::optional<Failure> {
         s.command.options.recursive = true;
         return std::nullopt;
     }},
    {{"--follow", ""},
     "",
     "",
     "with -r, also links to folders outside the folder FILE\n"
     "(each folder is converted once however reached)",
     [](ParseState& s, std::string_view, const std::string&) -> std::optional<Failure> {
         s.command.options.follow = true;
         return std::nullopt;
     }},
    {{"--files-from", ""},
     "FILE",
     "",
     "in a batch, also the FILEs named in FILE, one a line\n(\"-\": standard input)",
     [](ParseState& s, std::string_view, const std::string& v) -> std::optional<Failure> {
         s.command.options.filesFrom = v;
         return std::nullopt;
     }},
    {{"-0", "--null"},
     "",
     "",
     "the names of --files-from end with NUL, not newline",
     [](ParseState& s, std::string_view, const std::string&) -> std::optional<Failure> {
         s.command.options.filesFromSeparator = '\0';
         return std::nullopt;
     }},
    {{"-q", "--quiet"},
     "",
     "",
     "no progress and no notes; errors are still reported",
     [](ParseState& s, std::string_view, const std::string&) -> std::optional<Failure> {
         s.command.options.quiet = true;
         return std::nullopt;
     }},
    {{"--help", "-h"},
     "",
     "--help",
     "show the usage text and exit",
     [](ParseState& s, std::string_view, const std::string&) -> std::optional<Failure> {
         s.command.action = Action::help;
         return std::nullopt;
     }},
    {{"--version", ""},
     "",
     "",
     "show the version and exit",
     [](ParseState& s, std::string_view, const std::string&) -> std::optional<Failure> {
         s.command.action = Action::version;
         return std::nullopt;
     }},
}};

const OptionEntry* findOption(std::string_view name) {
    for (const OptionEntry& entry : kOptions) {
        if (std::find(entry.names.begin(), entry.names.end(), name) != entry.names.end() &&
            !name.empty()) {
            return &entry;
        }
    }
    return nullptr;
}

// The value an option takes as the help shows it.
std::string valueOf(const OptionEntry& entry) {
    return entry.valueName == kScreenValuePlaceholder ? screenChoices("|", "|")
                                                      : std::string(entry.valueName);
}

// The help's left column of an option: its names and value, or its own label.
std::string labelOf(const OptionEntry& entry) {
    if (!entry.label.empty()) {
        return std::string(entry.label);
    }
    std::string label(entry.names[0]);
    if (!entry.names[1].empty()) {
        label.append(", ").append(entry.names[1]);
    }
    if (!entry.valueName.empty()) {
        label.append(" ").append(valueOf(entry));
    }
    return label;
}

// The options part of --help: labels in a column of kHelpColumn, texts beside them, at
// least kGap spaces apart.
std::string optionsHelp() {
    constexpr std::size_t kIndent = 2;
    constexpr std::size_t kHelpColumn = 27;
    constexpr std::size_t kGap = 2;
    std::string text;
    for (const OptionHelp& option : optionHelp()) {
        std::string line = std::string(kIndent, ' ') + option.label;
        if (line.size() + kGap <= kHelpColumn) {
            line.resize(kHelpColumn, ' ');
        } else {
            line.append("\n").append(kHelpColumn, ' ');
        }
        std::string_view help = option.help;
        for (std::size_t nl = help.find('\n'); nl != std::string_view::npos; nl = help.find('\n')) {
            line.append(help.substr(0, nl)).append("\n").append(kHelpColumn, ' ');
            help.remove_prefix(nl + 1);
        }
        text.append(line).append(help).append("\n");
    }
    return text;
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
                state_.command.options.files.push_back(arg);
                continue;
            }
            if (arg == "--") {
                optionsEnded = true;
                continue;
            }
            if (auto failure = option(arg)) {
                return *failure;
            }
            if (state_.command.action != Action::run) {
                return state_.command;
            }
        }
        if (auto failure = finish()) {
            return *failure;
        }
        return state_.command;
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
        const OptionEntry* entry = findOption(name);
        if (entry == nullptr) {
            return Failure{"unknown option " + quoted(arg)};
        }
        if (entry->valueName.empty()) {
            if (inlineValue) {
                return Failure{"option " + name + " takes no value"};
            }
            return entry->apply(state_, name, {});
        }
        std::string value;
        if (inlineValue) {
            value = *inlineValue;
        } else if (pos_ < args_.size()) {
            value = args_[pos_++];
        } else {
            return Failure{"option " + name + " needs a value"};
        }
        if (value.empty()) {
            return Failure{"option " + name + " needs a value"};
        }
        return entry->apply(state_, name, value);
    }

    std::optional<Failure> finish() {
        ExportOptions& o = state_.command.options;
        if (o.catalogue()) {
            return finishCatalogue();
        }
        if (!o.output.empty() && !o.outDir.empty()) {
            return Failure{"-o and -d cannot be used together"};
        }
        if (o.output.empty() && o.outDir.empty()) {
            return Failure{"no output given: use -o OUTPUT or -d OUTDIR"};
        }
        if (!o.filesFrom.empty() && !o.batch()) {
            return Failure{"--files-from needs -d OUTDIR"};
        }
        if (o.files.empty() && o.filesFrom.empty()) {
            return Failure{"no input FILE given"};
        }
        return o.batch() ? finishBatch() : finishSingle();
    }

    // A catalogue writes PNG files only, into its own OUT.
    std::optional<Failure> finishCatalogue() {
        ExportOptions& o = state_.command.options;
        if (!o.output.empty() || !o.outDir.empty()) {
            return Failure{"--catalogue and --contact-sheet cannot be used with -o or -d"};
        }
        if (o.format && *o.format != ImageFormat::png) {
            return Failure{"a catalogue writes PNG pictures only"};
        }
        if (o.skipExisting && o.sheetsOnly) {
            return Failure{"--skip-existing needs the table of --catalogue, not --contact-sheet"};
        }
        if (o.files.empty() && o.filesFrom.empty()) {
            return Failure{"no input FILE given"};
        }
        o.format = ImageFormat::png;
        return finishBatch();
    }

    std::optional<Failure> finishBatch() {
        ExportOptions& o = state_.command.options;
        o.paletteFile = state_.paletteOption;
        if (!o.format) {
            o.format = ImageFormat::png;
        }
        if (std::optional<Failure> f = linesFit()) {
            return f;
        }
        if (std::optional<Failure> f = interlaceFits()) {
            return f;
        }
        return checkPlacedSprites();
    }

    // --interlace writes a bitmap screen's file and page 1 under a name paired with it.
    std::optional<Failure> interlaceFits() const {
        const ExportOptions& o = state_.command.options;
        if (!o.interlace) {
            return std::nullopt;
        }
        const std::optional<MsxScreen> screen = msxScreenOf(*o.format);
        if (!screen || !takesInterlace(*screen)) {
            return Failure{"--interlace is for a screen file of screens 5 to 12 written, not " +
                           std::string(extensionOf(*o.format))};
        }
        if (!o.batch() && !companionNameOf(o.output)) {
            return Failure{"--interlace: no page-1 name pairs with " + quoted(o.output) +
                           "; name it .sc5, .sc6, .sc7, .sc8, .sca, .scb or .scc"};
        }
        return std::nullopt;
    }

    // --lines names a frame of the screen written: 192 lines in any, 212 in a bitmap screen.
    std::optional<Failure> linesFit() const {
        const ExportOptions& o = state_.command.options;
        if (!o.lines) {
            return std::nullopt;
        }
        const std::optional<MsxScreen> screen = msxScreenOf(*o.format);
        if (!screen) {
            return Failure{"--lines is for a screen file written, not " +
                           std::string(extensionOf(*o.format))};
        }
        if (!takesLines(*screen, *o.lines)) {
            return Failure{"--lines " + std::to_string(*o.lines) + ": screen " +
                           std::string(findScreenMode(screenModeOf(*screen))->name) +
                           " has 192 lines only"};
        }
        return std::nullopt;
    }

    // Sprites are placed only into the screen 2 files written.
    std::optional<Failure> checkPlacedSprites() const {
        const ExportOptions& o = state_.command.options;
        if (!o.placedSprites || o.format == ImageFormat::sc2) {
            return std::nullopt;
        }
        return Failure{"--sprites " + std::to_string(*o.placedSprites) +
                       " places sprites in screen 2 files (.sc2) only, not in " +
                       std::string(extensionOf(*o.format)) +
                       "; --sprites on, off or auto tells whether sprites are drawn"};
    }

    // One picture: at most one screen file and one palette file, sorted by name.
    std::optional<Failure> finishSingle() {
        ExportOptions& o = state_.command.options;
        if (o.files.size() > 2) {
            return Failure{"too many FILEs for -o: " + quoted(o.files[2]) +
                           " (give one screen file and one palette file, or use -d)"};
        }
        o.paletteFile = state_.paletteOption;
        for (const std::string& file : o.files) {
            // As the viewer opens it: a palette's name on a larger file is a screen file, and
            // a palette by its bytes is a palette whatever its name.
            std::string& slot = fileSource().choose(Location::of(file)).slot == FileSlot::palette
                                    ? o.paletteFile
                                    : o.screenFile;
            if (!slot.empty()) {
                return Failure{"two " +
                               std::string(&slot == &o.paletteFile ? "palette" : "screen") +
                               " files: " + quoted(slot) + " and " + quoted(file)};
            }
            slot = file;
        }
        if (o.screenFile.empty()) {
            return Failure{"no screen file among the FILEs (" + quoted(o.files.front()) +
                           " is a palette file)"};
        }
        if (o.paletteSource == PaletteSource::file && o.paletteFile.empty()) {
            return Failure{"--palette-source file needs a palette file"};
        }
        return finishOutputFormat();
    }

    // OUTPUT's extension and the bytes written in it agree: an image extension decides, any
    // other extension is refused; a name without one takes --format, a thumbnail PNG.
    std::optional<Failure> finishOutputFormat() {
        ExportOptions& o = state_.command.options;
        const std::string_view extension = extensionOfName(o.output);
        const std::optional<ImageFormat> named = formatOfName(o.output);
        if (!extension.empty() && !named) {
            return Failure{"cannot write " + quoted(o.output) + ": \"." + std::string(extension) +
                           "\" is no format written (.bmp, .png, .sc2 to .sc8, .sc12, .s12)"};
        }
        if (named && o.format && *named != *o.format) {
            return Failure{"--format " + std::string(extensionOf(*o.format)) +
                           " does not agree with the extension of " + quoted(o.output)};
        }
        if (!named && !o.format && o.thumbnailSize) {
            o.format = ImageFormat::png;
        }
        o.format = named ? named : o.format;
        if (!o.format) {
            return Failure{"cannot tell the format of " + quoted(o.output) +
                           " without an extension: use --format " + std::string(kFormatChoices)};
        }
        if (std::optional<Failure> f = linesFit()) {
            return f;
        }
        if (std::optional<Failure> f = interlaceFits()) {
            return f;
        }
        return checkPlacedSprites();
    }

    std::span<const std::string> args_;
    std::size_t pos_ = 0;
    ParseState state_;
};

} // namespace

std::variant<Command, UsageError> parseOptions(std::span<const std::string> args) {
    auto result = Parser(args).run();
    if (auto* failure = std::get_if<Failure>(&result)) {
        return UsageError{std::move(failure->message)};
    }
    return std::get<Command>(std::move(result));
}

const char* usageText() {
    static const std::string text =
        std::string(R"(Usage: tessarin-export [OPTIONS] -o OUTPUT FILE [FILE]   one picture
       tessarin-export [OPTIONS] -d OUTDIR FILE...        one picture per screen file
       tessarin-export [OPTIONS] --catalogue OUT DIR...   a gallery of a collection

Writes the picture the viewer shows of MSX screen files as a BMP or PNG file, or
converts PNG and JPEG pictures (and screen files) to MSX screen files (.SC2 to .SC8,
.SC12), each a BSAVE file that BLOAD "X",S loads.
FILEs are sorted by their names as in the viewer: a "P" or "p" third from the end
marks a palette file (up to 256 bytes; a larger one is a screen file), otherwise
the last character picks the screen mode (5, 6, 7, 8; A or B: 10; C or S: 12).
In a batch, a palette file with the base name of a screen file (PIC.PL5 beside
PIC.SC5) is that screen's palette, and a companion named with its screen file
(X.S17 beside X.SC7) is that picture's page 1.

Options:
)") + optionsHelp() +
        R"(
Exit status: 0 success, 1 a file could not be read or written, 2 a usage error.
)";
    return text.c_str();
}

std::vector<OptionHelp> optionHelp() {
    std::vector<OptionHelp> options;
    for (const OptionEntry& entry : kOptions) {
        options.push_back({entry.names, valueOf(entry), labelOf(entry), entry.help});
    }
    options.push_back({{"--", ""}, "", "--", "end of options: every later argument is a FILE"});
    return options;
}

} // namespace tessarin::exporter
