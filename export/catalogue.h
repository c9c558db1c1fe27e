#pragma once

#include "export/options.h"

#include <ostream>

namespace tessarin::exporter {

// Makes the catalogue of the batch the options name, planned into OUT/pictures and walked
// as it is made (planBatch), total pictures for the bar: each picture and its thumbnail as
// PNG, OUT/catalogue.tsv, the gallery's pages and a contact sheet per disk and archive
// under OUT/sheets (sheetPathOf); with sheetsOnly the sheets alone, under OUT. A file that
// fails and each problem the walk finds are reported on err and listed on the problems
// page; the rest is still catalogued. A bar on err with progress, a summary at
// the end unless quiet. Returns the exit status (1 after any failure or problem, 2 for a
// usage error); throws FileError naming a folder or file of OUT that cannot be made.
[[nodiscard]] int runCatalogue(const ExportOptions& options, std::size_t total, std::ostream& out,
                               std::ostream& err, bool progress);

} // namespace tessarin::exporter
