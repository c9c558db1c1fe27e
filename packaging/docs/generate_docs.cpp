// tessarin-docs: the option lists of the manual pages and the exporter's bash completion,
// made at build time from the tables the programs' --help prints, so that they agree.
//   tessarin-docs exporter-manual TEMPLATE OUTPUT     @OPTIONS@ in TEMPLATE becomes the list
//   tessarin-docs viewer-manual TEMPLATE OUTPUT       @OPTIONS@ and @KEYS@ likewise
//   tessarin-docs exporter-completion OUTPUT
#include "app/viewer_usage.h"
#include "export/options.h"
#include "packaging/docs/bash_completion.h"
#include "packaging/docs/roff.h"

#include <algorithm>
#include <fstream>
#include <iostream>
#include <sstream>
#include <string>
#include <vector>

namespace {

using namespace tessarin;

constexpr int kExitFailure = 1;
constexpr int kExitUsage = 2;

std::string exporterManual(const std::string& template_) {
    std::vector<docs::ListEntry> entries;
    std::vector<std::string> placeholders{"FILE"};
    for (const exporter::OptionHelp& option : exporter::optionHelp()) {
        entries.push_back({option.label, std::string(option.help)});
        if (!option.value.empty() && option.value.find('|') == std::string::npos &&
            std::find(placeholders.begin(), placeholders.end(), option.value) ==
                placeholders.end()) {
            placeholders.push_back(option.value);
        }
    }
    const docs::Insertion options{"@OPTIONS@", docs::manualList(entries, placeholders)};
    return docs::fillTemplate(template_, {&options, 1});
}

std::vector<docs::ListEntry> entriesOf(std::span<const UsageRow> rows) {
    std::vector<docs::ListEntry> entries;
    for (const UsageRow& row : rows) {
        entries.push_back({std::string(row.label), std::string(row.help)});
    }
    return entries;
}

std::string viewerManual(const std::string& template_) {
    const std::vector<std::string> placeholders{"FILE"};
    const docs::Insertion insertions[] = {
        {"@OPTIONS@", docs::manualList(entriesOf(kViewerOptions), placeholders)},
        {"@KEYS@", docs::manualList(entriesOf(kViewerKeys), placeholders)},
    };
    return docs::fillTemplate(template_, insertions);
}

bool readFile(const std::string& path, std::string& text) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream content;
    content << in.rdbuf();
    text = content.str();
    return !in.bad() && in.is_open();
}

bool writeFile(const std::string& path, const std::string& text) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << text;
    out.close();
    return !out.fail();
}

} // namespace

int main(int argc, char** argv) {
    const std::vector<std::string> args(argv + 1, argv + argc);
    std::string text;
    if (args.size() == 3 && (args[0] == "exporter-manual" || args[0] == "viewer-manual")) {
        std::string template_;
        if (!readFile(args[1], template_)) {
            std::cerr << "tessarin-docs: cannot read \"" << args[1] << "\"\n";
            return kExitFailure;
        }
        text = args[0] == "exporter-manual" ? exporterManual(template_) : viewerManual(template_);
    } else if (args.size() == 2 && args[0] == "exporter-completion") {
        text = docs::exporterCompletion(exporter::optionHelp());
    } else {
        std::cerr << "usage: tessarin-docs exporter-manual|viewer-manual TEMPLATE OUTPUT\n"
                     "       tessarin-docs exporter-completion OUTPUT\n";
        return kExitUsage;
    }
    if (!writeFile(args.back(), text)) {
        std::cerr << "tessarin-docs: cannot write \"" << args.back() << "\"\n";
        return kExitFailure;
    }
    return 0;
}
