#pragma once

#include "export/batch_plan.h"
#include "export/options.h"

#include <ostream>

namespace tessarin::exporter {

// Makes the catalogue of the planned batch (planned into OUT/pictures): each picture and
// its thumbnail as PNG, OUT/catalogue.tsv, the gallery's pages and a contact sheet per disk
// and archive under OUT/sheets; with sheetsOnly the sheets alone, as OUT/<disk>.png. A
// file that fails and each problem of the plan are reported on err and listed on the
// problems page; the rest is still catalogued. A bar on err with progress, a summary at
// the end unless quiet. Returns the exit status (1 after any failure or problem).
[[nodiscard]] int runCatalogue(const ExportOptions& options, const BatchPlan& plan,
                               std::ostream& out, std::ostream& err, bool progress);

} // namespace tessarin::exporter
