#pragma once

#include "app/main_menu.h"
#include "document/screen_document.h"
#include "document/view_geometry.h"

#include <QMainWindow>
#include <memory>
#include <string>
#include <vector>

class QFileDialog;
class QPainter;
class TClientArea;
class TdlgAboutBox;
class TdlgDlgVRAMMap;

// The main window: shows the picture of the one document, which every change renders
// into the temporary BMP file, and carries the menu of all commands. Errors leave the
// commands uncaught; the application's notify() shows them.
class TfrmMainForm : public QMainWindow {
    Q_OBJECT

public:
    // Makes the temporary file and the document, sets 256x212 unrotated and screen 7,
    // accepts drops, then opens the first two of arguments (the command line after the
    // program name) by their names. Throws FileError when no temporary file can be made.
    explicit TfrmMainForm(const std::vector<std::string>& arguments, QWidget* parent = nullptr);
    // Deletes the temporary file if FormClose has not.
    ~TfrmMainForm() override;

    // Palette when the third character from the end is "P" or "p", else VRAM0 after the
    // screen mode that the last character names, if any.
    void OpenFileByName(const std::string& fileName);
    // Loads the file into the slot, renders and paints; a missing or empty file changes
    // nothing in the document but everything else happens the same.
    void OpenFileInto(const std::string& fileName, int slot);
    // Sets the VDP's mode, the Screen check marks and both line widths; with a picture
    // shown, reloads every file and renders.
    void SelectScreenMode(tessarin::ScreenMode mode);
    // Sets the Size check marks, the client size and viewMode from size and the rotation
    // mark; with a picture shown, renders (no reload).
    void SetViewSize(tessarin::ViewSize size);
    // Has the client area painted from the temporary file; nothing without a picture.
    void PaintPicture();
    // Draws the temporary file, read afresh, stretched over the whole client area.
    void FormPaint(QPainter& canvas);
    void FormResize();
    // Destroys the document and deletes the temporary file; from then on nothing is painted.
    void FormClose();
    // Opens the first two local files of a drop, in the order given.
    void WMDropFiles(QDropEvent* event);
    // Flips the rotation of the view and keeps its size; viewMode decides, not the mark.
    void ToggleRotation();

    bool hasPicture = false;
    std::unique_ptr<tessarin::TScreenDocument> document;
    std::string tempBitmapFileName;

    TMainMenu menu;
    QFileDialog* ofnOpenDialog;
    QFileDialog* ofnSaveDialog;
    TClientArea* clientArea;
    // Created by the start-up after this window and kept beside it; not owned.
    TdlgDlgVRAMMap* dlgDlgVRAMMap = nullptr;
    TdlgAboutBox* dlgAboutBox = nullptr;

public slots:
    void mnuPage0OpenClic();
    void mnuVRAM1OpenClick();
    void mnuPaletteOpenClick();
    void mnuSaveAsClick();
    void mnuExitClick();
    void mnu256x212Click();
    void mnu512x424magClick();
    void mnu512x424intClick();
    void mnu256x424joiClick();
    void mnuRotateClick();
    void mnuScreen5Click();
    void mnuScreen6Click();
    void mnuScreen7Click();
    void mnuScreen8Click();
    void mnuScreen10Click();
    void mnuScreen12Click();
    void mnuVRAMCopyClick();
    void mnuVRAMMapClick();
    void mnuAboutClick();

protected:
    void closeEvent(QCloseEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    // Shows the open dialog with the filter of that index (from 1); on OK opens the
    // chosen file into slot.
    void OpenWithDialog(int filterIndex, int slot);
    // The document writes the picture into the temporary file, and the window shows it.
    void RenderPicture();
    // Makes the client area exactly the size given, the menu bar above it.
    void SetClientSize(tessarin::ImageSize size);
};
