#pragma once

#include "document/screen_document.h"
#include "document/view_placement.h"

class QLabel;
class QStatusBar;

namespace tessarin {

// The status bar's fields: the file and its place ("A.SC5  1 / 2"), the screen mode, the
// layout found, the palette in effect and why, and the size with the zoom.
class StatusText {
public:
    // Adds the fields to bar, named statusFile, statusMode, statusLayout, statusPalette and
    // statusSize.
    explicit StatusText(QStatusBar* bar);

    // The fields for the document as shown at fit and zoom.
    void show(const ScreenDocument& document, ViewFit fit, int zoom);
    // "Last file" or "First file" for a while: browsing found no file further.
    void showEndOfFolder(bool last);

private:
    QStatusBar* bar_;
    QLabel* file_;
    QLabel* mode_;
    QLabel* layout_;
    QLabel* palette_;
    QLabel* size_;
};

} // namespace tessarin
