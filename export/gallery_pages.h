#pragma once

#include "export/catalogue_entry.h"
#include "export/scratch_text.h"
#include "export/sorted_runs.h"

#include <cstddef>
#include <string>
#include <string_view>

namespace tessarin::exporter {

// The gallery of a catalogue, made as its pictures come in a memory that does not grow
// with them: each entry, problem and file left out goes to scratch files under root
// (root/.gallery-*) as it comes, and the groups and pages are made from those by sorted
// runs once all are in. Of each distinct picture only its near hash and where its entry
// lies in the scratch are held (16 bytes, as much again while the near duplicates are
// grouped), and one group's entry while it is made. The destructor removes the scratch
// files.
class Gallery {
public:
    // Throws FileError naming a scratch file that cannot be made.
    explicit Gallery(std::string root);

    // An entry, in the batch's order. Throws FileError naming a scratch file.
    void add(const CatalogueEntry& entry);
    // A file that failed, a disk's damage, a folder not read.
    void addProblem(std::string_view problem);
    // A file that is no picture, and why.
    void addLeftOut(std::string_view line);

    [[nodiscard]] std::size_t pictures() const { return pictures_; }
    [[nodiscard]] std::size_t problems() const { return problems_; }

    struct Groups {
        std::size_t distinct = 0;   // groups of equal pictures (pictureHash)
        std::size_t duplicated = 0; // of those, the ones of two or more
        std::size_t near = 0;       // groups of near duplicates (NearDuplicates)
    };
    // Groups the entries, once all are in. With pages, writes root/index.html (every
    // picture once, with the folders), root/page-N.html for each folder, disk or archive
    // (an earlier run's pages past those removed), root/duplicates.html,
    // root/near-duplicates.html and root/problems.html: static pages that need no server and
    // no outside script, every name HTML-escaped and every link percent-encoded. Throws
    // FileError naming a page or scratch file that cannot be written.
    [[nodiscard]] Groups finish(bool pages);

private:
    [[nodiscard]] std::string scratch(std::string_view name) const;

    std::string root_;
    SortedRuns byHash_; // each entry by its hash, then its place in the batch
    ScratchText problemLines_;
    ScratchText leftOutLines_;
    std::size_t pictures_ = 0;
    std::size_t problems_ = 0;
};

} // namespace tessarin::exporter
