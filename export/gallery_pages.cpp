#include "export/gallery_pages.h"

#include "export/gallery_script.h"
#include "platform/target_file.h"

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <map>
#include <unordered_map>

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

std::string pageNav(const Gallery& gallery) {
    return "<nav><a href=\"" + std::string(kIndexPage) + "\">All pictures</a> | <a href=\"" +
           kDuplicatesPage + "\">Duplicates (" +
           std::to_string(
               std::ranges::count_if(gallery.groups, [](const auto& g) { return g.size() > 1; })) +
           ")</a> | <a href=\"" + kNearDuplicatesPage + "\">Near duplicates (" +
           std::to_string(gallery.nearGroups.size()) + ")</a> | <a href=\"" + kProblemsPage +
           "\">Problems (" + std::to_string(gallery.problems.size()) + ")</a></nav>\n";
}

std::string pageEnd(bool withScript) {
    return (withScript ? "<script>" + std::string(kGalleryScript) + "</script>\n" : std::string()) +
           "</body></html>\n";
}

// One entry: the first location's thumbnail, linked to its full picture, the name, mode and
// size, and every location of the group.
std::string entryHtml(const Gallery& gallery, const std::vector<std::size_t>& group) {
    const CatalogueEntry& first = gallery.entries[group.front()];
    std::string find = first.mode;
    std::string locations;
    for (const std::size_t i : group) {
        const std::string& location = gallery.entries[i].location;
        find += ' ' + location;
        locations += "<li>" + escaped(location) + "</li>";
    }
    const std::string name = nameOf(first.location);
    return "<li class=\"e\" data-find=\"" + escaped(lowered(find)) + "\"><a href=\"" +
           linkTo(first.picture) + "\"><img loading=\"lazy\" src=\"" + linkTo(first.thumbnail) +
           "\" width=\"" + std::to_string(first.thumbWidth) + "\" height=\"" +
           std::to_string(first.thumbHeight) + "\" alt=\"" + escaped(name) + "\"></a>\n<b>" +
           escaped(name) + "</b> <i>" + escaped(first.mode) + ", " + std::to_string(first.width) +
           "x" + std::to_string(first.height) + "</i><ul>" + locations + "</ul></li>\n";
}

constexpr const char* kFilter = "<p><input id=\"q\" type=\"search\" placeholder=\"Filter by "
                                "name, mode, folder\" autofocus> <span id=\"shown\"></span></p>\n"
                                "<ul id=\"g\">\n";

std::string entriesHtml(const Gallery& gallery, const std::vector<std::size_t>& groups) {
    std::string html = kFilter;
    for (const std::size_t g : groups) {
        html += entryHtml(gallery, gallery.groups[g]);
    }
    return html + "</ul>\n";
}

// Each group of near duplicates after a heading of its own, in the one list the filter and
// the keys go through.
std::string nearGroupsHtml(const Gallery& gallery) {
    std::string html = kFilter;
    for (std::size_t n = 0; n < gallery.nearGroups.size(); ++n) {
        const std::vector<std::size_t>& near = gallery.nearGroups[n];
        html += "<li class=\"h\">" + std::to_string(n + 1) + ": " + std::to_string(near.size()) +
                " similar pictures</li>\n";
        for (const std::size_t g : near) {
            html += entryHtml(gallery, gallery.groups[g]);
        }
    }
    return html + "</ul>\n";
}

// Removes root's page-N.html from N = first on: the folders an earlier run had beyond.
void removePagesFrom(const std::string& root, std::size_t first) {
    std::error_code error;
    while (std::filesystem::remove(root + "/page-" + std::to_string(first) + ".html", error)) {
        ++first;
    }
}

void writePage(const std::string& root, const std::string& name, const std::string& html) {
    writeTargetFile(root + "/" + name,
                    ByteSpan(reinterpret_cast<const std::uint8_t*>(html.data()), html.size()),
                    ReplaceMode::replace);
}

std::string listHtml(std::string_view heading, const std::vector<std::string>& lines) {
    std::string html = "<h2>" + escaped(heading) + "</h2>\n<ul class=\"p\">\n";
    for (const std::string& line : lines) {
        html += "<li>" + escaped(line) + "</li>\n";
    }
    return html + "</ul>\n";
}

} // namespace

std::vector<std::vector<std::size_t>> duplicateGroups(const std::vector<CatalogueEntry>& entries) {
    std::vector<std::vector<std::size_t>> groups;
    std::unordered_map<std::uint64_t, std::size_t> groupOf;
    for (std::size_t i = 0; i < entries.size(); ++i) {
        const auto [at, fresh] = groupOf.try_emplace(entries[i].hash, groups.size());
        if (fresh) {
            groups.emplace_back();
        }
        groups[at->second].push_back(i);
    }
    return groups;
}

void writeGallery(const std::string& root, const Gallery& gallery) {
    // Each folder's groups, the folders in the order first met.
    std::vector<std::string> folders;
    std::map<std::string, std::vector<std::size_t>> groupsIn;
    std::vector<std::size_t> all(gallery.groups.size());
    for (std::size_t g = 0; g < gallery.groups.size(); ++g) {
        all[g] = g;
        for (const std::size_t i : gallery.groups[g]) {
            const std::string folder = folderOf(gallery.entries[i].location);
            auto [at, fresh] = groupsIn.try_emplace(folder);
            if (fresh) {
                folders.push_back(folder);
            }
            if (at->second.empty() || at->second.back() != g) {
                at->second.push_back(g);
            }
        }
    }
    std::ranges::sort(folders, [&](const std::string& a, const std::string& b) {
        return groupsIn[a].front() < groupsIn[b].front();
    });
    const std::string nav = pageNav(gallery);
    std::string folderList = "<h2>Folders, disks and archives</h2>\n<ul id=\"f\">\n";
    for (std::size_t f = 0; f < folders.size(); ++f) {
        const std::string page = "page-" + std::to_string(f + 1) + ".html";
        const std::vector<std::size_t>& groups = groupsIn[folders[f]];
        folderList += "<li><a href=\"" + page + "\">" + escaped(folders[f]) + "</a> (" +
                      std::to_string(groups.size()) + ")</li>\n";
        writePage(root, page,
                  pageHead(folders[f]) + nav + entriesHtml(gallery, groups) + pageEnd(true));
    }
    folderList += "</ul>\n";
    writePage(root, kIndexPage,
              pageHead("Catalogue") + nav + folderList + "<h2>All pictures</h2>\n" +
                  entriesHtml(gallery, all) + pageEnd(true));
    std::vector<std::size_t> duplicated;
    for (std::size_t g = 0; g < gallery.groups.size(); ++g) {
        if (gallery.groups[g].size() > 1) {
            duplicated.push_back(g);
        }
    }
    writePage(root, kDuplicatesPage,
              pageHead("Duplicates: equal pictures at several places") + nav +
                  entriesHtml(gallery, duplicated) + pageEnd(true));
    writePage(root, kNearDuplicatesPage,
              pageHead("Near duplicates: the same picture under another palette or edited") + nav +
                  nearGroupsHtml(gallery) + pageEnd(true));
    removePagesFrom(root, folders.size() + 1);
    writePage(root, kProblemsPage,
              pageHead("Problems") + nav + listHtml("What went wrong", gallery.problems) +
                  listHtml("Left out: no pictures", gallery.leftOut) + pageEnd(false));
}

} // namespace tessarin::exporter
