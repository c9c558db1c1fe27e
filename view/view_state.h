#pragma once

#include "document/view_geometry.h"
#include "document/vocabulary.h"
#include "vdp/colour_model.h"
#include "vdp/screen_modes.h"
#include "view/view_placement.h"

#include <optional>

namespace tessarin {

// What the user chose for how the picture shows: its size (the Automatic one or a size of
// the Size menu) and rotation, the VDP's colour model, the zoom, fit or stretch to the
// window, the TV's pixel shape and the full screen's look. The window gives the size and
// colours to the document, which renders them; the rest places the rendered picture. A
// new view is the Automatic size unrotated, levels, zoom 1, square pixels, not fitted.
class ViewState {
public:
    // --- Size, rotation, colours: what the document is told to render.

    // From now on the size follows the picture so that every pixel shows.
    void setAutomaticSize() { automaticSize_ = true; }
    // A size of the Size menu, kept when files and modes change.
    void setSize(ViewSize size);
    void setRotated(bool rotated) { rotated_ = rotated; }
    void setColourModel(ColourModel model) { colourModel_ = model; }

    [[nodiscard]] bool automaticSize() const { return automaticSize_; }
    [[nodiscard]] bool rotated() const { return rotated_; }
    [[nodiscard]] ColourModel colourModel() const { return colourModel_; }
    // The view mode of a picture in mode, interlaced while a VRAM1 file is open: the size
    // chosen, or the Automatic size of mode (automaticSizeOf), at the rotation.
    [[nodiscard]] ViewMode viewModeFor(ScreenMode mode, bool interlaced) const;

    // --- Zoom and fit: where the rendered picture goes in the window.

    // The zoom, within kMinZoom to kMaxZoom; leaves Fit and Stretch to Window.
    void setZoom(int zoom);
    // Zooms by steps from the picture as shown (placedIn the area): from a zoom, steps
    // zooms on; fitted or stretched, to the whole zooms past its size (zoomPastFit). A
    // picture without pixels zooms on from the zoom.
    void zoomBy(int steps, ViewMode viewMode, ImageSize picture, ImageSize area);
    void setFitToWindow(bool on) { fitToWindow_ = on; }
    void setStretchToWindow(bool on) { stretchToWindow_ = on; }
    void setPixelAspect(PixelAspect aspect) { aspect_ = aspect; }

    // The zoom of the Zoom commands (kMinZoom to kMaxZoom), kept while fitted or stretched.
    [[nodiscard]] int zoom() const { return zoom_; }
    [[nodiscard]] bool fitsToWindow() const { return fitToWindow_; }
    [[nodiscard]] bool stretchesToWindow() const { return stretchToWindow_; }
    // How the picture fills the window: Stretch before Fit to Window before the zoom.
    [[nodiscard]] ViewFit fit() const;
    // Whether Zoom In, or Zoom Out, changes anything: always from a fitted picture.
    [[nodiscard]] bool canZoomIn() const;
    [[nodiscard]] bool canZoomOut() const;
    [[nodiscard]] PixelAspect pixelAspect() const { return aspect_; }
    // How much wider a pixel of the view mode's image shows than it is tall (pixelAspectOf).
    [[nodiscard]] double pixelShape(ViewMode viewMode) const;
    // The picture's size at the zoom for a view mode of pages of lines; nothing for an
    // unknown view mode.
    [[nodiscard]] std::optional<ImageSize> zoomedView(ViewMode viewMode, int lines) const;
    // Where the picture, rendered at viewMode, goes in an area of the window (placeView).
    [[nodiscard]] ViewRect placedIn(ViewMode viewMode, ImageSize picture, ImageSize area) const;

    // --- Full screen.

    // The picture fitted to the screen unless stretched (on); back to the fit from before
    // where the user kept the one full screen chose (off).
    void setFullScreenLook(bool on);
    // While the full screen's look shows.
    [[nodiscard]] bool fullScreenLook() const { return fullScreenLook_; }

private:
    bool automaticSize_ = true;
    ViewSize size_ = ViewSize::plain256x212;
    bool rotated_ = false;
    ColourModel colourModel_ = ColourModel::levels;
    int zoom_ = kMinZoom;
    bool fitToWindow_ = false;
    bool stretchToWindow_ = false;
    PixelAspect aspect_ = PixelAspect::square;
    bool fullScreenLook_ = false;
    bool fitBeforeFullScreen_ = false;
};

} // namespace tessarin
