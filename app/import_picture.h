#pragma once

#include <QString>
#include <QTemporaryDir>
#include <memory>
#include <optional>
#include <string>

class QWidget;

namespace tessarin {

// File > Import Picture: a PNG or JPEG file chosen, converted to the screen chosen in its
// dialog, and written as a screen file into a private temporary folder (removed with the
// window), from where the window opens it as any screen file. Save As writes it elsewhere.
class ImportPicture {
public:
    // Asks for the picture (starting in folder) and its screen; the screen file to open,
    // nothing when the user cancelled. Throws FileError naming a picture that cannot be
    // read or a screen file that cannot be written.
    [[nodiscard]] std::optional<std::string> run(QWidget* parent, const QString& folder);

private:
    std::unique_ptr<QTemporaryDir> folder_; // made at the first import
};

} // namespace tessarin
