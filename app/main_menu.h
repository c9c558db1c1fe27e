#pragma once

class QAction;
class QActionGroup;
class QMenu;
class QMenuBar;
class MainWindow;

// The items of the main window's menu bar, in display order. The four sizes and the nine
// screen modes are exclusive groups whose actions carry their ViewSize or ScreenMode as data.
struct MainMenu {
    QMenuBar* menuBar;
    QMenu* fileMenu;
    QAction* openVram0;
    QAction* openVram1;
    QAction* openPalette;
    QAction* saveAs;
    QAction* nextFile;
    QAction* previousFile;
    QAction* fileSeparator;
    QAction* exit;
    QMenu* editMenu;
    QAction* copy;
    QMenu* sizeMenu;
    QActionGroup* sizes;
    QAction* size256x212;
    QAction* size512x424magnify;
    QAction* size512x424interlace;
    QAction* size256x424joint;
    QAction* sizeSeparator;
    QAction* rotate;
    QMenu* screenMenu;
    QActionGroup* screens;
    QAction* screen2;
    QAction* screen3;
    QAction* screen4;
    QAction* screen5;
    QAction* screen6;
    QAction* screen7;
    QAction* screen8;
    QAction* screen10;
    QAction* screen12;
    QAction* screenSeparator;
    QAction* vramCopy;
    QAction* vramMapping;
    QMenu* helpMenu;
    QAction* about;
};

// Builds the menu bar of window with every item and its caption, and connects each item
// to its command, queued. Opening, saving, browsing, copying and leaving have shortcut
// keys beside their access letters; the window sets the states.
[[nodiscard]] MainMenu buildMainMenu(MainWindow& window);
