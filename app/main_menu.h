#pragma once

#include "vdp/screen_modes.h"

#include <array>

class QAction;
class QActionGroup;
class QMenu;
class QMenuBar;
class MainWindow;

// The Automatic size's data in the size group, beside the ViewSize values.
inline constexpr int kAutomaticSizeData = -1;

// The items of the main window's menu bar, in display order. The sizes and the screen modes
// (one item a row of kScreenModes) are exclusive groups whose actions carry their ViewSize
// or ScreenMode as data.
struct MainMenu {
    QMenuBar* menuBar;
    QMenu* fileMenu;
    QAction* openVram0;
    QAction* openVram1;
    QAction* openPalette;
    QAction* openFolder;
    QAction* keepPalette; // checked: the palette opened by hand stays through browsing
    QAction* importPicture;
    QAction* saveAs;
    QAction* nextFile;
    QAction* previousFile;
    QAction* firstFile;
    QAction* lastFile;
    QMenu* recentMenu;
    QAction* fileSeparator;
    QAction* exit;
    QMenu* editMenu;
    QAction* copy;
    QMenu* sizeMenu;
    QActionGroup* sizes;
    QAction* sizeAutomatic; // data kAutomaticSizeData
    QAction* size256x212;
    QAction* size512x424magnify;
    QAction* size512x424interlace;
    QAction* size256x424joint;
    QAction* sizeSeparator;
    QAction* rotate;
    QMenu* viewMenu;
    QAction* zoomIn;
    QAction* zoomOut;
    QAction* actualSize;
    QAction* fitToWindow;
    QAction* stretchToWindow;
    QAction* fullScreen;
    QAction* thumbnails; // checked while the grid shows
    QAction* filterThumbnails;
    QAction* sprites;      // checked while the sprites are drawn
    QAction* largeSprites; // checked while sprites are 16x16
    QMenu* coloursMenu;
    QActionGroup* colours; // data: ColourModel
    QAction* coloursLevels;
    QAction* coloursMsx1;
    QAction* coloursMsx2;
    QAction* coloursMsx2plus;
    QMenu* aspectMenu;
    QActionGroup* aspects; // data: PixelAspect
    QAction* aspectSquare;
    QAction* aspectNtsc;
    QAction* aspectPal;
    QMenu* screenMenu;
    QActionGroup* screens;
    std::array<QAction*, tessarin::kScreenModes.size()> screenItems; // kScreenModes' order
    QAction* screenSeparator;
    QAction* vramCopy;
    QAction* vramMapping;
    QMenu* helpMenu;
    QAction* keys;
    QAction* about;

    // The Screen menu's item of mode.
    [[nodiscard]] QAction* screenItem(tessarin::ScreenMode mode) const {
        return screenItems.at(tessarin::rowOf(mode));
    }
};

// Builds the menu bar of window with every item and its caption, and connects each item
// to its command, queued. Opening, saving, browsing, copying and leaving have shortcut
// keys beside their access letters, and so do the zoom and full screen commands, the
// grid's filter and Help > Keys (F1), which lists them all; the window sets the states.
[[nodiscard]] MainMenu buildMainMenu(MainWindow& window);
