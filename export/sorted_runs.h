#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace tessarin::exporter {

// Records (byte strings) given back in byte order in bounded memory, however many: held
// until they fill about runBytes, then sorted and written as a run to a scratch file
// (scratch.1, scratch.2, ...), the runs merged at most kMergedRuns at a time. A run file is
// removed once merged, and every one left by the destructor.
class SortedRuns {
public:
    // Small: a catalogue fills a few at once.
    static constexpr std::size_t kRunBytes = std::size_t{2} << 20;
    static constexpr std::size_t kMergedRuns = 16;

    explicit SortedRuns(std::string scratch, std::size_t runBytes = kRunBytes);
    SortedRuns(const SortedRuns&) = delete;
    SortedRuns& operator=(const SortedRuns&) = delete;
    ~SortedRuns();

    // Adds record. Throws FileError naming a run file that cannot be written.
    void add(std::string record);
    // Gives every record added to take, in byte order (equal ones each), and leaves none.
    // Throws FileError naming a run file that cannot be written or read.
    void drain(const std::function<void(std::string_view)>& take);

private:
    void writeRun();
    void mergeRuns(std::size_t count, const std::function<void(std::string_view)>& take);

    std::string scratch_;
    std::size_t runBytes_;
    std::vector<std::string> held_;
    std::size_t heldBytes_ = 0;
    std::vector<std::string> runs_; // their files, oldest first
    std::size_t made_ = 0;          // run files named so far
};

} // namespace tessarin::exporter
