#pragma once

#include "document/screen_document.h"
#include "view/view_placement.h"

#include <vector>

class ElidedLabel;
class QLabel;
class QStatusBar;

namespace tessarin {

// The status bar's fields: the file's place among its folder's ("1 / 2"), its name, the
// screen mode, the layout found, the palette in effect and why, and the size with the zoom;
// for a file on a damaged disk, what is wrong with the disk. Each field keeps a width it
// reads at (the window is no narrower than they are together); a longer name or text is
// cut with "…" and shown whole in the field's tooltip.
class StatusText {
public:
    // Adds the fields to bar, named statusPlace, statusFile, statusMode, statusLayout,
    // statusPalette, statusSize and statusDamage.
    explicit StatusText(QStatusBar* bar);

    // The fields for the document as shown at fit and zoom.
    void show(const ScreenDocument& document, ViewFit fit, int zoom);
    // The fields for the thumbnail grid of folder: the selected file's place among count
    // (from 1; 0 for none) and its name, the folder's name when none; the picture's fields
    // empty; a damaged disk's problems.
    void showGrid(const std::string& folder, const std::string& selected, int place, int count);
    // "Last file" or "First file" for a while: browsing found no file further.
    void showEndOfFolder(bool last);
    // For a while: browsing stepped over files that cannot be read (the first one's error
    // and their count), and when it found no file further, that end too.
    void showSkipped(const std::vector<FileError>& skipped, bool atEnd, bool last);

private:
    // The status bar at least as wide as its fields need to read, the damage field's too
    // when the disk is damaged.
    void keepFieldsReadable(bool damaged);
    // The damage field: the first problem, their count, all of them in its tooltip.
    void showDamage(const std::vector<FileError>& damage);

    QStatusBar* bar_;
    QLabel* place_;
    ElidedLabel* file_;
    ElidedLabel* mode_;
    ElidedLabel* layout_;
    ElidedLabel* palette_;
    QLabel* size_;
    QLabel* damage_; // shown only for a damaged disk
};

} // namespace tessarin
