#pragma once

class QAction;
class QMenu;
class QMenuBar;
class MainWindow;

// The items of the main window's menu bar, in display order.
struct MainMenu {
    QMenuBar* menuBar;
    QMenu* fileMenu;
    QAction* openVram0;
    QAction* openVram1;
    QAction* openPalette;
    QAction* saveAs;
    QAction* fileSeparator;
    QAction* exit;
    QMenu* sizeMenu;
    QAction* size256x212;
    QAction* size512x424magnify;
    QAction* size512x424interlace;
    QAction* size256x424joint;
    QAction* sizeSeparator;
    QAction* rotate;
    QMenu* screenMenu;
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

// Builds the menu bar of form with every item, its caption and state at start, and
// connects each item to its handler. No item has a shortcut key.
[[nodiscard]] MainMenu buildMainMenu(MainWindow& form);
