#pragma once

#include "convert/msx_screen.h"

#include <QDialog>
#include <vector>

class QCheckBox;
class QComboBox;
class QLabel;
class QSpinBox;

// File > Import Picture's dialog: the screen a PNG or JPEG picture becomes, how it fits
// the frame and how it is dithered, for screen 2 how many sprites may be placed over it
// (16x16), with the result previewed as the machine shows it (decoded from the file's
// bytes) and its colour difference, or, with Show the Error checked, the error seen from a
// distance as a heat map over it. Its widgets are named
// (objectName) as the members that hold them.
class ImportPictureDialog : public QDialog {
    Q_OBJECT

public:
    // source must outlive the dialog.
    ImportPictureDialog(const tessarin::SourceImage& source, QWidget* parent = nullptr);

    // The screen chosen and the picture made for it with the choices shown.
    [[nodiscard]] tessarin::MsxScreen screen() const;
    [[nodiscard]] const tessarin::MsxEncoding& encoding() const { return encoding_; }
    // Whether the screen chosen is screen 2 with sprites asked for.
    [[nodiscard]] bool placesSprites() const;
    // Whether the picture made is interlaced: a screen file and its page-1 companion.
    [[nodiscard]] bool interlaced() const;

private:
    // Encodes the picture with the choices shown and shows the result.
    void preview();
    // The result made, or its heat map with the map's legend, as Show the Error is checked.
    void showPreview();

    const tessarin::SourceImage& source_;
    tessarin::MsxEncoding encoding_;
    std::vector<float> errorMap_; // the encoding's error seen from a distance, pixel by pixel
    QComboBox* screenBox_;
    QComboBox* fitBox_;
    QComboBox* ditherBox_;
    QCheckBox* interlaceBox_;
    QCheckBox* showErrorBox_;
    QSpinBox* spritesBox_;
    QLabel* previewLabel_;
    QWidget* legend_;
    QLabel* errorLabel_;
};
