#include "names/natural_order.h"

#include <gtest/gtest.h>

namespace tessarin {
namespace {

TEST(CompareNatural, IgnoresCaseAndComparesRunsOfDigitsByValue) {
    const struct {
        const char* a;
        const char* b;
        int order;
    } cases[] = {
        {"PIC2.SC5", "pic10.sc5", -1},  {"pic10.sc5", "PIC2.SC5", 1},  {"a.sc5", "B.SC5", -1},
        {"IMG007.SC8", "img7.sc8", -1}, {"img7.sc8", "IMG007.SC8", 1}, {"X1", "X1A", -1},
        {"A.SC5", "a.sc5", -1},         {"Z9.SC7", "Z9.SC7", 0},       {"10", "9A", 1},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(compareNatural(c.a, c.b), c.order) << c.a << " " << c.b;
    }
}

} // namespace
} // namespace tessarin
