#include "document/palette_choice.h"

namespace tessarin {
namespace {

std::string describeFound(const PaletteChoice& choice) {
    const std::string name = "palette: " + choice.paletteFile;
    switch (choice.why) {
    case PaletteChoice::Why::directColours:
        return "none: direct colours";
    case PaletteChoice::Why::file:
        switch (choice.origin) {
        case PaletteOrigin::sameName:
            return name + " (same name)";
        case PaletteOrigin::folderOnly:
            return name + " (folder's only palette)";
        case PaletteOrigin::byHand:
            return name;
        }
        return name;
    case PaletteChoice::Why::keptFile:
        return name + " (kept)";
    case PaletteChoice::Why::inFile:
        return "palette: in file";
    case PaletteChoice::Why::appended:
        return "palette: appended";
    case PaletteChoice::Why::standard:
        return "standard palette";
    case PaletteChoice::Why::standardFound:
        return "standard palette (" + std::string(reasonOf(choice.finding)) + ")";
    }
    return {};
}

} // namespace

std::string describe(const PaletteChoice& choice) {
    std::string said = describeFound(choice);
    if (!choice.leftOutFile.empty()) {
        said += " (" + choice.leftOutFile +
                " left out: " + std::string(reasonText(choice.leftOutReason)) + ")";
    }
    return said;
}

} // namespace tessarin
