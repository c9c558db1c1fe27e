#pragma once

#include "export/options.h"

#include <ostream>

namespace tessarin::exporter {

inline constexpr int kExitSuccess = 0;
inline constexpr int kExitFileError = 1;
inline constexpr int kExitUsage = 2;

// Runs a parsed command: one picture, or a batch in which a failed file is reported
// on its own line and the rest are still converted. Returns the exit status.
// progress enables the bar on err (the caller knows whether err is a terminal).
[[nodiscard]] int runExport(const ExportOptions& options, std::ostream& out, std::ostream& err,
                            bool progress);

} // namespace tessarin::exporter
