#pragma once

#include "image/image_format.h"

#include <QString>
#include <QTemporaryDir>
#include <memory>
#include <optional>
#include <string>

class QWidget;

namespace tessarin {

// File > Import Picture: a PNG or JPEG file chosen, converted to the screen chosen in its
// dialog, and written as a screen file into a private temporary folder (removed with the
// window, or as the process exits), from where the window opens it as an unsaved document:
// Save As writes it elsewhere, and it goes with the window unless saved.
class ImportPicture {
public:
    // A screen file made of a picture.
    struct Imported {
        std::string screenFile; // in the temporary folder
        std::string companion;  // its page 1 beside it when interlaced, else empty
        QString sourceFolder;   // the picture's
        ImageFormat format;     // the screen's
        bool largeSprites;      // shown with 16x16 sprites, as its sprites were placed
    };

    // Asks for the picture (starting in folder) and its screen; the screen file made,
    // nothing when the user cancelled. Throws FileError naming a picture that cannot be
    // read or a screen file that cannot be written.
    [[nodiscard]] std::optional<Imported> run(QWidget* parent, const QString& folder);

private:
    std::unique_ptr<QTemporaryDir> folder_; // made at the first import
};

} // namespace tessarin
