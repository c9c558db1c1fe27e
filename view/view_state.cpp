#include "view/view_state.h"

#include <algorithm>

namespace tessarin {

void ViewState::setSize(ViewSize size) {
    automaticSize_ = false;
    size_ = size;
}

ViewMode ViewState::viewModeFor(ScreenMode mode, bool interlaced) const {
    return viewModeOf(automaticSize_ ? automaticSizeOf(mode, interlaced) : size_, rotated_);
}

void ViewState::setZoom(int zoom) {
    zoom_ = std::clamp(zoom, kMinZoom, kMaxZoom);
    fitToWindow_ = false;
    stretchToWindow_ = false;
}

void ViewState::zoomBy(int steps, ViewMode viewMode, ImageSize picture, ImageSize area) {
    if (fit() == ViewFit::zoom || picture.width <= 0) {
        setZoom(zoom_ + steps);
        return;
    }
    setZoom(zoomPastFit(picture, pixelShape(viewMode), placedIn(viewMode, picture, area), steps));
}

ViewFit ViewState::fit() const {
    if (stretchToWindow_) {
        return ViewFit::stretch;
    }
    return fitToWindow_ ? ViewFit::window : ViewFit::zoom;
}

bool ViewState::canZoomIn() const {
    return fit() != ViewFit::zoom || zoom_ < kMaxZoom;
}

bool ViewState::canZoomOut() const {
    return fit() != ViewFit::zoom || zoom_ > kMinZoom;
}

double ViewState::pixelShape(ViewMode viewMode) const {
    return pixelAspectOf(viewMode, aspect_);
}

std::optional<ImageSize> ViewState::zoomedView(ViewMode viewMode, int lines) const {
    const auto image = imageSizeOf(viewMode, lines);
    if (!image) {
        return std::nullopt;
    }
    return zoomedSize(*image, pixelShape(viewMode), zoom_);
}

ViewRect ViewState::placedIn(ViewMode viewMode, ImageSize picture, ImageSize area) const {
    return placeView(picture, pixelShape(viewMode), area, fit(), zoom_);
}

void ViewState::setFullScreenLook(bool on) {
    fullScreenLook_ = on;
    if (on) {
        fitBeforeFullScreen_ = fitToWindow_;
        fitToWindow_ = fitToWindow_ || !stretchToWindow_;
    } else if (fit() == ViewFit::window) {
        fitToWindow_ = fitBeforeFullScreen_;
    }
}

} // namespace tessarin
