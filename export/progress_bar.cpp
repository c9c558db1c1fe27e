#include "export/progress_bar.h"

#include "export/exporter.h"

#include <algorithm>

namespace tessarin::exporter {

namespace {
constexpr std::size_t kBarWidth = 30;
constexpr std::size_t kMaxNameWidth = 40;
constexpr const char* kClearLine = "\r\033[K"; // carriage return, erase to end of line
} // namespace

ProgressBar::ProgressBar(std::ostream& out, bool enabled, std::size_t total)
    : out_(out), enabled_(enabled && total > 0), total_(total) {}

void ProgressBar::show(std::size_t done, const std::string& current) {
    if (!enabled_) {
        return;
    }
    total_ = std::max(total_, done); // files added since it was counted
    const std::size_t filled = done * kBarWidth / total_;
    std::string name = printable(current);
    if (name.size() > kMaxNameWidth) {
        name = "..." + name.substr(name.size() - (kMaxNameWidth - 3));
    }
    out_ << kClearLine << '[' << std::string(filled, '#') << std::string(kBarWidth - filled, ' ')
         << "] " << done << '/' << total_ << ' ' << name << std::flush;
    drawn_ = true;
}

void ProgressBar::clear() {
    if (drawn_) {
        out_ << kClearLine << std::flush;
        drawn_ = false;
    }
}

void ProgressBar::finish() {
    clear();
}

} // namespace tessarin::exporter
