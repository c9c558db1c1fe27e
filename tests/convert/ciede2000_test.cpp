// CIEDE2000 against the test data of Sharma, Wu and Dalal (2005), whose pairs catch the
// hue wrap-arounds that implementations get wrong.
#include "convert/ciede2000.h"

#include <gtest/gtest.h>

namespace tessarin {
namespace {

struct Pair {
    CieLab p;
    CieLab q;
    double difference;
};

const Pair kSharma[] = {
    {{50.0, 2.6772, -79.7751}, {50.0, 0.0, -82.7485}, 2.0425},
    {{50.0, -1.3802, -84.2814}, {50.0, 0.0, -82.7485}, 1.0000},
    {{50.0, 0.0, 0.0}, {50.0, -1.0, 2.0}, 2.3669},
    {{50.0, 2.49, -0.001}, {50.0, -2.49, 0.0009}, 7.1792},
    {{50.0, 2.49, -0.001}, {50.0, -2.49, 0.0011}, 7.2195},
    {{50.0, -0.001, 2.49}, {50.0, 0.0009, -2.49}, 4.8045},
    {{50.0, -0.001, 2.49}, {50.0, 0.0011, -2.49}, 4.7461},
    {{50.0, 2.5, 0.0}, {73.0, 25.0, -18.0}, 27.1492},
    {{50.0, 2.5, 0.0}, {61.0, -5.0, 29.0}, 22.8977},
    {{50.0, 2.5, 0.0}, {56.0, -27.0, -3.0}, 31.9030},
};

TEST(Ciede2000, MatchesThePublishedTestData) {
    for (const Pair& pair : kSharma) {
        EXPECT_NEAR(ciede2000(pair.p, pair.q), pair.difference, 5e-5);
        EXPECT_NEAR(ciede2000(pair.q, pair.p), pair.difference, 5e-5);
    }
}

// White and black are 100 apart; an sRGB colour and its Oklab form are the same colour.
TEST(Ciede2000, SrgbAndOklabColoursMeetInCieLab) {
    EXPECT_NEAR(ciede2000(cieLabOf(RgbTriple{0, 0, 0}), cieLabOf(RgbTriple{255, 255, 255})), 100.0,
                0.01);
    for (const RgbTriple c : {RgbTriple{200, 76, 106}, RgbTriple{0, 145, 255}}) {
        EXPECT_LT(ciede2000(cieLabOf(c), cieLabOf(oklabOf(c))), 0.01);
    }
}

} // namespace
} // namespace tessarin
