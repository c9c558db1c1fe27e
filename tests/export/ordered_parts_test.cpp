#include "export/ordered_parts.h"

#include <chrono>
#include <gtest/gtest.h>
#include <memory>
#include <string>
#include <thread>
#include <vector>

namespace tessarin::exporter {
namespace {

// What a reader was told, in its order: "b1" part 1 begins, "1.4" its item 4 (with that
// item's own result), "e1" it ends.
class Recorder : public PartReader {
public:
    explicit Recorder(std::size_t stopAt = 0) : stopAt_(stopAt) {}
    void begin(const PlanPart& part) override { events.push_back("b" + part.sheetFolder); }
    bool take(const PlanPart& part, std::size_t item, ItemResult result) override {
        const std::string name = part.sheetFolder + "." + std::to_string(item);
        if (result.outcome == Outcome::notTried) {
            ++notTried;
        } else {
            events.push_back(result.failure == part.items[item].output ? name : name + "?");
        }
        return ++taken != stopAt_;
    }
    void end(const PlanPart& part) override { events.push_back("e" + part.sheetFolder); }

    std::vector<std::string> events;
    std::size_t taken = 0;
    std::size_t notTried = 0;

private:
    std::size_t stopAt_;
};

std::shared_ptr<const PlanPart> partOf(std::size_t number, std::size_t items) {
    auto part = std::make_shared<PlanPart>();
    part->sheetFolder = std::to_string(number);
    for (std::size_t i = 0; i < items; ++i) {
        part->items.push_back({Location(), "", part->sheetFolder + "/" + std::to_string(i), false});
    }
    return part;
}

// Each item's result is its own output, done after a while of its own so that the workers
// finish out of order.
ItemResult slowly(const BatchItem& item, std::size_t i) {
    std::this_thread::sleep_for(std::chrono::microseconds(200 * (i % 4)));
    return ItemResult{Outcome::written, item.output, {}, {}};
}

TEST(OrderedParts, HandsBackEachPartThenItsResultsInOrderPastTheWindow) {
    const std::vector<std::size_t> sizes{0, 3, ParallelExports::kAhead * 2 + 5, 1, 0, 70};
    for (const std::size_t threads : {1U, 4U}) {
        SCOPED_TRACE(threads);
        Recorder reader;
        std::vector<std::string> expected;
        {
            ParallelExports exports(slowly, threads);
            OrderedParts parts(exports, reader);
            for (std::size_t p = 0; p < sizes.size(); ++p) {
                const std::string name = std::to_string(p);
                expected.push_back("b" + name);
                for (std::size_t i = 0; i < sizes[p]; ++i) {
                    expected.push_back(name + "." + std::to_string(i));
                }
                expected.push_back("e" + name);
                EXPECT_TRUE(parts.add(partOf(p, sizes[p])));
            }
            EXPECT_TRUE(parts.finish());
        }
        EXPECT_EQ(reader.events, expected);
    }
}

// Once the reader wants no more, the parts still added come back, their items not tried.
TEST(OrderedParts, AReaderThatStopsGetsTheRestNotTried) {
    Recorder reader(10);
    ParallelExports exports(slowly, 2);
    OrderedParts parts(exports, reader);
    bool wanted = true;
    for (std::size_t p = 0; p < 4 && wanted; ++p) {
        wanted = parts.add(partOf(p, ParallelExports::kAhead));
    }
    EXPECT_FALSE(wanted);
    EXPECT_FALSE(parts.finish());
    EXPECT_EQ(reader.taken, 2 * ParallelExports::kAhead); // as many as were added
    EXPECT_GT(reader.notTried, 0U);
    EXPECT_EQ(reader.events.back(), "e1");
}

} // namespace
} // namespace tessarin::exporter
