#pragma once

class QAction;
class QMenu;
class QMenuBar;
class TfrmMainForm;

// The items of the main window's menu bar, in display order.
struct TMainMenu {
    QMenuBar* mnuMainMenu;
    QMenu* mnuFile;
    QAction* mnuVRAM0Open;
    QAction* mnuVRAM1Open;
    QAction* mnuPaletteOpen;
    QAction* mnuSaveAs;
    QAction* mnuSepaF1;
    QAction* mnuExit;
    QMenu* mnuSize;
    QAction* mnu256x212;
    QAction* mnu512x424mag;
    QAction* mnu512x424int;
    QAction* mnu256x424joi;
    QAction* mnuSepaZ1;
    QAction* mnuRotate;
    QMenu* mnuScreen;
    QAction* mnuScreen5;
    QAction* mnuScreen6;
    QAction* mnuScreen7;
    QAction* mnuScreen8;
    QAction* mnuScreen10;
    QAction* mnuScreen12;
    QAction* mnuSepaS1;
    QAction* mnuVRAMCopy;
    QAction* mnuVRAMMap;
    QMenu* mnuHelp;
    QAction* mnuAbout;
};

// Builds the menu bar of form with every item, its caption and state at start, and
// connects each item to its handler. No item has a shortcut key.
[[nodiscard]] TMainMenu buildMainMenu(TfrmMainForm& form);
