#include "export/gallery_pages.h"

#include "export/gallery_html.h"
#include "export/near_duplicates.h"
#include "export/record_fields.h"
#include "export/streamed_file.h"

#include <filesystem>
#include <optional>
#include <span>
#include <vector>

namespace tessarin::exporter {

namespace {

std::string folderOf(const std::string& location) {
    const std::size_t slash = location.rfind('/');
    return slash == std::string::npos ? std::string(".") : location.substr(0, slash);
}

// Removes root's page-N.html from N = first on: the folders an earlier run had beyond.
void removePagesFrom(const std::string& root, std::size_t first) {
    std::error_code error;
    while (std::filesystem::remove(root + "/page-" + std::to_string(first) + ".html", error)) {
        ++first;
    }
}

constexpr const char* kScratchPrefix = ".gallery-";

// root, with the scratch files a run ended by a signal left in it removed.
std::string withoutOldScratch(std::string root) {
    std::error_code error;
    for (const auto& file : std::filesystem::directory_iterator(root, error)) {
        if (file.path().filename().string().starts_with(kScratchPrefix)) {
            std::filesystem::remove(file.path(), error);
        }
    }
    return root;
}

// In the sorted runs a group's or folder's head sorts before its members.
constexpr std::uint64_t kHead = 0;
constexpr std::uint64_t kMember = 1;

// What an entry's record holds after its keys: the fields of Shown, in its order.
std::string shownFields(const CatalogueEntry& e) {
    return RecordWriter()
        .text(e.location)
        .text(e.mode)
        .text(e.picture)
        .text(e.thumbnail)
        .number(static_cast<std::uint64_t>(e.width))
        .number(static_cast<std::uint64_t>(e.height))
        .number(static_cast<std::uint64_t>(e.thumbWidth))
        .number(static_cast<std::uint64_t>(e.thumbHeight))
        .number(e.nearHash)
        .take();
}

Shown shownOf(RecordReader& fields) {
    Shown shown;
    shown.location = fields.text();
    shown.mode = fields.text();
    shown.picture = fields.text();
    shown.thumbnail = fields.text();
    shown.width = fields.number();
    shown.height = fields.number();
    shown.thumbWidth = fields.number();
    shown.thumbHeight = fields.number();
    shown.nearHash = fields.number();
    return shown;
}

// The entries by hash, then place, regrouped under each group's first place, the group's
// head (its size) first: so the groups come in the order of their first place, each place
// in order. The groups counted.
void groupEqual(SortedRuns& byHash, SortedRuns& byGroup, Gallery::Groups& counts) {
    std::uint64_t hash = 0;
    std::uint64_t first = 0;
    std::uint64_t size = 0;
    const auto closeGroup = [&] {
        if (size > 0) {
            byGroup.add(RecordWriter().number(first).number(kHead).number(size).take());
            ++counts.distinct;
            counts.duplicated += size > 1 ? 1 : 0;
        }
    };
    byHash.drain([&](std::string_view record) {
        RecordReader fields(record);
        const std::uint64_t h = fields.number();
        const std::uint64_t place = fields.number();
        if (size == 0 || h != hash) {
            closeGroup();
            hash = h;
            first = place;
            size = 0;
        }
        ++size;
        byGroup.add(RecordWriter().number(first).number(kMember).number(place).take() +
                    std::string(fields.rest()));
    });
    closeGroup();
}

// The places of the groups by folder, regrouped into each folder's page: the folders in the
// order first met (by their first group, then the first place of theirs in it), each
// folder's head (its name and its count of groups) before its groups, each group once.
void groupByFolder(SortedRuns& byFolder, SortedRuns& folderPages) {
    std::string folder;
    std::uint64_t firstGroup = 0;
    std::uint64_t firstPlace = 0;
    std::uint64_t lastGroup = 0;
    std::uint64_t count = 0;
    const auto closeFolder = [&] {
        if (count > 0) {
            folderPages.add(RecordWriter()
                                .number(firstGroup)
                                .number(firstPlace)
                                .number(kHead)
                                .text(folder)
                                .number(count)
                                .take());
        }
    };
    byFolder.drain([&](std::string_view record) {
        RecordReader fields(record);
        const std::string_view name = fields.text();
        const std::uint64_t g = fields.number();
        const std::uint64_t place = fields.number();
        if (count == 0 || name != folder) {
            closeFolder();
            folder = name;
            firstGroup = g;
            firstPlace = place;
            count = 0;
        } else if (g == lastGroup) {
            return; // the group listed already
        }
        lastGroup = g;
        ++count;
        folderPages.add(
            RecordWriter().number(firstGroup).number(firstPlace).number(kMember).number(g).take());
    });
    closeFolder();
}

// Copies text's pieces onto the end of page.
void append(StreamedFile& page, const ScratchText& text) {
    text.eachPiece([&](std::string_view piece) { page.add(piece); });
}

} // namespace

Gallery::Gallery(std::string root)
    : root_(withoutOldScratch(std::move(root))), byHash_(scratch("by-hash")),
      problemLines_(scratch("problems")), leftOutLines_(scratch("left-out")) {}

std::string Gallery::scratch(std::string_view name) const {
    return root_ + "/" + kScratchPrefix + std::string(name);
}

void Gallery::add(const CatalogueEntry& entry) {
    byHash_.add(RecordWriter().number(entry.hash).number(pictures_++).take() + shownFields(entry));
}

void Gallery::addProblem(std::string_view problem) {
    problemLines_.add("<li>" + escaped(problem) + "</li>\n");
    ++problems_;
}

void Gallery::addLeftOut(std::string_view line) {
    leftOutLines_.add("<li>" + escaped(line) + "</li>\n");
}

Gallery::Groups Gallery::finish(bool pages) {
    Groups counts;
    SortedRuns byGroup(scratch("by-group"));
    groupEqual(byHash_, byGroup, counts);
    NearDuplicates near(scratch("near"));
    if (!pages) {
        // The near hash of each group's first place, the groups in order.
        byGroup.drain([&](std::string_view record) {
            RecordReader fields(record);
            const std::uint64_t first = fields.number();
            if (fields.number() == kMember && fields.number() == first) {
                near.add(shownOf(fields).nearHash);
            }
        });
        counts.near = near.groups([](std::span<const std::uint64_t>) {});
        return counts;
    }
    // Every group's entry once, in order (the index's list), those of two or more again
    // (the duplicates page); each group by number under each folder it has a place in.
    ScratchText entries(scratch("entries"));
    ScratchText duplicated(scratch("duplicated"));
    SortedRuns byFolder(scratch("by-folder"));
    // Where each group's entry starts in entries, and the end: 8 bytes each, big-endian.
    ScratchText starts(scratch("starts"));
    std::uint64_t groups = 0;
    {
        std::uint64_t end = 0;
        starts.add(RecordWriter().number(end).take());
        GroupHtml group;
        std::uint64_t size = 0;
        const auto closeGroup = [&] {
            if (group.empty()) {
                return;
            }
            near.add(group.nearHash());
            const std::string html = group.take();
            entries.add(html);
            if (size > 1) {
                duplicated.add(html);
            }
            end += html.size();
            starts.add(RecordWriter().number(end).take());
            ++groups;
        };
        byGroup.drain([&](std::string_view record) {
            RecordReader fields(record);
            static_cast<void>(fields.number());
            if (fields.number() == kHead) {
                closeGroup();
                size = fields.number();
                return;
            }
            const std::uint64_t place = fields.number();
            Shown shown = shownOf(fields);
            byFolder.add(
                RecordWriter().text(folderOf(shown.location)).number(groups).number(place).take());
            group.add(std::move(shown));
        });
        closeGroup();
    }
    entries.close();
    duplicated.close();
    starts.close();
    std::ifstream entriesIn = entries.reopened();
    std::ifstream startsIn = starts.reopened();
    const auto entryOf = [&](std::uint64_t g) {
        constexpr std::uint64_t kStartBytes = 8;
        const std::string at = starts.slice(startsIn, g * kStartBytes, 2 * kStartBytes);
        RecordReader fields(at);
        const std::uint64_t start = fields.number();
        return entries.slice(entriesIn, start, fields.number() - start);
    };
    // Each group of near duplicates after a heading of its own, in the one list the filter
    // and the keys go through: written before the count is known, so the page is made last.
    ScratchText nearList(scratch("near-list"));
    std::size_t heading = 0;
    counts.near = near.groups([&](std::span<const std::uint64_t> members) {
        nearList.add("<li class=\"h\">" + std::to_string(++heading) + ": " +
                     std::to_string(members.size()) + " similar pictures</li>\n");
        for (const std::uint64_t g : members) {
            nearList.add(entryOf(g));
        }
    });
    nearList.close();
    SortedRuns folderPages(scratch("folder-pages"));
    groupByFolder(byFolder, folderPages);

    const std::string nav = pageNav(counts.duplicated, counts.near, problems_);
    StreamedFile index(root_ + "/" + kIndexPage);
    index.add(pageHead("Catalogue") + nav +
              "<h2>Folders, disks and archives</h2>\n<ul id=\"f\">\n");
    std::size_t folders = 0;
    std::optional<StreamedFile> page;
    const auto closePage = [&] {
        if (page) {
            page->add(kListEnd + pageEnd(true));
            page->finish();
            page.reset();
        }
    };
    folderPages.drain([&](std::string_view record) {
        RecordReader fields(record);
        static_cast<void>(fields.number());
        static_cast<void>(fields.number());
        if (fields.number() == kHead) {
            closePage();
            const std::string folder(fields.text());
            const std::string name = "page-" + std::to_string(++folders) + ".html";
            index.add("<li><a href=\"" + name + "\">" + escaped(folder) + "</a> (" +
                      std::to_string(fields.number()) + ")</li>\n");
            page.emplace(root_ + "/" + name);
            page->add(pageHead(folder) + nav + kFilter);
            return;
        }
        page->add(entryOf(fields.number()));
    });
    closePage();
    index.add(std::string(kListEnd) + "<h2>All pictures</h2>\n" + kFilter);
    append(index, entries);
    index.add(kListEnd + pageEnd(true));
    index.finish();

    StreamedFile duplicates(root_ + "/" + kDuplicatesPage);
    duplicates.add(pageHead("Duplicates: equal pictures at several places") + nav + kFilter);
    append(duplicates, duplicated);
    duplicates.add(kListEnd + pageEnd(true));
    duplicates.finish();

    StreamedFile nearPage(root_ + "/" + kNearDuplicatesPage);
    nearPage.add(pageHead("Near duplicates: the same picture under another palette or edited") +
                 nav + kFilter);
    append(nearPage, nearList);
    nearPage.add(kListEnd + pageEnd(true));
    nearPage.finish();
    removePagesFrom(root_, folders + 1);

    problemLines_.close();
    leftOutLines_.close();
    StreamedFile problems(root_ + "/" + kProblemsPage);
    problems.add(pageHead("Problems") + nav + listHead("What went wrong"));
    append(problems, problemLines_);
    problems.add(kListEnd + listHead("Left out: no pictures"));
    append(problems, leftOutLines_);
    problems.add(kListEnd + pageEnd(false));
    problems.finish();
    return counts;
}

} // namespace tessarin::exporter
