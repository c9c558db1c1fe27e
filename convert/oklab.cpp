#include "convert/oklab.h"

#include <array>

namespace tessarin {

namespace {

constexpr int kLevels = 256;
constexpr double kMaxLevel = 255.0;

// The sRGB transfer function, undone.
double linearOf(double encoded) {
    return encoded <= 0.04045 ? encoded / 12.92 : std::pow((encoded + 0.055) / 1.055, 2.4);
}

double encodedOf(double linear) {
    return linear <= 0.0031308 ? linear * 12.92 : 1.055 * std::pow(linear, 1.0 / 2.4) - 0.055;
}

const std::array<float, kLevels>& linearTable() {
    static const std::array<float, kLevels> table = [] {
        std::array<float, kLevels> t{};
        for (int i = 0; i < kLevels; ++i) {
            t[i] = static_cast<float>(linearOf(i / kMaxLevel));
        }
        return t;
    }();
    return table;
}

// Lightness with Ottosson's toe (Lr, as Okhsl uses it): plain Oklab spreads the darkest
// greys apart as much as mid greys, so that every grey from #080808 up comes out nearer
// #242424 than black, where CIE lightness draws that line near #161616; with the toe it
// lies near #111111.
constexpr float kToe1 = 0.206F;
constexpr float kToe2 = 0.03F;
constexpr float kToe3 = (1.0F + kToe1) / (1.0F + kToe2);

float toeOf(float l) {
    const float t = kToe3 * l - kToe1;
    return 0.5F * (t + std::sqrt(t * t + 4.0F * kToe2 * kToe3 * l));
}

// Below black (where a carried error can take a wanted colour) the toe's inverse has a
// pole; it goes on as its tangent at black instead, darker still.
float toeUndone(float lr) {
    return lr > 0 ? lr * (lr + kToe1) / (kToe3 * (lr + kToe2)) : lr * kToe1 / (kToe3 * kToe2);
}

} // namespace

Lab oklabOf(const LinearLight& light) {
    const auto r = static_cast<float>(light.red);
    const auto g = static_cast<float>(light.green);
    const auto b = static_cast<float>(light.blue);
    const float l = std::cbrt(0.4122214708F * r + 0.5363325363F * g + 0.0514459929F * b);
    const float m = std::cbrt(0.2119034982F * r + 0.6806995451F * g + 0.1073969566F * b);
    const float s = std::cbrt(0.0883024619F * r + 0.2817188376F * g + 0.6299787005F * b);
    const float lightness = 0.2104542553F * l + 0.7936177850F * m - 0.0040720468F * s;
    return {toeOf(lightness), 1.9779984951F * l - 2.4285922050F * m + 0.4505937099F * s,
            0.0259040371F * l + 0.7827717662F * m - 0.8086757660F * s};
}

Lab oklabOf(const RgbTriple& colour) {
    return oklabOf(linearLightOf(colour));
}

LinearLight linearLightOf(const RgbTriple& colour) {
    const auto& lin = linearTable();
    return {lin[colour.red], lin[colour.green], lin[colour.blue]};
}

LinearLight linearLightOf(Lab c) {
    const float lightness = toeUndone(c.l);
    const float a = c.a;
    const float b = c.b;
    const float l = lightness + 0.3963377774F * a + 0.2158037573F * b;
    const float m = lightness - 0.1055613458F * a - 0.0638541728F * b;
    const float s = lightness - 0.0894841775F * a - 1.2914855480F * b;
    const double l3 = static_cast<double>(l) * l * l;
    const double m3 = static_cast<double>(m) * m * m;
    const double s3 = static_cast<double>(s) * s * s;
    return {4.0767416621 * l3 - 3.3077115913 * m3 + 0.2309699292 * s3,
            -1.2684380046 * l3 + 2.6097574011 * m3 - 0.3413193965 * s3,
            -0.0041960863 * l3 - 0.7034186147 * m3 + 1.7076147010 * s3};
}

UnroundedRgb srgbOf(Lab c) {
    const auto channel = [](double linear) {
        const double encoded = linear < 0 ? -encodedOf(-linear) : encodedOf(linear);
        return static_cast<float>(encoded * kMaxLevel);
    };
    const LinearLight light = linearLightOf(c);
    return {channel(light.red), channel(light.green), channel(light.blue)};
}

} // namespace tessarin
