#include "export/gallery_pages.h"

#include "export/gallery_script.h"
#include "export/near_duplicates.h"
#include "export/record_fields.h"
#include "export/streamed_file.h"

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <optional>
#include <vector>

namespace tessarin::exporter {

namespace {

constexpr const char* kIndexPage = "index.html";
constexpr const char* kDuplicatesPage = "duplicates.html";
constexpr const char* kNearDuplicatesPage = "near-duplicates.html";
constexpr const char* kProblemsPage = "problems.html";

std::string escaped(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (const char c : text) {
        switch (c) {
        case '&':
            out += "&amp;";
            break;
        case '<':
            out += "&lt;";
            break;
        case '>':
            out += "&gt;";
            break;
        case '"':
            out += "&quot;";
            break;
        case '\'':
            out += "&#39;";
            break;
        default:
            out += c;
        }
    }
    return out;
}

// A relative link to path: every byte but unreserved ones and '/' percent-encoded, so that
// '#', '?', '%', spaces and bytes beyond ASCII name the file itself.
std::string linkTo(std::string_view path) {
    constexpr std::string_view kHex = "0123456789ABCDEF";
    constexpr int kNibble = 4;
    std::string out;
    for (const char c : path) {
        const auto byte = static_cast<unsigned char>(c);
        if (std::isalnum(byte) != 0 || c == '-' || c == '_' || c == '.' || c == '~' || c == '/') {
            out += c;
        } else {
            out += '%';
            out += kHex[byte >> kNibble];
            out += kHex[byte & 0xF];
        }
    }
    return escaped(out);
}

std::string lowered(std::string text) {
    std::ranges::transform(text, text.begin(), [](char c) {
        return static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    });
    return text;
}

std::string folderOf(const std::string& location) {
    const std::size_t slash = location.rfind('/');
    return slash == std::string::npos ? std::string(".") : location.substr(0, slash);
}

std::string nameOf(const std::string& location) {
    const std::size_t slash = location.rfind('/');
    return slash == std::string::npos ? location : location.substr(slash + 1);
}

std::string pageHead(std::string_view title) {
    return "<!DOCTYPE html>\n<html lang=\"en\"><head><meta charset=\"utf-8\">\n<title>" +
           escaped(title) + "</title>\n<style>" + std::string(kGalleryStyle) +
           "</style></head><body>\n<h1>" + escaped(title) + "</h1>\n";
}

std::string pageNav(std::size_t duplicated, std::size_t near, std::size_t problems) {
    return "<nav><a href=\"" + std::string(kIndexPage) + "\">All pictures</a> | <a href=\"" +
           kDuplicatesPage + "\">Duplicates (" + std::to_string(duplicated) + ")</a> | <a href=\"" +
           kNearDuplicatesPage + "\">Near duplicates (" + std::to_string(near) +
           ")</a> | <a href=\"" + kProblemsPage + "\">Problems (" + std::to_string(problems) +
           ")</a></nav>\n";
}

std::string pageEnd(bool withScript) {
    return (withScript ? "<script>" + std::string(kGalleryScript) + "</script>\n" : std::string()) +
           "</body></html>\n";
}

constexpr const char* kFilter = "<p><input id=\"q\" type=\"search\" placeholder=\"Filter by "
                                "name, mode, folder\" autofocus> <span id=\"shown\"></span></p>\n"
                                "<ul id=\"g\">\n";
constexpr const char* kListEnd = "</ul>\n";

// Removes root's page-N.html from N = first on: the folders an earlier run had beyond.
void removePagesFrom(const std::string& root, std::size_t first) {
    std::error_code error;
    while (std::filesystem::remove(root + "/page-" + std::to_string(first) + ".html", error)) {
        ++first;
    }
}

std::string listHead(std::string_view heading) {
    return "<h2>" + escaped(heading) + "</h2>\n<ul class=\"p\">\n";
}

// In the sorted runs a group's or folder's head sorts before its members.
constexpr std::uint64_t kHead = 0;
constexpr std::uint64_t kMember = 1;

// What an entry's record holds after its keys, in this order.
struct Shown {
    std::string location;
    std::string mode;
    std::string picture;
    std::string thumbnail;
    std::uint64_t width = 0;
    std::uint64_t height = 0;
    std::uint64_t thumbWidth = 0;
    std::uint64_t thumbHeight = 0;
    std::uint64_t nearHash = 0;
};

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

// One group's entry as its places come: the first place's thumbnail, linked to its full
// picture, the name, mode and size, and every place of the group.
class GroupHtml {
public:
    [[nodiscard]] bool empty() const { return !started_; }
    void add(Shown shown) {
        find_ += (started_ ? std::string() : shown.mode) + ' ' + shown.location;
        locations_ += "<li>" + escaped(shown.location) + "</li>";
        if (!started_) {
            first_ = std::move(shown);
            started_ = true;
        }
    }
    // The entry, leaving this empty.
    [[nodiscard]] std::string take() {
        const std::string name = nameOf(first_.location);
        std::string html = "<li class=\"e\" data-find=\"" + escaped(lowered(find_)) +
                           "\"><a href=\"" + linkTo(first_.picture) +
                           "\"><img loading=\"lazy\" src=\"" + linkTo(first_.thumbnail) +
                           "\" width=\"" + std::to_string(first_.thumbWidth) + "\" height=\"" +
                           std::to_string(first_.thumbHeight) + "\" alt=\"" + escaped(name) +
                           "\"></a>\n<b>" + escaped(name) + "</b> <i>" + escaped(first_.mode) +
                           ", " + std::to_string(first_.width) + "x" +
                           std::to_string(first_.height) + "</i><ul>" + locations_ + "</ul></li>\n";
        find_.clear();
        locations_.clear();
        started_ = false;
        return html;
    }
    [[nodiscard]] std::uint64_t nearHash() const { return first_.nearHash; }

private:
    Shown first_;
    std::string find_;
    bool started_ = false;
    std::string locations_;
};

} // namespace

Gallery::Gallery(std::string root)
    : root_(std::move(root)), byHash_(scratch("by-hash")), problemLines_(scratch("problems")),
      leftOutLines_(scratch("left-out")) {}

std::string Gallery::scratch(std::string_view name) const {
    return root_ + "/.gallery-" + std::string(name);
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
    // Each picture under the first place of its equal ones (the group's head first), so
    // that the groups come in the order of their first place, each place in order.
    SortedRuns byGroup(scratch("by-group"));
    {
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
        byHash_.drain([&](std::string_view record) {
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
    // Every group's entry once, in order (the index's list), those of two or more again
    // (the duplicates page); each group by number under each folder it has a place in.
    ScratchText entries(scratch("entries"));
    ScratchText duplicated(scratch("duplicated"));
    SortedRuns byFolder(scratch("by-folder"));
    std::vector<std::uint64_t> nearHashes;   // of each group
    std::vector<std::uint64_t> starts = {0}; // of each group's entry in entries, and the end
    {
        GroupHtml group;
        std::uint64_t size = 0;
        const auto closeGroup = [&] {
            if (group.empty()) {
                return;
            }
            nearHashes.push_back(group.nearHash());
            const std::string html = group.take();
            entries.add(html);
            if (size > 1) {
                duplicated.add(html);
            }
            starts.push_back(starts.back() + html.size());
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
            if (pages) {
                byFolder.add(RecordWriter()
                                 .text(folderOf(shown.location))
                                 .number(nearHashes.size())
                                 .number(place)
                                 .take());
            }
            group.add(std::move(shown));
        });
        closeGroup();
    }
    entries.close();
    duplicated.close();
    const std::vector<std::vector<std::size_t>> near = nearDuplicateGroups(nearHashes);
    nearHashes = {};
    counts.near = near.size();
    if (!pages) {
        return counts;
    }

    // Each folder's groups, the folders in the order first met: by their first group, then
    // the first place of theirs in it. The folder's head (its name and count) first.
    SortedRuns folderPages(scratch("folder-pages"));
    {
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
            folderPages.add(RecordWriter()
                                .number(firstGroup)
                                .number(firstPlace)
                                .number(kMember)
                                .number(g)
                                .take());
        });
        closeFolder();
    }

    const std::string nav = pageNav(counts.duplicated, counts.near, problems_);
    std::ifstream entriesIn = entries.reopened();
    const auto entryOf = [&](std::uint64_t g) {
        return entries.slice(entriesIn, starts[g], starts[g + 1] - starts[g]);
    };
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
    entries.eachPiece([&](std::string_view piece) { index.add(piece); });
    index.add(kListEnd + pageEnd(true));
    index.finish();

    StreamedFile duplicates(root_ + "/" + kDuplicatesPage);
    duplicates.add(pageHead("Duplicates: equal pictures at several places") + nav + kFilter);
    duplicated.eachPiece([&](std::string_view piece) { duplicates.add(piece); });
    duplicates.add(kListEnd + pageEnd(true));
    duplicates.finish();

    // Each group of near duplicates after a heading of its own, in the one list the filter
    // and the keys go through.
    StreamedFile nearPage(root_ + "/" + kNearDuplicatesPage);
    nearPage.add(pageHead("Near duplicates: the same picture under another palette or edited") +
                 nav + kFilter);
    for (std::size_t n = 0; n < near.size(); ++n) {
        nearPage.add("<li class=\"h\">" + std::to_string(n + 1) + ": " +
                     std::to_string(near[n].size()) + " similar pictures</li>\n");
        for (const std::size_t g : near[n]) {
            nearPage.add(entryOf(g));
        }
    }
    nearPage.add(kListEnd + pageEnd(true));
    nearPage.finish();
    removePagesFrom(root_, folders + 1);

    problemLines_.close();
    leftOutLines_.close();
    StreamedFile problems(root_ + "/" + kProblemsPage);
    problems.add(pageHead("Problems") + nav + listHead("What went wrong"));
    problemLines_.eachPiece([&](std::string_view piece) { problems.add(piece); });
    problems.add(kListEnd + listHead("Left out: no pictures"));
    leftOutLines_.eachPiece([&](std::string_view piece) { problems.add(piece); });
    problems.add(kListEnd + pageEnd(false));
    problems.finish();
    return counts;
}

} // namespace tessarin::exporter
