#pragma once

#include "colour/rgb_triple.h"

#include <cstddef>
#include <memory>
#include <span>

namespace tessarin {

// The pixels of one view, rendered in memory: rows top first, each row left to right, in
// the blue-green-red order of RgbTriple. The window paints it, the BMP and PNG encoders
// write it.
class Picture {
public:
    Picture() = default;
    Picture(const Picture& other);
    Picture& operator=(const Picture& other);
    // The moved-from picture is empty (0 x 0, no storage).
    Picture(Picture&& other) noexcept;
    Picture& operator=(Picture&& other) noexcept;

    // Makes the picture width x height, its pixels left as they were or unset: every
    // render writes each of them, so they are not cleared first.
    void resize(int width, int height);

    [[nodiscard]] int width() const { return width_; }
    [[nodiscard]] int height() const { return height_; }
    [[nodiscard]] bool empty() const { return width_ == 0 || height_ == 0; }
    // All pixels, row after row.
    [[nodiscard]] std::span<const RgbTriple> pixels() const;
    [[nodiscard]] std::span<RgbTriple> pixels();
    // Row r, 0 at the top.
    [[nodiscard]] std::span<const RgbTriple> row(int r) const;
    [[nodiscard]] std::span<RgbTriple> row(int r);

    // The same size and the same pixels.
    friend bool operator==(const Picture& a, const Picture& b);

private:
    int width_ = 0;
    int height_ = 0;
    std::size_t capacity_ = 0;
    // Not a vector: it would set every pixel before the render sets it again, which
    // costs as much as the render in instrumented builds.
    std::unique_ptr<RgbTriple[]> storage_;
};

} // namespace tessarin
