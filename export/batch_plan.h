#pragma once

#include "export/options.h"
#include "export/picture_job.h"

#include <string>
#include <variant>
#include <vector>

namespace tessarin::exporter {

struct BatchItem {
    PictureJob job;
    std::string output; // OUTDIR/<base name>.<format>
};

struct BatchPlan {
    std::vector<BatchItem> items;
    std::vector<std::string> unusedPalettes; // palette FILEs no screen file pairs with, in order
};

// One picture per screen FILE, paired with its palette FILE by pairedPalette, else with
// --palette. Pure: names only. Two screen files that would give the same output, or a
// screen without a palette under --palette-source file, are usage errors naming the files.
[[nodiscard]] std::variant<BatchPlan, UsageError> planBatch(const ExportOptions& options);

} // namespace tessarin::exporter
