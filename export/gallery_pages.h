#pragma once

#include "export/catalogue_entry.h"

#include <string>
#include <vector>

namespace tessarin::exporter {

// What the gallery shows: every picture, its duplicates grouped, and what went wrong.
struct Gallery {
    std::vector<CatalogueEntry> entries; // in the batch's order
    // Indices into entries of equal hashes, each group in order, groups by their first.
    std::vector<std::vector<std::size_t>> groups;
    // Indices into groups of near duplicates (nearDuplicateGroups), two or more a group.
    std::vector<std::vector<std::size_t>> nearGroups;
    std::vector<std::string> problems; // files that failed, disks' damage, unread folders
    std::vector<std::string> leftOut;  // files that are no pictures, and why
};

// The groups of equal pictures among entries (pictureHash), in order.
[[nodiscard]] std::vector<std::vector<std::size_t>>
duplicateGroups(const std::vector<CatalogueEntry>& entries);

// Writes root/index.html (every picture once, with the folders), root/page-N.html for each
// folder, disk or archive (an earlier run's pages past those removed), root/duplicates.html,
// root/near-duplicates.html and root/problems.html: static pages that
// need no server and no outside script, every name HTML-escaped and every link
// percent-encoded. Throws FileError naming a page that cannot be written.
void writeGallery(const std::string& root, const Gallery& gallery);

} // namespace tessarin::exporter
