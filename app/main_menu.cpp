#include "app/main_menu.h"

#include "app/main_form.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>

namespace {

QMenu* addMenu(QMenuBar* bar, const char* name, const QString& caption) {
    QMenu* menu = bar->addMenu(caption);
    menu->setObjectName(QLatin1String(name));
    return menu;
}

QAction* addItem(QMenu* menu, const char* name, const QString& caption, TfrmMainForm& form,
                 void (TfrmMainForm::*handler)(), bool checkable = false) {
    QAction* item = menu->addAction(caption);
    item->setObjectName(QLatin1String(name));
    item->setCheckable(checkable);
    // Queued: the command runs from the event loop once the menu is done with the click,
    // so an error leaving it reaches the application's notify() without unwinding
    // through the menu's and the action's own code, which is not built for exceptions.
    QObject::connect(item, &QAction::triggered, &form, handler, Qt::QueuedConnection);
    return item;
}

QAction* addSeparator(QMenu* menu, const char* name) {
    QAction* separator = menu->addSeparator();
    separator->setObjectName(QLatin1String(name));
    return separator;
}

} // namespace

TMainMenu buildMainMenu(TfrmMainForm& form) {
    using F = TfrmMainForm;
    constexpr bool checkable = true;
    TMainMenu m{};
    m.mnuMainMenu = form.menuBar();
    m.mnuMainMenu->setObjectName(QStringLiteral("mnuMainMenu"));

    m.mnuFile = addMenu(m.mnuMainMenu, "mnuFile", QStringLiteral("&File"));
    m.mnuVRAM0Open = addItem(m.mnuFile, "mnuVRAM0Open", QStringLiteral("VRAM0 &Open..."), form,
                             &F::mnuPage0OpenClic);
    m.mnuVRAM1Open = addItem(m.mnuFile, "mnuVRAM1Open", QStringLiteral("VRAM&1 Open..."), form,
                             &F::mnuVRAM1OpenClick);
    m.mnuPaletteOpen = addItem(m.mnuFile, "mnuPaletteOpen", QStringLiteral("&Palette Open..."),
                               form, &F::mnuPaletteOpenClick);
    m.mnuSaveAs =
        addItem(m.mnuFile, "mnuSaveAs", QStringLiteral("Save &As..."), form, &F::mnuSaveAsClick);
    m.mnuSaveAs->setEnabled(false);
    m.mnuSepaF1 = addSeparator(m.mnuFile, "mnuSepaF1");
    m.mnuExit = addItem(m.mnuFile, "mnuExit", QStringLiteral("E&xit"), form, &F::mnuExitClick);

    // The size captions carry the access letters 1, 3, 4 and 5; there is no 2.
    m.mnuSize = addMenu(m.mnuMainMenu, "mnuSize", QStringLiteral("Si&ze"));
    m.mnu256x212 = addItem(m.mnuSize, "mnu256x212", QStringLiteral("&1 256x212"), form,
                           &F::mnu256x212Click, checkable);
    m.mnu512x424mag = addItem(m.mnuSize, "mnu512x424mag", QStringLiteral("&3 512x424 magnify"),
                              form, &F::mnu512x424magClick, checkable);
    m.mnu512x424int = addItem(m.mnuSize, "mnu512x424int", QStringLiteral("&4 512x424 interlace"),
                              form, &F::mnu512x424intClick, checkable);
    m.mnu256x424joi = addItem(m.mnuSize, "mnu256x424joi", QStringLiteral("&5 256x424 joint"), form,
                              &F::mnu256x424joiClick, checkable);
    m.mnuSepaZ1 = addSeparator(m.mnuSize, "mnuSepaZ1");
    m.mnuRotate = addItem(m.mnuSize, "mnuRotate", QStringLiteral("Left &Rotation"), form,
                          &F::mnuRotateClick, checkable);

    m.mnuScreen = addMenu(m.mnuMainMenu, "mnuScreen", QStringLiteral("&Screen"));
    m.mnuScreen5 = addItem(m.mnuScreen, "mnuScreen5", QStringLiteral("Screen &5"), form,
                           &F::mnuScreen5Click, checkable);
    m.mnuScreen6 = addItem(m.mnuScreen, "mnuScreen6", QStringLiteral("Screen &6"), form,
                           &F::mnuScreen6Click, checkable);
    m.mnuScreen7 = addItem(m.mnuScreen, "mnuScreen7", QStringLiteral("Screen &7"), form,
                           &F::mnuScreen7Click, checkable);
    m.mnuScreen8 = addItem(m.mnuScreen, "mnuScreen8", QStringLiteral("Screen &8"), form,
                           &F::mnuScreen8Click, checkable);
    m.mnuScreen10 = addItem(m.mnuScreen, "mnuScreen10", QStringLiteral("Screen 1&0,11"), form,
                            &F::mnuScreen10Click, checkable);
    m.mnuScreen12 = addItem(m.mnuScreen, "mnuScreen12", QStringLiteral("Screen 1&2"), form,
                            &F::mnuScreen12Click, checkable);
    m.mnuSepaS1 = addSeparator(m.mnuScreen, "mnuSepaS1");
    m.mnuVRAMCopy = addItem(m.mnuScreen, "mnuVRAMCopy", QStringLiteral("VRAM0->VRAM1"), form,
                            &F::mnuVRAMCopyClick);
    m.mnuVRAMMap = addItem(m.mnuScreen, "mnuVRAMMap", QStringLiteral("&VRAM Mapping..."), form,
                           &F::mnuVRAMMapClick);

    m.mnuHelp = addMenu(m.mnuMainMenu, "mnuHelp", QStringLiteral("&Help"));
    m.mnuAbout =
        addItem(m.mnuHelp, "mnuAbout", QStringLiteral("&About..."), form, &F::mnuAboutClick);
    return m;
}
