// The thumbnail grid in the real window (run it on an X server: bench/grid_speed.sh):
//   single FILE   ms from the start until the window shows FILE's picture, and its memory
//   grid PLACE    ms from the start until the first screenful of PLACE's thumbnails is
//                 painted (a folder or disk image opened as the command line opens it)
//   scroll PLACE  Page Down from the top to the bottom of PLACE's grid: each step's ms (the
//                 key, the events that came, the grid painted), then the memory; the first
//                 step that scrolls is told apart, as it waits for the X server to set up
//                 its copy of the window (Xvfb faults in its pages meanwhile)
// The window is WIDTHxHEIGHT; memory is the resident set from /proc/self/status.
#include "app/main_window.h"
#include "app/tessarin_application.h"
#include "app/thumbnail_grid.h"

#include <QKeyEvent>
#include <QScrollBar>
#include <QTest>
#include <QThread>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <fstream>
#include <optional>
#include <string>
#include <vector>

namespace {

constexpr int kWindowWidth = 1100;
constexpr int kWindowHeight = 800;
// Between Page Down presses, as a user's key repeat: the workers go on meanwhile.
constexpr unsigned long kKeyRepeatMs = 33;
constexpr int kGiveUpMs = 60000;

using Clock = std::chrono::steady_clock;

double msSince(Clock::time_point start) {
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

// The process's resident set size and its peak, in MB.
std::pair<double, double> memoryMb() {
    std::ifstream status("/proc/self/status");
    double rss = 0;
    double peak = 0;
    for (std::string line; std::getline(status, line);) {
        if (line.starts_with("VmRSS:")) {
            rss = std::stod(line.substr(6)) / 1024;
        } else if (line.starts_with("VmHWM:")) {
            peak = std::stod(line.substr(6)) / 1024;
        }
    }
    return {rss, peak};
}

void shown(MainWindow& window) {
    window.resize(kWindowWidth, kWindowHeight);
    window.show();
    (void)QTest::qWaitForWindowExposed(&window);
}

// Whether every item in view shows its thumbnail.
bool screenfulMade(const ThumbnailGrid& grid) {
    const ThumbnailModel& model = grid.thumbnails();
    const QRect view = grid.viewport()->rect();
    for (int row = 0; row < model.rowCount(); ++row) {
        const QRect item = grid.visualRect(model.index(row));
        if (item.intersects(view) && !model.isMade(row)) {
            return false;
        }
    }
    return true;
}

int single(const std::string& file) {
    const Clock::time_point start = Clock::now();
    MainWindow window({file});
    shown(window);
    window.repaint();
    const double ms = msSince(start);
    const auto [rss, peak] = memoryMb();
    std::printf("single view: %.1f ms to the picture, %.1f MB resident (peak %.1f MB)\n", ms, rss,
                peak);
    return 0;
}

int grid(const std::string& place) {
    const Clock::time_point start = Clock::now();
    MainWindow window({place});
    shown(window);
    ThumbnailGrid* grid = window.thumbnails().grid();
    if (grid == nullptr) {
        std::fprintf(stderr, "no grid for %s\n", place.c_str());
        return 1;
    }
    while (!screenfulMade(*grid) && msSince(start) < kGiveUpMs) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 1);
    }
    grid->viewport()->repaint();
    std::printf("grid: %.1f ms to the first screenful of thumbnails painted (%d files)\n",
                msSince(start), grid->thumbnails().rowCount());
    return 0;
}

int scroll(const std::string& place) {
    MainWindow window({place});
    shown(window);
    ThumbnailGrid* grid = window.thumbnails().grid();
    if (grid == nullptr) {
        std::fprintf(stderr, "no grid for %s\n", place.c_str());
        return 1;
    }
    const int last = grid->thumbnails().rowCount() - 1;
    // The first screenful settles before the keys come, as the grid bench measures it.
    while (!screenfulMade(*grid)) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 1);
    }
    std::vector<double> steps;
    std::optional<double> firstScroll;
    // Page Down stops on the last full row when the last row is shorter.
    for (int row = -1; grid->currentIndex().row() != row;) {
        row = grid->currentIndex().row();
        const int top = grid->verticalScrollBar()->value();
        QThread::msleep(kKeyRepeatMs);
        const Clock::time_point start = Clock::now();
        QKeyEvent press(QEvent::KeyPress, Qt::Key_PageDown, Qt::NoModifier);
        QCoreApplication::sendEvent(grid, &press);
        grid->viewport()->repaint(); // at once, so that the events after it do not paint again
        QCoreApplication::processEvents();
        if (!firstScroll && grid->verticalScrollBar()->value() != top) {
            firstScroll = msSince(start);
        } else {
            steps.push_back(msSince(start));
        }
    }
    if (steps.empty()) {
        std::fprintf(stderr, "%s fits one screen: nothing to scroll\n", place.c_str());
        return 1;
    }
    std::ranges::sort(steps);
    const auto [rss, peak] = memoryMb();
    std::printf("scroll: %zu Page Down steps over %d files: first scroll %.2f ms; the others: "
                "median %.2f ms, 90%% within %.2f ms, slowest %.2f ms; %.1f MB resident (peak "
                "%.1f MB)\n",
                steps.size() + 1, last + 1, firstScroll.value_or(0), steps[steps.size() / 2],
                steps[steps.size() * 9 / 10], steps.back(), rss, peak);
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    TessarinApplication app(argc, argv);
    const std::string mode = argc == 3 ? argv[1] : "";
    if (mode == "single") {
        return single(argv[2]);
    }
    if (mode == "grid") {
        return grid(argv[2]);
    }
    if (mode == "scroll") {
        return scroll(argv[2]);
    }
    std::fprintf(stderr, "usage: tessarin-grid-bench single FILE | grid PLACE | scroll PLACE\n");
    return 2;
}
