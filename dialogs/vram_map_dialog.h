#pragma once

#include "document/screen_document.h"

#include <QDialog>
#include <array>
#include <cstdint>

class QButtonGroup;
class QFrame;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QShowEvent;
class QSpinBox;
class QTabWidget;
class QWidget;

// The VRAM mapping dialog: header sizes and pixels per line of the two VRAM files, with
// a dump of each file's first bytes, and the palette source with its 16 colours. It edits
// `mapping`, a copy of the document's, and writes it back only on OK; the palette buttons
// act on the document's VDP at once. `document` must be set before every showing.
class TdlgDlgVRAMMap : public QDialog {
    Q_OBJECT

public:
    explicit TdlgDlgVRAMMap(QWidget* parent = nullptr);

    // Takes the up-down positions into the working copy for slot 0 or 1; others do nothing.
    void StoreSlotSettings(int slot);
    // Fills the "VRAM Loading" tab for slot 0 or 1 from the document and the working copy;
    // others do nothing. The dump opens the slot's file anew: FileError when it cannot.
    void ShowSlotSettings(int slot);
    // Paints the panels with the active palette of the document's VDP.
    void ShowPaletteColors();

    tessarin::TScreenDocument* document = nullptr; // not owned
    tessarin::VramMapping mapping;                 // the working copy
    std::int32_t currentSlot = 0;                  // 0 VRAM0, 1 VRAM1

    QPushButton* btnOK;
    QPushButton* btnCancel;
    QTabWidget* VMPageControl;
    QWidget* tabsVRAMLoad;
    QWidget* tabsPalette;
    QGroupBox* radgrpVRAMPage;
    QButtonGroup* radgrpVRAMPageItems; // ids 0 and 1, the slots
    QLabel* lblVRAMFileName;
    QLineEdit* edtVRAMFileName;
    QLabel* lblHeaderSize;
    QSpinBox* updHeaderSize;
    QLineEdit* edtHeaderSize; // the text field inside updHeaderSize
    QLabel* lbl1LinePixels;
    QSpinBox* upd1LinePixels;
    QLineEdit* edt1LinePixels; // the text field inside upd1LinePixels
    QPlainTextEdit* memHeaderBytes;
    QPushButton* btnScreen5;
    QPushButton* btnScreen7;
    QLabel* lblPaletteFileName;
    QLineEdit* edtPaletteFileName;
    QPushButton* btnPalFile;
    QPushButton* btnPalVRAM;
    QPushButton* btnPalStandard;
    std::array<QLabel*, tessarin::kPaletteColours> lblPal; // lblPal0 .. lblPal15
    std::array<QFrame*, tessarin::kPaletteColours> pnlPal; // pnlPal0 .. pnlPal15

public slots:
    void FormShow();
    void radgrpVRAMPageClick();
    void btnScreen5Click();
    void btnScreen7Click();
    void btnPalFileClick();
    void btnPalVRAMClick();
    void btnPalStandardClick();
    void btnOKClick();

protected:
    void showEvent(QShowEvent* event) override;

private:
    QWidget* buildVramLoadTab();
    QWidget* buildPaletteTab();
    void fillHeaderDump(const std::string& fileName);
};
