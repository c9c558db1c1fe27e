#include "convert/ciede2000.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace tessarin {

namespace {

constexpr double kPi = std::numbers::pi;

double radians(double degrees) {
    return degrees * kPi / 180;
}

// The hue angle in degrees, 0..360; 0 for a grey.
double hueOf(double b, double a) {
    if (a == 0 && b == 0) {
        return 0;
    }
    const double h = std::atan2(b, a) * 180 / kPi;
    return h < 0 ? h + 360 : h;
}

// The chroma weighting of CIEDE2000's G and R_T terms: C^7 / (C^7 + 25^7).
double chromaShare(double c) {
    constexpr double k25To7 = 6103515625.0;
    const double c2 = c * c;
    const double c7 = c2 * c2 * c2 * c;
    return c7 / (c7 + k25To7);
}

} // namespace

// Through XYZ relative to the D65 white.
CieLab cieLabOf(LinearLight c) {
    const double x = (0.4124 * c.red + 0.3576 * c.green + 0.1805 * c.blue) / 0.95047;
    const double y = 0.2126 * c.red + 0.7152 * c.green + 0.0722 * c.blue;
    const double z = (0.0193 * c.red + 0.1192 * c.green + 0.9505 * c.blue) / 1.08883;
    const auto f = [](double t) {
        return t > 216.0 / 24389 ? std::cbrt(t) : (24389.0 / 27 * t + 16) / 116;
    };
    return {116 * f(y) - 16, 500 * (f(x) - f(y)), 200 * (f(y) - f(z))};
}

CieLab cieLabOf(const RgbTriple& colour) {
    return cieLabOf(linearLightOf(colour));
}

CieLab cieLabOf(Lab colour) {
    return cieLabOf(linearLightOf(colour));
}

double ciede2000(CieLab p, CieLab q) {
    const double cm = (std::hypot(p.a, p.b) + std::hypot(q.a, q.b)) / 2;
    const double g = 0.5 * (1 - std::sqrt(chromaShare(cm)));
    const double a1 = (1 + g) * p.a;
    const double a2 = (1 + g) * q.a;
    const double c1 = std::hypot(a1, p.b);
    const double c2 = std::hypot(a2, q.b);
    const double h1 = hueOf(p.b, a1);
    const double h2 = hueOf(q.b, a2);
    const bool grey = c1 * c2 == 0;

    double dh = grey ? 0 : h2 - h1;
    dh = dh > 180 ? dh - 360 : (dh < -180 ? dh + 360 : dh);
    const double dl = q.l - p.l;
    const double dc = c2 - c1;
    const double dH = 2 * std::sqrt(c1 * c2) * std::sin(radians(dh / 2));

    const double lm = (p.l + q.l) / 2;
    const double cpm = (c1 + c2) / 2;
    double hm = h1 + h2;
    if (!grey) {
        hm = std::abs(h1 - h2) <= 180 ? hm / 2 : (hm < 360 ? (hm + 360) / 2 : (hm - 360) / 2);
    }
    const double t = 1 - 0.17 * std::cos(radians(hm - 30)) + 0.24 * std::cos(radians(2 * hm)) +
                     0.32 * std::cos(radians(3 * hm + 6)) - 0.20 * std::cos(radians(4 * hm - 63));
    const double l50 = (lm - 50) * (lm - 50);
    const double sl = 1 + 0.015 * l50 / std::sqrt(20 + l50);
    const double sc = 1 + 0.045 * cpm;
    const double sh = 1 + 0.015 * cpm * t;
    const double rt = -2 * std::sqrt(chromaShare(cpm)) *
                      std::sin(radians(60 * std::exp(-((hm - 275) / 25) * ((hm - 275) / 25))));
    const double kl = dl / sl;
    const double kc = dc / sc;
    const double kh = dH / sh;
    // Never below kl^2 in exact arithmetic (|rt| <= 2); rounding must not take it under 0.
    return std::sqrt(std::max(0.0, kl * kl + kc * kc + kh * kh + rt * kc * kh));
}

} // namespace tessarin
