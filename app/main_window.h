#pragma once

#include "app/import_picture.h"
#include "app/main_menu.h"
#include "app/recent_files.h"
#include "app/save_as.h"
#include "app/status_text.h"
#include "app/thumbnail_mode.h"
#include "app/view_settings.h"
#include "document/screen_document.h"
#include "vdp/colour_model.h"
#include "view/view_state.h"

#include <QMainWindow>
#include <QStringList>
#include <memory>
#include <optional>
#include <string>
#include <vector>

class QAction;
class QFileDialog;
class QFileInfo;
class QKeyEvent;
class PictureView;
class AboutBox;
class KeysWindow;
class VramMappingDialog;

// The main window: shows the picture of the one document and carries the menu of all
// commands. Each command is one document operation or a choice of the view (ViewState),
// which the window gives to the document; then the picture is rendered in memory and shown
// by the PictureView. Settings, Recent Files, Save As and the status bar are classes of
// their own. The public operations throw FileError naming the file; the commands (slots),
// drops and start-up catch and report it, and the window shows its last state.
class MainWindow : public QMainWindow {
    Q_OBJECT

public:
    // Makes the document, sets the Automatic size unrotated and screen 7, accepts drops,
    // then opens arguments (the files of the command line) by their names: the first
    // picture that opens, then the palettes and pages named (sortNamedFiles); browsing goes
    // through the pictures named when there are several. The errors of names that cannot
    // be opened are kept for startUpErrors.
    explicit MainWindow(const std::vector<std::string>& arguments, QWidget* parent = nullptr);

    // By the file-name rule (the document's openByName), then shows the picture; a folder
    // or disk image opens at its first picture and shows its thumbnail grid, one of places
    // only (placesIn) its grid without a picture. A file for
    // VRAM0 over an unsaved import asks first (mayLoseImport); kept, nothing changes.
    void openFileByName(const std::string& fileName);
    // Opens screenFile, chosen in the grid, as a step through its folder opens it, and
    // shows it in the single view; a place chosen (a folder, disk image, archive) opens as
    // openFileByName opens it. Over an unsaved import, asks first.
    void openFromGrid(const std::string& screenFile);
    // The grid and the single view in the window's place.
    [[nodiscard]] const ThumbnailMode& thumbnails() const { return thumbnails_; }
    // Loads the file into the slot and shows the picture; the caption names a VRAM0 file.
    // Into VRAM0 over an unsaved import, asks first.
    void openFileInto(const std::string& fileName, tessarin::FileSlot slot);
    // The document's selectScreenMode; with a picture, shows it again.
    void selectScreenMode(tessarin::ScreenMode mode);
    // The size at the current rotation: client area and view mode; with a picture, shows it.
    // The size stays when files and modes change.
    void setViewSize(tessarin::ViewSize size);
    // From now on the size follows the picture so that every pixel shows (automaticSizeOf
    // the screen mode, interlaced with a VRAM1 file), at the current rotation.
    void setAutomaticSize();
    // Flips the rotation of the view and keeps its size; an unknown view mode stays as it is.
    void toggleRotation();
    // Zooms by steps (up or down) from the zoom shown, within 1 to 8, leaving Fit to
    // Window (from a fitted picture, to the whole zooms past its size shown: zoomPastFit); the
    // client area takes the zoomed size unless the window is full screen, as far as the screen
    // holds it: a larger picture scrolls.
    void zoomBy(int steps);
    // Zoom 1, the view's own size.
    void setZoom(int zoom);
    // The picture as large as the window holds, its shape kept (on) or at the zoom (off).
    void setFitToWindow(bool on);
    // The picture stretched over the whole client area, its shape lost (on), or not.
    void setStretchToWindow(bool on);
    // The window over the whole screen without menu and status bars, the picture fitted
    // to it (on), or back to its size, bars and fit before (off); the menus' keys stay.
    void setFullScreen(bool on);
    // The VDP's colour model for the picture; with a picture, shows it again.
    void setColourModel(tessarin::ColourModel model);
    // The TV's pixel shape the picture is drawn with; the client area follows at the zoom.
    void setPixelAspect(tessarin::PixelAspect aspect);
    // The window's place, zoom and full screen from the last run, its frame moved and its
    // size cut to lie within the area for windows of the screen it overlaps most, else
    // screenArea (its own screen's area for windows). The zoom is the
    // remembered one when the picture's window fits screenArea at it, else the largest that
    // fits; at the first run the window is centred in screenArea.
    void restoreView(const QRect& screenArea);
    // Destroys the document; from then on nothing is painted.
    void closeDocument();
    // Opens the first two local files of a drop, in the order given; reports an error and
    // stops at it.
    void openDroppedFiles(QDropEvent* event);

