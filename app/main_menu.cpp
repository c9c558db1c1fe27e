#include "app/main_menu.h"

#include "app/main_window.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>

namespace {

QMenu* addMenu(QMenuBar* bar, const char* name, const QString& caption) {
    QMenu* menu = bar->addMenu(caption);
    menu->setObjectName(QLatin1String(name));
    return menu;
}

QAction* addItem(QMenu* menu, const char* name, const QString& caption, MainWindow& form,
                 void (MainWindow::*handler)(), bool checkable = false) {
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

MainMenu buildMainMenu(MainWindow& form) {
    using F = MainWindow;
    constexpr bool checkable = true;
    MainMenu m{};
    m.menuBar = form.menuBar();
    m.menuBar->setObjectName(QStringLiteral("menuBar"));

    m.fileMenu = addMenu(m.menuBar, "fileMenu", QStringLiteral("&File"));
    m.openVram0 =
        addItem(m.fileMenu, "openVram0", QStringLiteral("VRAM0 &Open..."), form, &F::openVram0File);
    m.openVram1 =
        addItem(m.fileMenu, "openVram1", QStringLiteral("VRAM&1 Open..."), form, &F::openVram1File);
    m.openPalette = addItem(m.fileMenu, "openPalette", QStringLiteral("&Palette Open..."), form,
                            &F::openPaletteFile);
    m.saveAs = addItem(m.fileMenu, "saveAs", QStringLiteral("Save &As..."), form, &F::saveAs);
    m.saveAs->setEnabled(false);
    m.fileSeparator = addSeparator(m.fileMenu, "fileSeparator");
    m.exit = addItem(m.fileMenu, "exit", QStringLiteral("E&xit"), form, &F::exitProgram);

    // The size captions carry the access letters 1, 3, 4 and 5; there is no 2.
    m.sizeMenu = addMenu(m.menuBar, "sizeMenu", QStringLiteral("Si&ze"));
    m.size256x212 = addItem(m.sizeMenu, "size256x212", QStringLiteral("&1 256x212"), form,
                            &F::size256x212Clicked, checkable);
    m.size512x424magnify =
        addItem(m.sizeMenu, "size512x424magnify", QStringLiteral("&3 512x424 magnify"), form,
                &F::size512x424magnifyClicked, checkable);
    m.size512x424interlace =
        addItem(m.sizeMenu, "size512x424interlace", QStringLiteral("&4 512x424 interlace"), form,
                &F::size512x424interlaceClicked, checkable);
    m.size256x424joint = addItem(m.sizeMenu, "size256x424joint", QStringLiteral("&5 256x424 joint"),
                                 form, &F::size256x424jointClicked, checkable);
    m.sizeSeparator = addSeparator(m.sizeMenu, "sizeSeparator");
    m.rotate = addItem(m.sizeMenu, "rotate", QStringLiteral("Left &Rotation"), form,
                       &F::rotateClicked, checkable);

    m.screenMenu = addMenu(m.menuBar, "screenMenu", QStringLiteral("&Screen"));
    m.screen5 = addItem(m.screenMenu, "screen5", QStringLiteral("Screen &5"), form,
                        &F::screen5Clicked, checkable);
    m.screen6 = addItem(m.screenMenu, "screen6", QStringLiteral("Screen &6"), form,
                        &F::screen6Clicked, checkable);
    m.screen7 = addItem(m.screenMenu, "screen7", QStringLiteral("Screen &7"), form,
                        &F::screen7Clicked, checkable);
    m.screen8 = addItem(m.screenMenu, "screen8", QStringLiteral("Screen &8"), form,
                        &F::screen8Clicked, checkable);
    m.screen10 = addItem(m.screenMenu, "screen10", QStringLiteral("Screen 1&0,11"), form,
                         &F::screen10Clicked, checkable);
    m.screen12 = addItem(m.screenMenu, "screen12", QStringLiteral("Screen 1&2"), form,
                         &F::screen12Clicked, checkable);
    m.screenSeparator = addSeparator(m.screenMenu, "screenSeparator");
    m.vramCopy = addItem(m.screenMenu, "vramCopy", QStringLiteral("VRAM0->VRAM1"), form,
                         &F::copyVram0ToVram1);
    m.vramMapping = addItem(m.screenMenu, "vramMapping", QStringLiteral("&VRAM Mapping..."), form,
                            &F::editVramMapping);

    m.helpMenu = addMenu(m.menuBar, "helpMenu", QStringLiteral("&Help"));
    m.about = addItem(m.helpMenu, "about", QStringLiteral("&About..."), form, &F::showAbout);
    return m;
}
