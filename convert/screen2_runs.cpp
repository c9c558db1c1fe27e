#include "convert/screen2_runs.h"

#include <algorithm>
#include <limits>

namespace tessarin::screen2 {

Differences differencesOf(Lab wanted, const Colours& colours) {
    const CieLab w = cieLabOf(wanted);
    Differences d{};
    for (int c = 1; c < kColours; ++c) {
        d[c] = ciede2000(w, colours[c]);
    }
    return d;
}

Choice bestChoice(const Run& run, int third) {
    const bool anyZero = std::ranges::any_of(run.zero, [](bool z) { return z; });
    Choice best{{1, 1}, std::numeric_limits<double>::max()};
    // Colour 0 shows through; the run's other pixels share one colour of 1 to 15.
    for (int f = 1; f < kColours; ++f) {
        for (int b = anyZero ? 0 : f; b <= (anyZero ? 0 : kColours - 1); ++b) {
            double e = 0;
            for (std::size_t i = 0; i < kRun; ++i) {
                if (run.zero[i] || run.covered[i]) {
                    continue;
                }
                const Differences& d = run.differences[i];
                const double own = d[takesBackground({f, b}, d[b], d[f]) ? b : f];
                e += third != 0 ? std::min(own, d[third]) : own;
            }
            if (e < best.error) {
                best = {{f, b}, e};
            }
        }
    }
    return best;
}

} // namespace tessarin::screen2
