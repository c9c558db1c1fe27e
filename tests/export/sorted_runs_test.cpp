// Records given back in byte order through run files, however many runs, none left behind.
#include "export/sorted_runs.h"
#include "run_process.h"

#include <algorithm>
#include <gtest/gtest.h>

namespace tessarin::exporter {
namespace {

TEST(SortedRuns, GivesEveryRecordInOrderAndRemovesItsRuns) {
    const struct {
        std::size_t records;
        std::size_t runBytes; // tiny: a run of one or a few records
    } cases[] = {
        {0, 1},                             // nothing
        {5, SortedRuns::kRunBytes},         // held, no file
        {7, 1},                             // one merge
        {SortedRuns::kMergedRuns * 20, 1},  // merged runs merged again
        {SortedRuns::kMergedRuns * 20, 200} // runs of several
    };
    for (const auto& c : cases) {
        const testing::TempDir dir;
        std::vector<std::string> given;
        for (std::size_t i = 0; i < c.records; ++i) {
            // Repeats, prefixes of one another, NUL and bytes past 0x7F.
            const std::size_t n = (i * 7919) % (c.records / 3 + 1);
            given.push_back(std::string(n % 4, '\x9F') + std::to_string(n) + '\0' +
                            std::string(i % 2, 'a'));
        }
        SortedRuns runs(dir / "run", c.runBytes);
        for (const std::string& record : given) {
            runs.add(record);
        }
        std::vector<std::string> taken;
        runs.drain([&](std::string_view record) { taken.emplace_back(record); });
        std::ranges::sort(given);
        EXPECT_EQ(taken, given) << c.records << " records, runs of " << c.runBytes;
        EXPECT_TRUE(dir.entries().empty()) << c.records << " records, runs of " << c.runBytes;
    }
}

} // namespace
} // namespace tessarin::exporter
