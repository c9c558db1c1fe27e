#include "image/picture.h"

#include <algorithm>
#include <cstddef>
#include <utility>

namespace tessarin {

Picture::Picture(const Picture& other) {
    *this = other;
}

Picture& Picture::operator=(const Picture& other) {
    if (this != &other) {
        resize(other.width_, other.height_);
        std::copy(other.pixels().begin(), other.pixels().end(), storage_.get());
    }
    return *this;
}

Picture::Picture(Picture&& other) noexcept {
    *this = std::move(other);
}

Picture& Picture::operator=(Picture&& other) noexcept {
    if (this != &other) {
        width_ = std::exchange(other.width_, 0);
        height_ = std::exchange(other.height_, 0);
        capacity_ = std::exchange(other.capacity_, 0);
        storage_ = std::move(other.storage_);
    }
    return *this;
}

void Picture::resize(int width, int height) {
    const auto count = static_cast<std::size_t>(width) * static_cast<std::size_t>(height);
    if (count > capacity_) {
        storage_ = std::make_unique_for_overwrite<RgbTriple[]>(count);
        capacity_ = count;
    }
    width_ = width;
    height_ = height;
}

bool operator==(const Picture& a, const Picture& b) {
    return a.width_ == b.width_ && a.height_ == b.height_ &&
           std::equal(a.pixels().begin(), a.pixels().end(), b.pixels().begin());
}

std::span<const RgbTriple> Picture::pixels() const {
    return {storage_.get(), static_cast<std::size_t>(width_) * static_cast<std::size_t>(height_)};
}

std::span<RgbTriple> Picture::pixels() {
    return {storage_.get(), static_cast<std::size_t>(width_) * static_cast<std::size_t>(height_)};
}

std::span<const RgbTriple> Picture::row(int r) const {
    return pixels().subspan(static_cast<std::size_t>(r) * static_cast<std::size_t>(width_),
                            static_cast<std::size_t>(width_));
}

std::span<RgbTriple> Picture::row(int r) {
    return pixels().subspan(static_cast<std::size_t>(r) * static_cast<std::size_t>(width_),
                            static_cast<std::size_t>(width_));
}

} // namespace tessarin
