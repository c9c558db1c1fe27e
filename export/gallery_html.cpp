#include "export/gallery_html.h"

#include "export/gallery_script.h"

#include <algorithm>
#include <cctype>

namespace tessarin::exporter {

namespace {

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

std::string nameOf(const std::string& location) {
    const std::size_t slash = location.rfind('/');
    return slash == std::string::npos ? location : location.substr(slash + 1);
}

} // namespace

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

std::string listHead(std::string_view heading) {
    return "<h2>" + escaped(heading) + "</h2>\n<ul class=\"p\">\n";
}

void GroupHtml::add(Shown shown) {
    find_ += (started_ ? std::string() : shown.mode) + ' ' + shown.location;
    locations_ += "<li>" + escaped(shown.location) + "</li>";
    if (!started_) {
        first_ = std::move(shown);
        started_ = true;
    }
}

std::string GroupHtml::take() {
    const std::string name = nameOf(first_.location);
    std::string html =
        "<li class=\"e\" data-find=\"" + escaped(lowered(find_)) + "\"><a href=\"" +
        linkTo(first_.picture) + "\"><img loading=\"lazy\" src=\"" + linkTo(first_.thumbnail) +
        "\" width=\"" + std::to_string(first_.thumbWidth) + "\" height=\"" +
        std::to_string(first_.thumbHeight) + "\" alt=\"" + escaped(name) + "\"></a>\n<b>" +
        escaped(name) + "</b> <i>" + escaped(first_.mode) + ", " + std::to_string(first_.width) +
        "x" + std::to_string(first_.height) + "</i><ul>" + locations_ + "</ul></li>\n";
    find_.clear();
    locations_.clear();
    started_ = false;
    return html;
}

} // namespace tessarin::exporter
