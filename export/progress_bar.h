#pragma once

#include <cstddef>
#include <ostream>
#include <string>

namespace tessarin::exporter {

// A one-line bar redrawn in place ("[#####     ] 3/10 PIC.SC5"); draws nothing when
// disabled (stderr not a terminal, or --quiet).
class ProgressBar {
public:
    ProgressBar(std::ostream& out, bool enabled, std::size_t total);

    // Shows that `done` files are finished, `current` the last of them (its control
    // characters escaped); a total passed counts as done.
    void show(std::size_t done, const std::string& current);
    // Clears the bar so that a message can take the line; the next show redraws it.
    void clear();
    // Clears the bar for good.
    void finish();

private:
    std::ostream& out_;
    bool enabled_;
    bool drawn_ = false;
    std::size_t total_;
};

} // namespace tessarin::exporter
