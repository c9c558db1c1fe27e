#pragma once

#include "export/batch_plan.h"
#include "export/parallel_exports.h"

#include <cstddef>
#include <deque>
#include <memory>

namespace tessarin::exporter {

// What reads a batch's results, in the walk's order.
class PartReader {
public:
    virtual ~PartReader() = default;
    // Before the results of part's items.
    virtual void begin(const PlanPart& part) = 0;
    // The result of part.items[item]; false when no more items are wanted.
    virtual bool take(const PlanPart& part, std::size_t item, ItemResult result) = 0;
    // After the results of part's items.
    virtual void end(const PlanPart& part) = 0;
};

// Feeds the parts of a walk to the exports as they come and hands back each part, then its
// items' results, then its end, in order: what it holds is the parts whose results are not
// all taken, at most ParallelExports::kAhead items past the last taken.
class OrderedParts {
public:
    // exports and reader outlive it.
    OrderedParts(ParallelExports& exports, PartReader& reader)
        : exports_(exports), reader_(reader) {}

    // Adds part's items, taking results while there is no room; false once the reader wants
    // no more. What the reader throws passes through.
    bool add(std::shared_ptr<const PlanPart> part);
    // Takes every result left; false once the reader wants no more.
    bool finish();

private:
    // A part begins (item none), one of its items, or it ends (item its size).
    struct Event {
        std::shared_ptr<const PlanPart> part;
        std::size_t item;
    };
    static constexpr std::size_t kBegins = static_cast<std::size_t>(-1);

    void takeOldest();

    ParallelExports& exports_;
    PartReader& reader_;
    std::deque<Event> pending_;
    std::size_t taken_ = 0; // results taken from exports_
    bool wanted_ = true;
};

} // namespace tessarin::exporter
