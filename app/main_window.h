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
class ClientArea;
class AboutBox;
class VramMappingDialog;

// The main window: shows the picture of the one document, which every change renders
// into the temporary BMP file, and carries the menu of all commands. Errors leave the
// commands uncaught; the application's notify() shows them.
class MainWindow : public QMainWindow {
    Q_OBJECT

public:
    // Makes the temporary file and the document, sets 256x212 unrotated and screen 7,
    // accepts drops, then opens the first two of arguments (the command line after the
    // program name) by their names. Throws FileError when no temporary file can be made.
    explicit MainWindow(const std::vector<std::string>& arguments, QWidget* parent = nullptr);
    // Deletes the temporary file if closeDocument has not.
    ~MainWindow() override;

    // Palette when the third character from the end is "P" or "p", else VRAM0 after the
    // screen mode that the last character names, if any.
    void openFileByName(const std::string& fileName);
    // Loads the file into the slot, renders and paints; a missing or empty file changes
    // nothing in the document but everything else happens the same.
    void openFileInto(const std::string& fileName, tessarin::FileSlot slot);
    // Sets the VDP's mode, the Screen check marks and both line widths; with a picture
    // shown, reloads every file and renders.
    void selectScreenMode(tessarin::ScreenMode mode);
    // Sets the Size check marks, the client size and viewMode from size and the rotation
    // mark; with a picture shown, renders (no reload).
    void setViewSize(tessarin::ViewSize size);
    // Has the client area painted from the temporary file; nothing without a picture.
    void paintPicture();
    // Draws the temporary file, read afresh, stretched over the whole client area.
    void paintClientArea(QPainter& canvas);
    void clientAreaResized();
    // Destroys the document and deletes the temporary file; from then on nothing is painted.
    void closeDocument();
    // Opens the first two local files of a drop, in the order given.
    void openDroppedFiles(QDropEvent* event);
    // Flips the rotation of the view and keeps its size; viewMode decides, not the mark.
    void toggleRotation();

    bool hasPicture = false;
    std::unique_ptr<tessarin::ScreenDocument> document;
    std::string tempBitmapFileName;

    MainMenu menu;
    QFileDialog* openDialog;
    QFileDialog* saveDialog;
    ClientArea* clientArea;
    // Created by the start-up after this window and kept beside it; not owned.
    VramMappingDialog* mappingDialog = nullptr;
    AboutBox* aboutBox = nullptr;

public slots:
    void openVram0File();
    void openVram1File();
    void openPaletteFile();
    void saveAs();
    void exitProgram();
    void size256x212Clicked();
    void size512x424magnifyClicked();
    void size512x424interlaceClicked();
    void size256x424jointClicked();
    void rotateClicked();
    void screen5Clicked();
    void screen6Clicked();
    void screen7Clicked();
    void screen8Clicked();
    void screen10Clicked();
    void screen12Clicked();
    void copyVram0ToVram1();
    void editVramMapping();
    void showAbout();

protected:
    void closeEvent(QCloseEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    // Shows the open dialog with the filter of that index (from 1); on OK opens the
    // chosen file into slot.
    void openWithDialog(int filterIndex, tessarin::FileSlot slot);
    // The document writes the picture into the temporary file, and the window shows it.
    void renderPicture();
    // Makes the client area exactly the size given, the menu bar above it.
    void setClientSize(tessarin::ImageSize size);
};
