// How files reach the window: the command line, drops and the open commands, the
// window's state at start, its caption and its menu as built.
#include "platform/file_error.h"
#include "tests/app/viewer_fixture.h"
#include "tests/support/document_probe.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QCompleter>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QTest>
#include <QUrl>
#include <QWindow>
#include <filesystem>
#include <gtest/gtest.h>
#include <tuple>

namespace tessarin::test {
namespace {

// The one screen item checked, by its object name.
std::string checkedScreen(const MainWindow& form) {
    std::string checked;
    for (const QAction* item : form.menu().screenMenu->actions()) {
        if (item->isChecked()) {
            checked += item->objectName().toStdString();
        }
    }
    return checked;
}

std::string caption(const MainWindow& form) {
    return form.windowTitle().toStdString();
}

TEST(MainMenu, ItemsHaveTheirNamesCaptionsShortcutsAndStatesAtStart) {
    const ViewerWindow window;
    const struct Item {
        const char* menu;
        const char* name;
        const char* caption; // empty for a separator
        bool checkable;
        bool checked;
        bool enabled;
        const char* keys = ""; // the shortcuts, "; " between them
    } items[] = {
        {"fileMenu", "openVram0", "VRAM0 &Open...", false, false, true, "Ctrl+O"},
        {"fileMenu", "openVram1", "VRAM&1 Open...", false, false, true},
        {"fileMenu", "openPalette", "&Palette Open...", false, false, true},
        {"fileMenu", "openFolder", "Open &Folder...", false, false, true, "Ctrl+Shift+O"},
        {"fileMenu", "keepPalette", "&Keep Palette", true, false, true},
        {"fileMenu", "importPicture", "&Import Picture...", false, false, true},
        {"fileMenu", "saveAs", "Save &As...", false, false, false, "Ctrl+S; Ctrl+Shift+S"},
        {"fileMenu", "nextFile", "Next File", false, false, true, "PgDown; Space"},
        {"fileMenu", "previousFile", "Previous File", false, false, true, "PgUp; Backspace"},
        {"fileMenu", "firstFile", "First File", false, false, true, "Home"},
        {"fileMenu", "lastFile", "Last File", false, false, true, "End"},
        {"recentMenu", "recentFiles", "&Recent Files", false, false, true},
        {"fileMenu", "fileSeparator", "", false, false, true},
        {"fileMenu", "exit", "E&xit", false, false, true, "Ctrl+Q"},
        {"editMenu", "copy", "&Copy", false, false, false, "Ctrl+C"},
        {"sizeMenu", "sizeAutomatic", "&Automatic", true, true, true},
        {"sizeMenu", "size256x212", "&1 256x212", true, false, true},
        {"sizeMenu", "size512x424magnify", "&3 512x424 magnify", true, false, true},
        {"sizeMenu", "size512x424interlace", "&4 512x424 interlace", true, false, true},
        {"sizeMenu", "size256x424joint", "&5 256x424 joined", true, false, true},
        {"sizeMenu", "sizeSeparator", "", false, false, true},
        {"sizeMenu", "rotate", "Left &Rotation", true, false, true},
        {"viewMenu", "zoomIn", "Zoom &In", false, false, true, "Ctrl++; Ctrl+=; +"},
        {"viewMenu", "zoomOut", "Zoom &Out", false, false, false, "Ctrl+-; -"},
        {"viewMenu", "actualSize", "&Actual Size", false, false, true, "Ctrl+0"},
        {"viewMenu", "zoomSeparator", "", false, false, true},
        {"viewMenu", "fitToWindow", "&Fit to Window", true, false, true},
        {"viewMenu", "stretchToWindow", "&Stretch to Window", true, false, true},
        {"viewMenu", "fullScreen", "F&ull Screen", true, false, true, "F11"},
        {"viewMenu", "thumbnails", "&Thumbnails", true, false, true, "Ctrl+T"},
        {"viewMenu", "filterThumbnails", "Fi&lter Thumbnails", false, false, false, "Ctrl+F"},
        {"viewMenu", "sprites", "Sp&rites", true, false, true},
        {"viewMenu", "largeSprites", "Sprites 16&x16", true, false, true},
        {"viewMenu", "viewSeparator", "", false, false, true},
        {"coloursMenu", "colours", "&Colours", false, false, true},
        {"aspectMenu", "pixelAspect", "&Pixel Aspect", false, false, true},
        {"screenMenu", "screen0", "Screen &0 (40 columns)", true, false, true},
        {"screenMenu", "screen0w80", "Screen 0 (&80 columns)", true, false, true},
        {"screenMenu", "screen1", "Screen &1", true, false, true},
        {"screenMenu", "screen2", "Screen &2", true, false, true},
        {"screenMenu", "screen3", "Screen &3", true, false, true},
        {"screenMenu", "screen4", "Screen &4", true, false, true},
        {"screenMenu", "screen5", "Screen &5", true, false, true},
        {"screenMenu", "screen6", "Screen &6", true, false, true},
        {"screenMenu", "screen7", "Screen &7", true, true, true},
        {"screenMenu", "screen8", "Screen &8", true, false, true},
        {"screenMenu", "screen10", "Screen 1&0,11", true, false, true},
        {"screenMenu", "screen12", "Screen 1&2", true, false, true},
        {"screenMenu", "screenSeparator", "", false, false, true},
        {"screenMenu", "vramCopy", "VRAM0->VRAM1", false, false, true},
        {"screenMenu", "vramMapping", "&VRAM Mapping...", false, false, true},
        {"helpMenu", "keys", "&Keys", false, false, true, "F1"},
        {"helpMenu", "about", "&About...", false, false, true},
    };
    const QMenuBar* bar = window->menuBar();
    EXPECT_EQ(bar->objectName(), "menuBar");
    QStringList menus;
    QList<QAction*> shown;
    for (const QAction* top : bar->actions()) {
        menus << top->menu()->objectName() + ":" + top->text();
        shown += top->menu()->actions();
    }
    EXPECT_EQ(menus, QStringList({"fileMenu:&File", "editMenu:&Edit", "sizeMenu:Si&ze",
                                  "viewMenu:&View", "screenMenu:&Screen", "helpMenu:&Help"}));
    ASSERT_EQ(shown.size(), static_cast<qsizetype>(std::size(items)));
    for (std::size_t i = 0; i < std::size(items); ++i) {
        const Item& want = items[i];
        const QAction* got = shown[static_cast<qsizetype>(i)];
        SCOPED_TRACE(want.name);
        EXPECT_EQ(qobject_cast<QMenu*>(got->parent())->objectName(), want.menu);
        EXPECT_EQ(got->objectName(), want.name);
        EXPECT_EQ(got->isSeparator(), *want.caption == '\0');
        if (!got->isSeparator()) {
            EXPECT_EQ(got->text(), want.caption);
        }
        EXPECT_EQ(got->isCheckable(), want.checkable);
        EXPECT_EQ(got->isChecked(), want.checked);
        EXPECT_EQ(got->isEnabled(), want.enabled);
        EXPECT_EQ(QKeySequence::listToString(got->shortcuts()), want.keys);
    }
}

TEST(MainWindow, StartsWithoutPictureAtScreen7AndTheAutomaticSize) {
    const ViewerWindow window;
    EXPECT_EQ(window->objectName(), "mainWindow");
    EXPECT_FALSE(window->hasPicture());
    EXPECT_EQ(window->document()->viewMode(), ViewMode::magnify512x424);
    EXPECT_EQ(window->document()->vdp().screenMode(), ScreenMode::screen7);
    EXPECT_EQ(window->document()->mapping().linePixels, (std::array<std::int16_t, 2>{512, 512}));
    EXPECT_TRUE(window->acceptDrops());
    EXPECT_TRUE(window.picture().empty());
    EXPECT_EQ(caption(*window), "Tessarin");
}

TEST(MainWindow, CommandLineScreenAndPaletteInEitherOrderGiveTheSamePicture) {
    const ScratchDir dir;
    const std::string screen = copySample(dir, "BARS.SC5", "A.SC5");
    const std::string palette = copySample(dir, "BARS.PL5", "B.PL5");
    const auto expected = referencePicture(
        ScreenMode::screen5, 256, {{FileSlot::vram0, screen}, {FileSlot::palette, palette}});
    ASSERT_NE(expected, referencePicture(ScreenMode::screen5, 256,
                                         {{FileSlot::vram0, screen}})); // the palette shows

    for (const auto& arguments : {std::vector{screen, palette}, std::vector{palette, screen}}) {
        SCOPED_TRACE(arguments.front());
        const ViewerWindow window(arguments);
        EXPECT_FALSE(window->isVisible()); // rendered before the window first appears
        EXPECT_EQ(window.picture(), expected);
        EXPECT_EQ(checkedScreen(*window), "screen5");
        EXPECT_EQ(caption(*window), "Tessarin - " + screen);
        EXPECT_TRUE(window->menu().saveAs->isEnabled());
    }
}

// Many files named (a shell's *.SC?): the first shows with the page 1 and palette named,
// and browsing walks the pictures named, in their order, not in the folder's (A, C).
TEST(MainWindow, ManyCommandLineFilesShowTheFirstAndBrowseExactlyThoseNamed) {
    const ScratchDir dir;
    const std::string first = copySample(dir, "BARS7.SC7", "C.SC7");
    const std::string page = copySample(dir, "PAGE7.SC7", "C.S17");
    const std::string palette = copySample(dir, "BARS.PL5", "P.PL5");
    const std::string second = copySample(dir, "RGB.SC8", "A.SC8");
    ViewerWindow window({first, page, palette, second});
    EXPECT_EQ(window->document()->fileName(FileSlot::vram1), page);
    EXPECT_EQ(window->document()->fileName(FileSlot::palette), palette);
    const auto* place = window->findChild<QLabel*>("statusPlace");
    for (const auto& [item, file, at] : {std::tuple{window->menu().nextFile, first, "1 / 2"},
                                         {window->menu().nextFile, second, "2 / 2"},
                                         {window->menu().previousFile, second, "2 / 2"},
                                         {window->menu().previousFile, first, "1 / 2"}}) {
        EXPECT_EQ(window->document()->fileName(FileSlot::vram0), file);
        EXPECT_EQ(place->text(), at);
        ASSERT_EQ(runCommand(item), "");
    }
}

// A file opened by name says what it is beside its layout: a Graph Saurus file with the
// trailing byte most carry is one; a PNG or JPEG by its signature, and text by
// all its bytes, are no screen file whatever their names.
TEST(MainWindow, OpenedFilesSayWhatTheyAre) {
    const ScratchDir dir;
    std::vector<std::uint8_t> saurus = readBytes(sample("LAND8.SR8"));
    saurus.push_back(0x1A);
    std::vector<std::uint8_t> png{0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'}, jpeg{0xFF, 0xD8};
    std::vector<std::uint8_t> text(400, 'A');
    png.resize(400), jpeg.resize(400, 0xFF);
    const std::string import = " not a screen file: use File > Import Picture)";
    const struct {
        std::string name;
        const std::vector<std::uint8_t>& bytes;
        std::string said;
    } cases[] = {{"TRAIL.BI8", saurus, "Graph Saurus 0000–D3FF"},
                 {"PHOTO.PNG", png, "raw 400 bytes (PNG picture," + import},
                 {"PHOTO.SC5", jpeg, "raw 400 bytes (JPEG picture," + import},
                 {"NOTES.SC5", text, "raw 400 bytes (text, not a picture)"}};
    for (const auto& c : cases) {
        writeBytes(dir.file(c.name), c.bytes);
        const ViewerWindow window({dir.file(c.name)});
        EXPECT_EQ(window->findChild<QLabel*>("statusLayout")->toolTip().toStdString(), c.said);
    }
}

TEST(MainWindow, FileNameChoosesPaletteOrScreenMode) {
    const struct {
        const char* name;
        const char* screen; // checked afterwards, starting from screen 7
        bool palette;
    } cases[] = {
        {"COLORS.PAL", "screen7", true}, {"PIC.PL7", "screen7", true},
        {"PIC.SRS", "screen12", false},  {"PIC.SCC", "screen12", false},
        {"PIC.SCA", "screen10", false},  {"pic.scb", "screen10", false},
        {"PIC.GE5", "screen5", false},   {"X.SC8", "screen8", false},
        {"pic.sc6", "screen6", false},   {"PIC.BMP", "screen7", false},
    };
    const ScratchDir dir;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const ViewerWindow window;
        const std::string name = dir.file(c.name);
        writeBytes(name, patternBytes(kPaletteSize, 3));
        window->openFileByName(name);
        EXPECT_EQ(checkedScreen(*window), c.screen);
        EXPECT_EQ(caption(*window), c.palette ? "Tessarin" : "Tessarin - " + name);
        EXPECT_EQ(window->document()->mapping().paletteSource, PaletteSource::automatic);
        if (c.palette) {
            EXPECT_EQ(window->document()->paletteInEffect(), PaletteSource::file);
        }
        EXPECT_TRUE(window->hasPicture());
        EXPECT_TRUE(window->menu().saveAs->isEnabled());
        // The Automatic size: every column of the 512-wide screens 6 and 7.
        const bool wide = std::string(c.screen) == "screen6" || std::string(c.screen) == "screen7";
        EXPECT_EQ(bitmapSize(window.picture()), wide ? QSize(512, 424) : QSize(256, 212));
    }
}

TEST(MainWindow, FileThatCannotBeOpenedIsReportedAndTheCaptionStays) {
    const ScratchDir dir;
    const std::string shown = copySample(dir, "BARS7.SC7", "SHOWN.SC7");
    const ViewerWindow window({shown});
    const auto picture = window.picture();
    EXPECT_THROW(window->openFileByName(dir.file("MISSING.SC5")), FileError);
    EXPECT_EQ(caption(*window), "Tessarin - " + shown);
    EXPECT_EQ(checkedScreen(*window), "screen7");
    EXPECT_EQ(window.picture(), picture);
}

QMimeData* urlsOf(const std::vector<std::string>& names) {
    auto* data = new QMimeData;
    QList<QUrl> urls;
    for (const std::string& name : names) {
        urls << (name.find("://") == std::string::npos
                     ? QUrl::fromLocalFile(QString::fromStdString(name))
                     : QUrl(QString::fromStdString(name)));
    }
    data->setUrls(urls);
    return data;
}

TEST(MainWindow, DragsOfLocalFilesAreAcceptedAndOthersRefused) {
    const ViewerWindow window;
    for (const auto& [name, accepted] :
         {std::pair{"/tmp/PIC.SC7", true}, std::pair{"https://example.invalid/PIC.SC7", false}}) {
        SCOPED_TRACE(name);
        const std::unique_ptr<QMimeData> data(urlsOf({name}));
        QDragEnterEvent enter(QPoint(10, 10), Qt::CopyAction, data.get(), Qt::LeftButton,
                              Qt::NoModifier);
        enter.setAccepted(false);
        QCoreApplication::sendEvent(window.form.get(), &enter);
        EXPECT_EQ(enter.isAccepted(), accepted);
    }
}

TEST(MainWindow, OfFiveDroppedFilesTheFirstTwoAreOpenedInOrder) {
    const ScratchDir dir;
    const std::string screen8 = copySample(dir, "RGB.SC8", "PIC.SC8");
    const std::string palette = copySample(dir, "BARS.PL5", "PIC.PL5");
    const std::vector<std::string> dropped{screen8, palette, copySample(dir, "BARS.SC5", "C.SC5"),
                                           copySample(dir, "RAMP.SC6", "D.SC6"),
                                           copySample(dir, "BARS7.PL7", "E.PL7")};
    const ViewerWindow window({copySample(dir, "BARS7.SC7", "SHOWN.SC7")});
    const std::unique_ptr<QMimeData> data(urlsOf(dropped));
    // As a real drag: the window takes the drag on entering, then the drop.
    QDragEnterEvent enter(QPoint(10, 10), Qt::CopyAction, data.get(), Qt::LeftButton,
                          Qt::NoModifier);
    QCoreApplication::sendEvent(window.form.get(), &enter);
    ASSERT_TRUE(enter.isAccepted());
    QDropEvent drop(QPointF(10, 10), Qt::CopyAction, data.get(), Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(window.form.get(), &drop);
    EXPECT_TRUE(drop.isAccepted());
    EXPECT_EQ(caption(*window), "Tessarin - " + screen8);
    EXPECT_EQ(checkedScreen(*window), "screen8");
    EXPECT_EQ(window->document()->fileName(FileSlot::palette), palette);
    EXPECT_EQ(window.picture(),
              referencePicture(ScreenMode::screen8, 256,
                               {{FileSlot::vram0, screen8}, {FileSlot::palette, palette}}));
}

TEST(MainWindow, CaptionOfTheRealWindowIsExactlyTessarinAndTheLastVram0File) {
    const ScratchDir dir;
    const std::string name = copySample(dir, "BARS7.SC7", "my picture.sc7");
    ViewerWindow window;
    window->show();
    EXPECT_EQ(window->windowHandle()->title(), "Tessarin");
    window->openFileByName(name);
    window->openFileInto(copySample(dir, "PAGE7.SC7", "OTHER.SC7"), FileSlot::vram1);
    window->openFileByName(copySample(dir, "BARS7.PL7", "P.PL7"));
    EXPECT_EQ(window->windowHandle()->title().toStdString(), "Tessarin - " + name);
    EXPECT_EQ(QApplication::applicationDisplayName(), "Tessarin");
}

// The texts the dialog shows; raw literals, as "??)" would read as a trigraph.
constexpr const char* kScreenFilter = R"f(MSX Graphic file(*.s??))f";
constexpr const char* kPaletteFilter = R"f(MSX Palette file(*.pl?))f";

TEST(OpenCommands, OpenTheChosenFileIntoTheirSlotWithTheirFilterAndNoModeChange) {
    const ScratchDir dir;
    const std::string screen8 = copySample(dir, "RGB.SC8", "PIC.SC8");
    const std::string page = copySample(dir, "PAGE8.SC8", "PAGE.SC8");
    const std::string palette = copySample(dir, "BARS.PL5", "PIC.PL5");
    ViewerWindow window;
    ASSERT_EQ(runCommand(window->menu().screenItem(ScreenMode::screen5)), "");
    const struct {
        QAction* item;
        std::string name;
        const char* filter;
    } commands[] = {
        {window->menu().openVram0, screen8, kScreenFilter},
        {window->menu().openVram1, page, kScreenFilter},
        {window->menu().openPalette, palette, kPaletteFilter},
    };
    for (const auto& command : commands) {
        SCOPED_TRACE(command.name);
        QString filter;
        whenFileDialogAnswer(command.name, &filter);
        EXPECT_EQ(runCommand(command.item), "");
        EXPECT_EQ(filter, command.filter);
        EXPECT_EQ(checkedScreen(*window), "screen5");
    }
    EXPECT_EQ(caption(*window), "Tessarin - " + screen8);
    EXPECT_EQ(window->document()->fileName(FileSlot::vram0), screen8);
    EXPECT_EQ(window->document()->fileName(FileSlot::vram1), page);
    EXPECT_EQ(window->document()->fileName(FileSlot::palette), palette);
    EXPECT_EQ(window.picture(), referencePicture(ScreenMode::screen5, 256,
                                                 {{FileSlot::vram0, screen8},
                                                  {FileSlot::vram1, page},
                                                  {FileSlot::palette, palette}},
                                                 window->document()->viewMode()));
}

// A disk image opened by the File menu is a folder: its first picture in its mode, Page
// Down through the pictures inside up to the last, each as the same file copied off the
// disk shows; Save As starts beside the disk and never replaces it.
TEST(OpenCommands, ADiskImageOpensAsAFolderOfPictures) {
    const ScratchDir dir;
    const std::string disk = dir.file("GAME.DSK");
    const std::string mtools = " -i " + disk + " ";
    for (const std::string& make :
         {"mformat -C -f 720" + mtools + "::", "mcopy" + mtools + sample("BARS.SC5") + " ::/A.SC5",
          "mcopy" + mtools + sample("RGB.SC8") + " ::/B.SC8"}) {
        ASSERT_EQ(std::system(make.c_str()), 0) << make;
    }
    const std::string copied = dir.file("copied");
    std::filesystem::create_directory(copied);
    const auto shownAlone = [&](const std::string& name) {
        EXPECT_EQ(std::system(("mcopy" + mtools + "::/" + name + " " + copied).c_str()), 0);
        return ViewerWindow({copied + "/" + name}).picture();
    };
    ViewerWindow window;
    QString screenPatterns;
    whenFileDialogAnswer(disk, nullptr, [&] {
        screenPatterns = window->findChild<QFileDialog*>("openDialog")->nameFilters().first();
    });
    ASSERT_EQ(runCommand(window->menu().openVram0), "");
    // The names the rule knows beyond "*.S??", and disk images, are offered too.
    for (const char* pattern :
         {"*.[Gg][Ee]5", "*.[Gg][Rr][Pp]", "*.[Pp][Ii][Cc]", "*.[Dd][Ss][Kk]"}) {
        EXPECT_TRUE(screenPatterns.contains(QLatin1String(pattern))) << pattern;
    }
    EXPECT_EQ(caption(*window), "Tessarin - " + disk + "/A.SC5");
    EXPECT_EQ(checkedScreen(*window), "screen5");
    EXPECT_EQ(window.picture(), shownAlone("A.SC5"));
    for (int press = 0; press < 2; ++press) {
        ASSERT_EQ(runCommand(window->menu().nextFile), "");
        EXPECT_EQ(caption(*window), "Tessarin - " + disk + "/B.SC8");
    }
    EXPECT_EQ(checkedScreen(*window), "screen8");
    EXPECT_EQ(window.picture(), shownAlone("B.SC8"));

    const std::vector<std::uint8_t> image = readBytes(disk);
    QString folder;
    whenModal([&](QWidget& box) {
        auto& files = dynamic_cast<QFileDialog&>(box);
        folder = files.directory().absolutePath();
        typeFileName(files, disk);
        static_cast<QDialog&>(files).accept();
    });
    EXPECT_EQ(runCommand(window->menu().saveAs), "");
    EXPECT_EQ(folder.toStdString(), std::filesystem::canonical(dir.path()).string());
    EXPECT_EQ(readBytes(disk), image);
    EXPECT_TRUE(std::filesystem::exists(disk + ".bmp"));
}

// A name typed in part pops up the dialog's completions; the popup goes with the dialog.
TEST(OpenCommands, TheCompletionPopupClosesWithTheDialog) {
    const ScratchDir dir;
    const std::string palette = copySample(dir, "BARS.PL5", "PIC.PL5");
    ViewerWindow window;
    window->show();
    QWidget* popup = nullptr;
    whenModal([&](QWidget& box) {
        auto& files = dynamic_cast<QFileDialog&>(box);
        files.setDirectory(QString::fromStdString(dir.path()));
        QTest::qWait(300); // the folder is listed in the background
        auto* edit = files.findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
        QTest::keyClicks(edit, QStringLiteral("PI"));
        popup = edit->completer()->popup();
        EXPECT_TRUE(QTest::qWaitFor([popup] { return popup->isVisible(); }));
        typeFileName(files, palette);
        static_cast<QDialog&>(files).accept();
    });
    ASSERT_EQ(runCommand(window->menu().openPalette), "");
    EXPECT_FALSE(popup->isVisible());
}

TEST(OpenCommands, CancelChangesNothing) {
    ViewerWindow window;
    for (QAction* item :
         {window->menu().openVram0, window->menu().openVram1, window->menu().openPalette}) {
        whenFileDialogAnswer("");
        EXPECT_EQ(runCommand(item), "");
    }
    EXPECT_FALSE(window->hasPicture());
    EXPECT_FALSE(window->menu().saveAs->isEnabled());
    EXPECT_EQ(caption(*window), "Tessarin");
    EXPECT_EQ(window.picture().size(), 0U);
}

} // namespace
} // namespace tessarin::test
