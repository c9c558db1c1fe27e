#pragma once

#include "document/screen_document.h"
#include "document/view_placement.h"

#include <vector>

class QLabel;
class QStatusBar;

namespace tessarin {

// The status bar's fields: the file and its place ("A.SC5  1 / 2"), the screen mode, the
// layout found, the palette in effect and why, and the size with the zoom; for a file on a
// damaged disk, what is wrong with the disk.
class StatusText {
public:
    // Adds the fields to bar, named statusFile, statusMode, statusLayout, statusPalette and
    // statusSize.
    explicit StatusText(QStatusBar* bar);

    // The fields for the document as shown at fit and zoom.
    void show(const ScreenDocument& document, ViewFit fit, int zoom);
    // "Last file" or "First file" for a while: browsing found no file further.
    void showEndOfFolder(bool last);
    // For a while: browsing stepped over files that cannot be read (the first one's error
    // and their count), and when it found no file further, that end too.
    void showSkipped(const std::vector<FileError>& skipped, bool atEnd, bool last);

private:
    // The damage field: the first problem, their count, all of them in its tooltip.
    void showDamage(const std::vector<FileError>& damage);

    QStatusBar* bar_;
    QLabel* file_;
    QLabel* mode_;
    QLabel* layout_;
    QLabel* palette_;
    QLabel* size_;
    QLabel* damage_; // shown only for a damaged disk
};

} // namespace tessarin
