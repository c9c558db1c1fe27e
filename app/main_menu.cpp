#include "app/main_menu.h"

#include "app/main_window.h"
#include "vdp/colour_model.h"
#include "view/view_placement.h"

#include <QAction>
#include <QActionGroup>
#include <QKeySequence>
#include <QMenu>
#include <QMenuBar>
#include <string>

using tessarin::ColourModel;
using tessarin::PixelAspect;
using tessarin::ViewSize;

namespace {

QMenu* addMenu(QMenuBar* bar, const char* name, const QString& caption) {
    QMenu* menu = bar->addMenu(caption);
    menu->setObjectName(QLatin1String(name));
    return menu;
}

QAction* addItem(QMenu* menu, const char* name, const QString& caption) {
    QAction* item = menu->addAction(caption);
    item->setObjectName(QLatin1String(name));
    return item;
}

// Queued: the command runs from the event loop once the menu is done with the click, so
// an error leaving it reaches the application's notify() without unwinding through the
// menu's and the action's own code, which is not built for exceptions.
QAction* addCommand(QMenu* menu, const char* name, const QString& caption, MainWindow& window,
                    void (MainWindow::*command)()) {
    QAction* item = addItem(menu, name, caption);
    QObject::connect(item, &QAction::triggered, &window, command, Qt::QueuedConnection);
    return item;
}

template <typename Value>
QAction* addChoice(QMenu* menu, QActionGroup* group, const char* name, const QString& caption,
                   Value value) {
    QAction* item = addItem(menu, name, caption);
    item->setCheckable(true);
    item->setData(static_cast<int>(value));
    group->addAction(item);
    return item;
}

QAction* addSeparator(QMenu* menu, const char* name) {
    QAction* separator = menu->addSeparator();
    separator->setObjectName(QLatin1String(name));
    return separator;
}

} // namespace

