#pragma once

#include "app/view_settings.h"
#include "document/screen_document.h"
#include "image/image_format.h"

#include <QString>

class QFileDialog;
class QWidget;

namespace tessarin {

// File > Save As: the dialog, the format the name gets, and the checks before anything is
// written. The file holds the picture the window shows at zoom 1: the document's picture
// finished at the window's pixel aspect, as the exporter's --aspect does (finishPicture);
// an MSX screen format converts that picture again (encode), as the exporter does.
class SaveAs {
public:
    // The dialog is made at its first use, a child of parent; folders go to settings.
    SaveAs(QWidget* parent, ViewSettings& settings);

    // Where the dialog starts: its filter, and a file already in that format (an import's
    // screen file, and its page 1 when interlaced), written as it is when that format is
    // chosen: the page 1 under the name paired with the target (X.S17 beside X.SC7).
    struct Start {
        ImageFormat format = ImageFormat::bmp;
        std::string fileOfFormat;
        std::string companion;
    };

    // Asks for a name, starting in folder with the VRAM0 file's base name and the filter of
    // start. A name whose extension is an image format's is written in it; any other name
    // gets the chosen filter's extension added. A file the picture is read from is refused
    // (FileError) before anything is asked; an existing file is replaced only when the user
    // agrees. Whether the file was written; throws FileError naming the target when it
    // cannot be.
    bool run(const ScreenDocument& document, PixelAspect aspect, const QString& folder,
             const Start& start);

private:
    QFileDialog* dialog();
    // Whether fileName may be written: nothing is there (not even a dangling link), or the
    // user agrees to replace it.
    [[nodiscard]] bool mayReplace(const QString& fileName) const;

    QWidget* parent_;
    ViewSettings& settings_;
    QFileDialog* dialog_ = nullptr;
};

} // namespace tessarin
