#pragma once

#include "export/options.h"
#include "export/printable.h"

#include <ostream>
#include <string>
#include <string_view>

namespace tessarin::exporter {

inline constexpr int kExitSuccess = 0;
inline constexpr int kExitFileError = 1;
inline constexpr int kExitUsage = 2;

// Runs a parsed command: one picture, or a batch in which a failed file and each problem
// found on a disk image are reported on a line of their own and the rest are still
// converted. Returns the exit status (1 after any failure or problem).
// progress enables the bar on err (the caller knows whether err is a terminal).
[[nodiscard]] int runExport(const ExportOptions& options, std::ostream& out, std::ostream& err,
                            bool progress);

// Writes text to standard output (out) and flushes it. A failure is reported on err
// and returns false; nothing more is written to a failed out.
bool writeChecked(std::ostream& out, std::ostream& err, std::string_view text);

} // namespace tessarin::exporter
