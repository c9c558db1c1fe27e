#pragma once

#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace tessarin::exporter {

// name made fit to be one entry of OUTDIR, whatever storage it came from (a file system, a
// disk image's directory): a separator, NUL or other control byte, or a C1 control in
// UTF-8 (U+0080..U+009F), becomes '_', and a name
// that is empty, "." or ".." becomes underscores, so that no output lands outside its folder.
[[nodiscard]] std::string safeName(std::string_view name);

// What one output of a batch wants to be called in its folder.
struct WantedName {
    std::string plain;  // its stem when no other output wants the same name (PIC)
    std::string longer; // its stem when another does (PIC.SC5)
    std::string suffix; // ".png" for a picture, "" for a disk's folder
};

// The names of the outputs in their folder, distinct, in the order wanted: plain + suffix;
// where several want that, longer + suffix; where that too is taken, longer, a number and
// the suffix (PIC.SC5-2.png, GAME-2). A plain name one output alone wants is always its
// own, and a number never takes a name another output wants. The stems pass through
// safeName first.
[[nodiscard]] std::vector<std::string> outputNames(std::span<const WantedName> wanted);

} // namespace tessarin::exporter
