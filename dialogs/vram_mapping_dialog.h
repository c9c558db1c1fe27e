#pragma once

#include "document/screen_document.h"

#include <QDialog>
#include <array>
#include <cstdint>

class QButtonGroup;
class QCheckBox;
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
// mapping(), a copy of the document's, which the window applies after OK; the palette
// buttons preview their palette on the document at once (the window restores the
// mapping's after Cancel). The document must be set before every showing. Its widgets are
// named (objectName) as the members that hold them.
class VramMappingDialog : public QDialog {
    Q_OBJECT

public:
    explicit VramMappingDialog(QWidget* parent = nullptr);

    // Takes the up-down positions into the working copy for slot 0 or 1; others do nothing.
    void storeSlotSettings(tessarin::FileSlot slot);
    // Fills the "VRAM Loading" tab for slot 0 or 1 from the document and the working copy;
    // others do nothing. The dump opens the slot's file anew: FileError when it cannot.
    void showSlotSettings(tessarin::FileSlot slot);
    // Paints the panels with the active palette of the document's VDP.
    void showPaletteColours();

    // The document the dialog shows and previews palettes on; not owned.
    void setDocument(tessarin::ScreenDocument* document) { document_ = document; }
    // The working copy: the document's mapping as shown, with the user's changes.
    [[nodiscard]] const tessarin::VramMapping& mapping() const { return mapping_; }
    // The slot whose settings the "VRAM Loading" tab shows: VRAM0 or VRAM1.
    [[nodiscard]] tessarin::FileSlot currentSlot() const { return currentSlot_; }

public slots:
    void showDocumentSettings();
    void slotChosen();
    void setNarrowLinePixels();
    void setWideLinePixels();
    void useFilePalette();
    void useVramPalette();
    void useStandardPalette();
    void useAutomaticPalette();
    void confirm();

protected:
    void showEvent(QShowEvent* event) override;

private:
    // Makes source the working copy's palette source and shows its colours on the VDP.
    void previewPalette(tessarin::PaletteSource source);

    QWidget* buildVramLoadTab();
    QWidget* buildPaletteTab();
    void fillHeaderDump(const std::string& fileName);

    tessarin::ScreenDocument* document_ = nullptr;
    tessarin::VramMapping mapping_;
    tessarin::FileSlot currentSlot_ = tessarin::FileSlot::vram0;

    QPushButton* okButton;
    QPushButton* cancelButton;
    QTabWidget* tabs;
    QWidget* vramLoadingTab;
    QWidget* paletteTab;
    QGroupBox* slotGroup;
    QButtonGroup* slotButtons; // ids 0 and 1, the slots
    QLabel* fileNameLabel;
    QLineEdit* fileNameField;
    QLabel* headerSizeLabel;
    QSpinBox* headerSizeBox;
    QLineEdit* headerSizeField; // the text field inside headerSizeBox
    QLabel* linePixelsLabel;
    QSpinBox* linePixelsBox;
    QLineEdit* linePixelsField; // the text field inside linePixelsBox
    QPlainTextEdit* headerDump;
    QLabel* layoutFound;       // what the VRAM0 file's own layout is
    QCheckBox* fixedLayoutBox; // the header size and line pixels in force
    QPushButton* narrowLinesButton;
    QPushButton* wideLinesButton;
    QLabel* paletteFileLabel;
    QLineEdit* paletteFileField;
    QPushButton* filePaletteButton;
    QPushButton* vramPaletteButton;
    QPushButton* standardPaletteButton;
    QPushButton* automaticPaletteButton;
    QLabel* sourceInEffect; // which palette the chosen source shows
    std::array<QLabel*, tessarin::kPaletteColours> colourLabels; // lblPal0 .. lblPal15
    std::array<QFrame*, tessarin::kPaletteColours> colourPanels; // pnlPal0 .. pnlPal15
};
