#pragma once

#include <QString>
#include <QStringList>

class QFileDialog;
class QWidget;

namespace tessarin {

// Turns a filter list of "text|pattern|text|pattern" pairs into name filters of the
// file dialog, "text (patterns)". Each pattern matches whatever the case of its letters
// ("*.S??" becomes "*.[Ss]??"), and "*.*" means every file. An unpaired last text is
// dropped.
[[nodiscard]] QStringList nameFiltersOf(const QString& filterList);

// The open commands' filter list: screen files and disk images (kScreenFilter), palettes
// (kPaletteFilter), every file; every extension the name rule knows.
[[nodiscard]] QString openFilters();
inline constexpr int kScreenFilter = 1;
inline constexpr int kPaletteFilter = 2;

// Save As's filter list: BMP (kBitmapFilter), PNG (kPngFilter), the MSX screens 2 to 8
// and 12 after them, every file.
[[nodiscard]] QString saveFilters();
inline constexpr int kBitmapFilter = 1;
inline constexpr int kPngFilter = 2;

// Qt's own file dialog (the same on every desktop, and one that tests can drive) named
// name, with the filters of filterList shown by their texts; its completion popup closes
// with it.
[[nodiscard]] QFileDialog* makeFileDialog(QWidget* parent, const char* name,
                                          const QString& filterList);
// Chooses the dialog's filter at filterIndex (from 1).
void selectFilter(QFileDialog* dialog, int filterIndex);
// Whether filter, as the dialog reports it, is its filter at filterIndex (from 1).
[[nodiscard]] bool isFilter(const QFileDialog* dialog, const QString& filter, int filterIndex);

} // namespace tessarin
