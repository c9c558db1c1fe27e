#include "export/ordered_parts.h"

#include <utility>

namespace tessarin::exporter {

bool OrderedParts::add(std::shared_ptr<const PlanPart> part) {
    pending_.push_back({part, kBegins});
    for (std::size_t i = 0; i < part->items.size(); ++i) {
        while (!exports_.room()) {
            takeOldest();
        }
        exports_.add(part->items[i]); // once stopped, its result comes back as not tried
        pending_.push_back({part, i});
    }
    const std::size_t ends = part->items.size();
    pending_.push_back({std::move(part), ends});
    return wanted_;
}

bool OrderedParts::finish() {
    while (!pending_.empty()) {
        takeOldest();
    }
    return wanted_;
}

void OrderedParts::takeOldest() {
    const Event event = std::move(pending_.front());
    pending_.pop_front();
    const PlanPart& part = *event.part;
    if (event.item == kBegins) {
        reader_.begin(part);
    } else if (event.item == part.items.size()) {
        reader_.end(part);
    } else {
        ItemResult result = exports_.wait(taken_++);
        if (!reader_.take(part, event.item, std::move(result))) {
            wanted_ = false;
            exports_.stop();
        }
    }
}

} // namespace tessarin::exporter