    // The messages of the command line's names that could not be opened, in their order.
    [[nodiscard]] const QStringList& startUpErrors() const { return startUpErrors_; }
    // True from the first file opened into any slot until the window closes.
    [[nodiscard]] bool hasPicture() const { return document_ && document_->hasPicture(); }
    // The document shown; null once the window closed.
    [[nodiscard]] const tessarin::ScreenDocument* document() const { return document_.get(); }
    // The menu bar's items: the window's commands.
    [[nodiscard]] const MainMenu& menu() const { return menu_; }
    // The user's choices of how the picture shows.
    [[nodiscard]] const tessarin::ViewState& view() const { return view_; }
    // The client area: the picture shown and where it goes.
    [[nodiscard]] const PictureView& pictureView() const { return *pictureView_; }

public slots:
    void openVram0File();
    void openVram1File();
    void openPaletteFile();
    // A folder chosen in a dialog, opened as openFileByName opens one.
    void openFolder();
    // The thumbnail grid of the VRAM0 file's folder, that file selected; or, from the
    // grid, the single view back.
    void toggleThumbnails();
    // The grid's filter field, the focus in it; only while the grid shows.
    void filterThumbnails();
    // Keep Palette as its menu item is checked; the status bar says it.
    void toggleKeepPalette();
    // Sprites drawn or not as View > Sprites is checked, from now on.
    void toggleSprites();
    // Sprites 16x16 or 8x8 as View > Sprites 16x16 is checked, from now on.
    void toggleLargeSprites();
    // A PNG or JPEG picture converted to a screen chosen in a dialog, opened as its file: an
    // unsaved document, no recent file; Save As starts in the picture's folder with the
    // screen's type. Over an unsaved import, asks first.
    void importPicture();
    // Saves the picture shown at zoom 1, at the window's pixel aspect (SaveAs).
    void saveAs();
    // The next or previous screen file of the VRAM0 file's folder, opened by its name with
    // the palette file of its base name; nothing at either end. A step away from an
    // unsaved import asks first.
    void openNextFile();
    void openPreviousFile();
    // The first or last screen file of the VRAM0 file's folder, as openNextFile opens one.
    void openFirstFile();
    void openLastFile();
    // Puts the picture shown on the clipboard as an image; nothing without a picture.
    void copyPicture();
    void sizeChosen(QAction* item);
    void screenChosen(QAction* item);
    void copyVram0ToVram1();
    void editVramMapping();
    void showAbout();
    // Help > Keys: every key of the window, read from the menus as they are now.
    void showKeys();
    void zoomIn();
    void zoomOut();
    void showActualSize();
    void toggleFitToWindow();
    void toggleStretch();
    void toggleFullScreen();
    void coloursChosen(QAction* item);
    void aspectChosen(QAction* item);

protected:
    // Asks before an unsaved import is lost; else remembers the view, closes the document.
    void closeEvent(QCloseEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    // The full screen's look follows the window's state, however it changed.
    void changeEvent(QEvent* event) override;

private:
    // The open dialog, made at its first use.
    QFileDialog* openFileDialog();
    // Shows the open dialog with the filter of that index (from 1); on OK opens the
    // chosen file into slot.
    void openWithDialog(int filterIndex, tessarin::FileSlot slot);
    // After a file went into slot: the caption names a VRAM0 file; the picture is shown.
    void opened(tessarin::FileSlot slot);
    // As opened, for a file the user chose (command line, Open, drop, Recent Files): a VRAM0
    // file joins the recent files. Browsing does not, so that a walk through one folder
    // neither pushes the other folders' files out nor writes the settings at every step.
    void openedByChoice(tessarin::FileSlot slot);
    // Opens the screen file step places from the VRAM0 file, and its palette file.
    void browse(int step);
    // Whether the VRAM0 file is the screen file the last import made.
    [[nodiscard]] bool showsImport() const;
    // Whether what is shown may be replaced: yes unless it is an unsaved import, which
    // the user is asked about (closing asks the same).
    [[nodiscard]] bool mayLoseImport();
    // Where the file dialogs start: the imported picture's folder while its import shows,
    // the VRAM0 file's folder, else the last one remembered.
    [[nodiscard]] QString startFolder() const;
    // The view mode of the view's size and rotation to the document, the client area to its
    // size; with a picture, shows it.
    void applyViewMode();
    // The view's zoom to the client area and the menus.
    void showZoom();
    // The document renders the picture; the PictureView holds it, and paints it once there
    // is a picture.
    void showPicture();
    // The client area, the menus and the picture made to match the document.
    void showDocument();
    // Every action's enabled and checked state, from the document; the status bar's texts.
    void updateActions();
    // The status bar's texts for the grid's selection, while the grid shows.
    void showGridStatus();
    // Makes the client area the size of viewMode in the current screen mode.
    void fitClientSize(tessarin::ViewMode viewMode);
    // With the Automatic size, the view mode the picture needs now; else fitClientSize
    // again when the screen mode's page has other lines than the size fitted.
    void followPicture();
    // Makes the client area exactly the size given, the menu bar above it, as far as the
    // screen's area for windows holds it.
    void setClientSize(tessarin::ImageSize size);
    // The menu bar, status bar and frame around the client area.
    [[nodiscard]] tessarin::ImageSize aroundClientArea() const;

    // Hides the bars and fits the picture (on), or shows them and gives back the fit from
    // before where the user kept the one full screen chose (off).
    void showFullScreenLook(bool on);

    // Remembers the window's place, zoom and full screen for the next run.
    void saveView();

    std::unique_ptr<tessarin::ScreenDocument> document_;
    tessarin::ViewState view_;
    tessarin::ViewSettings settings_;
    MainMenu menu_;
    PictureView* pictureView_;
    tessarin::StatusText status_;
    tessarin::RecentFiles recentFiles_;
    tessarin::SaveAs saveAs_;
    ThumbnailMode thumbnails_;
    tessarin::ImportPicture importPicture_;
    // The last import, and whether Save As wrote it; closing asks before losing it unsaved.
    std::optional<tessarin::ImportPicture::Imported> imported_;
    bool importSaved_ = false;
    // Made at their first use: most runs never show them.
    VramMappingDialog* mappingDialog_ = nullptr;
    AboutBox* aboutBox_ = nullptr;
    KeysWindow* keysWindow_ = nullptr;
    QStringList startUpErrors_;
    QFileDialog* openDialog_ = nullptr;
    // The lines a page had when the client area was last fitted to the view.
    int fittedLines_ = tessarin::kBitmapLines;
};
