#include "packaging/docs/roff.h"

#include <algorithm>
#include <cctype>

namespace tessarin::docs {

namespace {

bool isWordChar(char c) {
    return std::isalnum(static_cast<unsigned char>(c)) != 0;
}

// A word as man(7) wants it: a backslash as \e; the dashes of an option ("--line-pixels",
// "-2") or a key ("Ctrl+-") as minus signs, so that what is copied from the page types.
std::string escaped(std::string_view word, bool option) {
    std::string out;
    for (const char c : word) {
        out.append(c == '\\' ? "\\e" : c == '-' && option ? "\\-" : std::string(1, c));
    }
    return out;
}

// A text of words: the placeholders among them in italics.
std::string markedUp(std::string_view text, std::span<const std::string> placeholders) {
    std::string out;
    std::size_t at = 0;
    while (at < text.size()) {
        const bool word = isWordChar(text[at]);
        std::size_t end = at;
        while (end < text.size() && isWordChar(text[end]) == word) {
            ++end;
        }
        const std::string_view part = text.substr(at, end - at);
        if (word &&
            std::find(placeholders.begin(), placeholders.end(), part) != placeholders.end()) {
            out.append("\\fI").append(part).append("\\fR");
        } else {
            out.append(part);
        }
        at = end;
    }
    return out;
}

// Splits at spaces, keeping them, so that each word is escaped on its own.
std::string roffText(std::string_view text, std::span<const std::string> placeholders) {
    std::string out;
    std::size_t at = 0;
    while (at <= text.size()) {
        const std::size_t space = std::min(text.find_first_of(" \n", at), text.size());
        const std::string_view word = text.substr(at, space - at);
        const auto first = word.find_first_not_of("(\"'");
        const bool option = first != std::string_view::npos && word[first] == '-';
        out.append(markedUp(escaped(word, option), placeholders));
        if (space < text.size()) {
            out.push_back(text[space]);
        }
        at = space + 1;
    }
    return out;
}

// "-o, --output OUTPUT" -> \fB\-o\fR, \fB\-\-output\fR \fIOUTPUT\fR: each spelling bold, an
// option's value after it italic when a placeholder, roman when choices ("a|b").
std::string roffLabel(std::string_view label, std::span<const std::string> placeholders) {
    std::string out;
    for (std::size_t at = 0; at <= label.size();) {
        const std::size_t comma = std::min(label.find(", ", at), label.size());
        const std::string_view item = label.substr(at, comma - at);
        const std::size_t space = item.starts_with('-') ? item.find(' ') : std::string_view::npos;
        out.append(at == 0 ? "" : ", ").append("\\fB").append(escaped(item.substr(0, space), true));
        out.append("\\fR");
        if (space != std::string_view::npos) {
            out.append(" ").append(roffText(item.substr(space + 1), placeholders));
        }
        at = comma + 2;
    }
    return out;
}

// The help as a sentence: capital first letter, full stop; no line starts a request.
std::string sentence(std::string_view help, std::span<const std::string> placeholders) {
    std::string text(help);
    if (!text.empty()) {
        text[0] = static_cast<char>(std::toupper(static_cast<unsigned char>(text[0])));
    }
    if (!text.ends_with('.')) {
        text.push_back('.');
    }
    std::string out;
    for (const char c : roffText(text, placeholders)) {
        if ((c == '.' || c == '\'') && (out.empty() || out.back() == '\n')) {
            out.append("\\&");
        }
        out.push_back(c);
    }
    return out;
}

} // namespace

std::string manualList(std::span<const ListEntry> entries,
                       std::span<const std::string> placeholders) {
    std::string out;
    for (const ListEntry& entry : entries) {
        out.append(".TP\n")
            .append(roffLabel(entry.label, placeholders))
            .append("\n")
            .append(sentence(entry.help, placeholders))
            .append("\n");
    }
    return out;
}

std::string fillTemplate(std::string_view template_, std::span<const Insertion> insertions) {
    std::string out;
    for (std::size_t at = 0; at < template_.size();) {
        const std::size_t end = std::min(template_.find('\n', at), template_.size());
        const std::string_view line = template_.substr(at, end - at);
        const auto insertion =
            std::find_if(insertions.begin(), insertions.end(),
                         [line](const Insertion& i) { return i.marker == line; });
        if (insertion != insertions.end()) {
            out.append(insertion->text);
        } else {
            out.append(line).append("\n");
        }
        at = end + 1;
    }
    return out;
}

} // namespace tessarin::docs
