#pragma once

#include "convert/dither.h"
#include "convert/fit_frame.h"
#include "document/view_geometry.h"
#include "document/vocabulary.h"
#include "image/image_format.h"

#include <array>
#include <optional>
#include <span>
#include <string>
#include <variant>
#include <vector>

namespace tessarin::exporter {

// What the command line asks for, checked for form; the file system is asked only whether a
// FILE named as a palette is small enough to be one.
struct ExportOptions {
    // -o OUTPUT (one picture) or -d OUTDIR (one picture per screen file).
    std::string output;
    std::string outDir;
    // --catalogue OUT (pages, a table, pictures and contact sheets) or --contact-sheet OUT
    // (the contact sheets alone) of every picture of the FILEs.
    std::string catalogueDir;
    bool sheetsOnly = false;
    // One picture: the screen file and the palette file among the FILEs (or --palette).
    // A batch: every FILE, in order.
    std::string screenFile;
    std::string paletteFile;
    std::vector<std::string> files;

    std::optional<ScreenMode> screenMode; // --screen; else the name decides
    std::string vram1File;
    std::array<HeaderSize, 2> headerSize{kDefaultHeaderSize, kDefaultHeaderSize};
    std::optional<std::int16_t> linePixels; // else the mode's full width
    bool fixedLayout = false; // --header0/--header1/--line-pixels: not the files' own layouts
    std::optional<PaletteSource> paletteSource; // else automatic
    std::optional<ViewSize> size;               // --size; else automatic (every pixel of the mode)
    bool rotate = false;
    std::optional<ColourModel> colourModel;   // --colours; else the file levels
    std::optional<SpriteChoice> sprites;      // --sprites on|off|auto; else automatic
    std::optional<std::int8_t> placedSprites; // --sprites N: into a screen 2 file written
    bool largeSprites = false;                // --sprite-size 16; else 8x8
    std::optional<PixelAspect> aspect;        // --aspect; else square
    FitMode fit = FitMode::contain;           // --fit: a picture into a screen's frame
    Dither dither = Dither::eye;              // --dither: a picture in a screen's colours
    bool transparent = false;                 // --transparent: its see-through pixels colour 0
    std::optional<std::int16_t> lines;        // --lines: a screen file's frame; else the mode's
    bool interlace = false;            // --interlace: a bitmap screen file and its page-1 companion
    bool verbose = false;              // -v: each screen file's colour error
    std::optional<ImageFormat> format; // else from the output name; batch: png
    std::optional<std::int16_t> thumbnailSize; // fit within SIZE x SIZE
    std::optional<std::int16_t> jobs;          // batch threads; else the hardware's
    bool quiet = false;
    bool skipExisting = false; // a batch's existing outputs are skipped, not failures
    bool recursive = false;    // -r: a folder FILE's subfolders and disk images are entered
    bool follow = false;       // --follow: with -r, links to folders outside the tree too
    std::string filesFrom;     // more FILEs, read from this file ("-": standard input)
    char filesFromSeparator = '\n';

    [[nodiscard]] bool batch() const { return !outDir.empty(); }
    [[nodiscard]] bool catalogue() const { return !catalogueDir.empty(); }

    friend bool operator==(const ExportOptions&, const ExportOptions&) = default;
};

enum class Action { run, help, version };

struct Command {
    Action action = Action::run;
    ExportOptions options;
};

// A bad command line; the message names the offending option, value or file.
struct UsageError {
    std::string message;
};

// Parses the arguments after the program name. The FILEs of one picture are told apart
// as the viewer tells them (FileSource::choose): by their names, their sizes and, for a
// palette by its bytes, their first bytes; nothing is written.
[[nodiscard]] std::variant<Command, UsageError> parseOptions(std::span<const std::string> args);

// The help text printed by --help.
[[nodiscard]] const char* usageText();

// One option as --help lists it, for the manual page and the shell completion.
struct OptionHelp {
    std::array<std::string_view, 2> names; // every spelling taken; the second may be empty
    std::string value;                     // "" for a flag, a placeholder (FILE), or "a|b|c"
    std::string label;                     // the help's left column
    std::string_view help;                 // lines joined by '\n'
};

// The options in the order --help lists them.
[[nodiscard]] std::vector<OptionHelp> optionHelp();

} // namespace tessarin::exporter