MainMenu buildMainMenu(MainWindow& window) {
    using W = MainWindow;
    MainMenu m{};
    m.menuBar = window.menuBar();
    m.menuBar->setObjectName(QStringLiteral("menuBar"));

    m.fileMenu = addMenu(m.menuBar, "fileMenu", QStringLiteral("&File"));
    m.openVram0 = addCommand(m.fileMenu, "openVram0", QStringLiteral("VRAM0 &Open..."), window,
                             &W::openVram0File);
    m.openVram1 = addCommand(m.fileMenu, "openVram1", QStringLiteral("VRAM&1 Open..."), window,
                             &W::openVram1File);
    m.openPalette = addCommand(m.fileMenu, "openPalette", QStringLiteral("&Palette Open..."),
                               window, &W::openPaletteFile);
    m.openFolder = addCommand(m.fileMenu, "openFolder", QStringLiteral("Open &Folder..."), window,
                              &W::openFolder);
    m.keepPalette = addCommand(m.fileMenu, "keepPalette", QStringLiteral("&Keep Palette"), window,
                               &W::toggleKeepPalette);
    m.keepPalette->setCheckable(true);
    m.importPicture = addCommand(m.fileMenu, "importPicture", QStringLiteral("&Import Picture..."),
                                 window, &W::importPicture);
    m.openVram0->setShortcut(QKeySequence::Open);
    m.openFolder->setShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_O));
    m.saveAs = addCommand(m.fileMenu, "saveAs", QStringLiteral("Save &As..."), window, &W::saveAs);
    m.saveAs->setShortcuts(
        {QKeySequence(Qt::CTRL | Qt::Key_S), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_S)});
    m.nextFile =
        addCommand(m.fileMenu, "nextFile", QStringLiteral("Next File"), window, &W::openNextFile);
    m.nextFile->setShortcuts({QKeySequence(Qt::Key_PageDown), QKeySequence(Qt::Key_Space)});
    m.previousFile = addCommand(m.fileMenu, "previousFile", QStringLiteral("Previous File"), window,
                                &W::openPreviousFile);
    m.previousFile->setShortcuts({QKeySequence(Qt::Key_PageUp), QKeySequence(Qt::Key_Backspace)});
    m.firstFile = addCommand(m.fileMenu, "firstFile", QStringLiteral("First File"), window,
                             &W::openFirstFile);
    m.firstFile->setShortcut(QKeySequence(Qt::Key_Home));
    m.lastFile =
        addCommand(m.fileMenu, "lastFile", QStringLiteral("Last File"), window, &W::openLastFile);
    m.lastFile->setShortcut(QKeySequence(Qt::Key_End));
    // The window fills it with the files opened last.
    m.recentMenu = m.fileMenu->addMenu(QStringLiteral("&Recent Files"));
    m.recentMenu->setObjectName(QStringLiteral("recentMenu"));
    m.recentMenu->menuAction()->setObjectName(QStringLiteral("recentFiles"));
    m.fileSeparator = addSeparator(m.fileMenu, "fileSeparator");
    m.exit = addItem(m.fileMenu, "exit", QStringLiteral("E&xit"));
    m.exit->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Q));
    QObject::connect(m.exit, &QAction::triggered, &window, &QWidget::close, Qt::QueuedConnection);

    m.editMenu = addMenu(m.menuBar, "editMenu", QStringLiteral("&Edit"));
    m.copy = addCommand(m.editMenu, "copy", QStringLiteral("&Copy"), window, &W::copyPicture);
    m.copy->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_C));

    // The size captions carry the access letters 1, 3, 4 and 5; there is no 2.
    m.sizeMenu = addMenu(m.menuBar, "sizeMenu", QStringLiteral("Si&ze"));
    m.sizes = new QActionGroup(m.sizeMenu);
    m.sizeAutomatic = addChoice(m.sizeMenu, m.sizes, "sizeAutomatic", QStringLiteral("&Automatic"),
                                kAutomaticSizeData);
    m.size256x212 = addChoice(m.sizeMenu, m.sizes, "size256x212", QStringLiteral("&1 256x212"),
                              ViewSize::plain256x212);
    m.size512x424magnify =
        addChoice(m.sizeMenu, m.sizes, "size512x424magnify", QStringLiteral("&3 512x424 magnify"),
                  ViewSize::magnify512x424);
    m.size512x424interlace =
        addChoice(m.sizeMenu, m.sizes, "size512x424interlace",
                  QStringLiteral("&4 512x424 interlace"), ViewSize::interlace512x424);
    m.size256x424joint = addChoice(m.sizeMenu, m.sizes, "size256x424joint",
                                   QStringLiteral("&5 256x424 joined"), ViewSize::joint256x424);
    QObject::connect(m.sizes, &QActionGroup::triggered, &window, &W::sizeChosen,
                     Qt::QueuedConnection);
    m.sizeSeparator = addSeparator(m.sizeMenu, "sizeSeparator");
    m.rotate = addCommand(m.sizeMenu, "rotate", QStringLiteral("Left &Rotation"), window,
                          &W::toggleRotation);
    m.rotate->setCheckable(true);

    m.viewMenu = addMenu(m.menuBar, "viewMenu", QStringLiteral("&View"));
    m.zoomIn = addCommand(m.viewMenu, "zoomIn", QStringLiteral("Zoom &In"), window, &W::zoomIn);
    m.zoomIn->setShortcuts({QKeySequence(Qt::CTRL | Qt::Key_Plus),
                            QKeySequence(Qt::CTRL | Qt::Key_Equal), QKeySequence(Qt::Key_Plus)});
    m.zoomOut = addCommand(m.viewMenu, "zoomOut", QStringLiteral("Zoom &Out"), window, &W::zoomOut);
    m.zoomOut->setShortcuts({QKeySequence(Qt::CTRL | Qt::Key_Minus), QKeySequence(Qt::Key_Minus)});
    m.actualSize = addCommand(m.viewMenu, "actualSize", QStringLiteral("&Actual Size"), window,
                              &W::showActualSize);
    m.actualSize->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_0));
    addSeparator(m.viewMenu, "zoomSeparator");
    m.fitToWindow = addCommand(m.viewMenu, "fitToWindow", QStringLiteral("&Fit to Window"), window,
                               &W::toggleFitToWindow);
    m.fitToWindow->setCheckable(true);
    m.stretchToWindow = addCommand(m.viewMenu, "stretchToWindow",
                                   QStringLiteral("&Stretch to Window"), window, &W::toggleStretch);
    m.stretchToWindow->setCheckable(true);
    m.fullScreen = addCommand(m.viewMenu, "fullScreen", QStringLiteral("F&ull Screen"), window,
                              &W::toggleFullScreen);
    m.fullScreen->setCheckable(true);
    m.fullScreen->setShortcut(QKeySequence(Qt::Key_F11));
    m.thumbnails = addCommand(m.viewMenu, "thumbnails", QStringLiteral("&Thumbnails"), window,
                              &W::toggleThumbnails);
    m.thumbnails->setCheckable(true);
    m.thumbnails->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_T));
    m.filterThumbnails =
        addCommand(m.viewMenu, "filterThumbnails", QStringLiteral("Fi&lter Thumbnails"), window,
                   &W::filterThumbnails);
    m.filterThumbnails->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_F));
    m.sprites =
        addCommand(m.viewMenu, "sprites", QStringLiteral("Sp&rites"), window, &W::toggleSprites);
    m.sprites->setCheckable(true);
    m.largeSprites = addCommand(m.viewMenu, "largeSprites", QStringLiteral("Sprites 16&x16"),
                                window, &W::toggleLargeSprites);
    m.largeSprites->setCheckable(true);
    addSeparator(m.viewMenu, "viewSeparator");
    m.coloursMenu = m.viewMenu->addMenu(QStringLiteral("&Colours"));
    m.coloursMenu->setObjectName(QStringLiteral("coloursMenu"));
    m.coloursMenu->menuAction()->setObjectName(QStringLiteral("colours"));
    m.colours = new QActionGroup(m.coloursMenu);
    m.coloursLevels = addChoice(m.coloursMenu, m.colours, "coloursLevels",
                                QStringLiteral("&File levels"), ColourModel::levels);
    m.coloursMsx1 = addChoice(m.coloursMenu, m.colours, "coloursMsx1",
                              QStringLiteral("MSX&1 (TMS9918)"), ColourModel::msx1);
    m.coloursMsx2 = addChoice(m.coloursMenu, m.colours, "coloursMsx2",
                              QStringLiteral("MSX&2 (V9938)"), ColourModel::msx2);
    m.coloursMsx2plus = addChoice(m.coloursMenu, m.colours, "coloursMsx2plus",
                                  QStringLiteral("MSX2&+ (V9958)"), ColourModel::msx2plus);
    QObject::connect(m.colours, &QActionGroup::triggered, &window, &W::coloursChosen,
                     Qt::QueuedConnection);
    m.aspectMenu = m.viewMenu->addMenu(QStringLiteral("&Pixel Aspect"));
    m.aspectMenu->setObjectName(QStringLiteral("aspectMenu"));
    m.aspectMenu->menuAction()->setObjectName(QStringLiteral("pixelAspect"));
    m.aspects = new QActionGroup(m.aspectMenu);
    m.aspectSquare = addChoice(m.aspectMenu, m.aspects, "aspectSquare", QStringLiteral("&Square"),
                               PixelAspect::square);
    m.aspectNtsc = addChoice(m.aspectMenu, m.aspects, "aspectNtsc", QStringLiteral("&NTSC (8:7)"),
                             PixelAspect::ntsc);
    m.aspectPal = addChoice(m.aspectMenu, m.aspects, "aspectPal", QStringLiteral("&PAL (1.38:1)"),
                            PixelAspect::pal);
    QObject::connect(m.aspects, &QActionGroup::triggered, &window, &W::aspectChosen,
                     Qt::QueuedConnection);

    m.screenMenu = addMenu(m.menuBar, "screenMenu", QStringLiteral("&Screen"));
    m.screens = new QActionGroup(m.screenMenu);
    for (std::size_t row = 0; row < tessarin::kScreenModes.size(); ++row) {
        const tessarin::ScreenModeFacts& facts = tessarin::kScreenModes[row];
        const std::string name = "screen" + std::string(facts.name);
        m.screenItems[row] = addChoice(
            m.screenMenu, m.screens, name.c_str(),
            QString::fromLatin1(facts.caption.data(), static_cast<qsizetype>(facts.caption.size())),
            facts.mode);
    }
    QObject::connect(m.screens, &QActionGroup::triggered, &window, &W::screenChosen,
                     Qt::QueuedConnection);
    m.screenSeparator = addSeparator(m.screenMenu, "screenSeparator");
    m.vramCopy = addCommand(m.screenMenu, "vramCopy", QStringLiteral("VRAM0->VRAM1"), window,
                            &W::copyVram0ToVram1);
    m.vramMapping = addCommand(m.screenMenu, "vramMapping", QStringLiteral("&VRAM Mapping..."),
                               window, &W::editVramMapping);

    m.helpMenu = addMenu(m.menuBar, "helpMenu", QStringLiteral("&Help"));
    m.keys = addCommand(m.helpMenu, "keys", QStringLiteral("&Keys"), window, &W::showKeys);
    m.keys->setShortcut(QKeySequence(Qt::Key_F1));
    m.about = addCommand(m.helpMenu, "about", QStringLiteral("&About..."), window, &W::showAbout);
    return m;
}
