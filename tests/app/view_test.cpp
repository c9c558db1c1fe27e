// What the window shows: the view sizes with and without rotation, the screen commands'
// reload, and the painting of the picture the view holds into the client area.
#include "app/elided_label.h"
#include "tests/app/viewer_fixture.h"
#include "tests/support/document_probe.h"
#include "tools/disk_writer.h"

#include <QApplication>
#include <QFileInfo>
#include <QImage>
#include <QLabel>
#include <QMenu>
#include <QPalette>
#include <QPixmap>
#include <QStatusBar>
#include <filesystem>
#include <gtest/gtest.h>

namespace tessarin::test {
namespace {

struct ViewState {
    QSize client;
    int viewMode;
    QString sizeChecked;
    bool rotationChecked;
    friend bool operator==(const ViewState&, const ViewState&) = default;
};

void PrintTo(const ViewState& s, std::ostream* out) {
    *out << s.client.width() << "x" << s.client.height() << " viewMode " << s.viewMode << " "
         << s.sizeChecked.toStdString() << (s.rotationChecked ? " rotated" : "");
}

ViewState viewOf(const MainWindow& form) {
    QString checked;
    for (const QAction* item : form.menu().sizeMenu->actions()) {
        if (item != form.menu().rotate && item->isChecked()) {
            checked += item->objectName();
        }
    }
    // The picture's size at the zoom: the window may be wider, for its status bar's fields.
    const ViewRect place = form.pictureView().pictureRect();
    return {{place.width, place.height},
            static_cast<int>(form.document()->viewMode()),
            checked,
            form.menu().rotate->isChecked()};
}

class ViewOfAPicture : public ::testing::Test {
protected:
    ViewOfAPicture() : window({copySample(dir, "BARS7.SC7", "PIC.SC7")}) { window->show(); }

    ScratchDir dir;
    ViewerWindow window;
};

TEST_F(ViewOfAPicture, EverySizeWithAndWithoutRotationGivesItsClientSizeAndViewMode) {
    const struct {
        QAction* MainMenu::*item;
        bool rotated;
        ViewState want;
    } cases[] = {
        {&MainMenu::size256x212, false, {{256, 212}, 0, "size256x212", false}},
        {&MainMenu::size512x424magnify, false, {{512, 424}, 1, "size512x424magnify", false}},
        {&MainMenu::size512x424interlace, false, {{512, 424}, 2, "size512x424interlace", false}},
        {&MainMenu::size256x424joint, false, {{256, 424}, 3, "size256x424joint", false}},
        {&MainMenu::size256x212, true, {{212, 256}, 4, "size256x212", true}},
        {&MainMenu::size512x424magnify, true, {{424, 512}, 5, "size512x424magnify", true}},
        {&MainMenu::size512x424interlace, true, {{424, 512}, 6, "size512x424interlace", true}},
        {&MainMenu::size256x424joint, true, {{424, 256}, 7, "size256x424joint", true}},
    };
    const std::string picture = window->document()->fileName(FileSlot::vram0);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.want.sizeChecked.toStdString() + (c.rotated ? " rotated" : ""));
        if (window->menu().rotate->isChecked() != c.rotated) {
            ASSERT_EQ(runCommand(window->menu().rotate), "");
        }
        ASSERT_EQ(runCommand(window->menu().*c.item), "");
        EXPECT_EQ(viewOf(*window), c.want);
        EXPECT_EQ(bitmapSize(window.picture()), c.want.client);
        EXPECT_EQ(window.picture(),
                  referencePicture(ScreenMode::screen7, 512, {{FileSlot::vram0, picture}},
                                   static_cast<ViewMode>(c.want.viewMode)));
    }
}

TEST_F(ViewOfAPicture, RotationTwiceReturnsToTheViewItStartedFrom) {
    for (QAction* size : window->menu().sizeMenu->actions()) {
        if (size->isSeparator() || size == window->menu().rotate) {
            continue;
        }
        SCOPED_TRACE(size->objectName().toStdString());
        ASSERT_EQ(runCommand(size), "");
        const ViewState start = viewOf(*window);
        const auto picture = window.picture();
        ASSERT_EQ(runCommand(window->menu().rotate), "");
        EXPECT_NE(viewOf(*window), start);
        ASSERT_EQ(runCommand(window->menu().rotate), "");
        EXPECT_EQ(viewOf(*window), start);
        EXPECT_EQ(window.picture(), picture);
    }
}

TEST_F(ViewOfAPicture, RotatedJointThenMagnifyStaysRotated) {
    ASSERT_EQ(runCommand(window->menu().size256x424joint), "");
    ASSERT_EQ(runCommand(window->menu().rotate), "");
    EXPECT_EQ(viewOf(*window), (ViewState{{424, 256}, 7, "size256x424joint", true}));
    ASSERT_EQ(runCommand(window->menu().size512x424magnify), "");
    EXPECT_EQ(viewOf(*window), (ViewState{{424, 512}, 5, "size512x424magnify", true}));
}

TEST_F(ViewOfAPicture, UnknownViewModeMakesRotationDoNothing) {
    // No command sets an unknown view mode: it is set behind the window's back.
    const_cast<ScreenDocument*>(window->document())->setViewMode(static_cast<ViewMode>(8));
    ASSERT_EQ(runCommand(window->menu().rotate), "");
    EXPECT_FALSE(window->menu().rotate->isChecked());
    EXPECT_EQ(static_cast<int>(window->document()->viewMode()), 8);
}

TEST_F(ViewOfAPicture, SizeSetAgainAfterTheUserResizedTheWindow) {
    window->resize(600, 500);
    QCoreApplication::processEvents();
    ASSERT_NE(window->centralWidget()->size(), QSize(256, 212));
    ASSERT_EQ(runCommand(window->menu().size256x212), "");
    EXPECT_EQ(window->centralWidget()->size(),
              QSize(std::max(256, window->minimumSizeHint().width()), 212));
}

QImage shown(const MainWindow& form) {
    return form.centralWidget()->grab().toImage().convertToFormat(QImage::Format_RGB32);
}

TEST_F(ViewOfAPicture, ClientAreaShowsThePictureOneToOneLetterboxedOrStretched) {
    const std::vector<std::uint8_t> bmp = window.picture();
    const QImage picture =
        QImage::fromData(QByteArray::fromRawData(reinterpret_cast<const char*>(bmp.data()),
                                                 static_cast<qsizetype>(bmp.size())),
                         "BMP")
            .convertToFormat(QImage::Format_RGB32);
    ASSERT_EQ(picture.size(), QSize(512, 424)); // screen 7 at the Automatic size
    EXPECT_EQ(shown(*window), picture);

    // A larger window keeps the zoom: the picture in the middle, a dark border around it.
    window->resize(768, window->height() + 212);
    QCoreApplication::processEvents();
    ASSERT_EQ(window->centralWidget()->size(), QSize(768, 636));
    const QImage larger = shown(*window);
    EXPECT_EQ(larger.copy(128, 106, 512, 424), picture);
    EXPECT_EQ(larger.pixelColor(0, 0), QColor(24, 24, 24));
    // Stretch to Window: the picture over the whole area, its shape lost.
    ASSERT_EQ(runCommand(window->menu().stretchToWindow), "");
    EXPECT_EQ(shown(*window), picture.scaled(768, 636));
}

TEST(MainWindow, NothingIsPaintedBeforeTheFirstFile) {
    ViewerWindow window;
    window->show();
    ASSERT_EQ(runCommand(window->menu().vramCopy), ""); // renders, but paints nothing
    ASSERT_EQ(window.picture().size(), 651318U);        // screen 7 at the Automatic size
    const QImage image = shown(*window);
    const QColor background = window->centralWidget()->palette().color(QPalette::Window);
    for (int y = 0; y < image.height(); y += 7) {
        for (int x = 0; x < image.width(); x += 7) {
            ASSERT_EQ(QColor(image.pixel(x, y)), background) << x << "," << y;
        }
    }
}

TEST(ScreenCommands, ReloadEveryOpenFileInTheNewModeAndRenderIt) {
    const ScratchDir dir;
    const std::string name = copySample(dir, "BARS.SC5", "PIC.SC5");
    const std::string palette = copySample(dir, "BARS.PL5", "PIC.PL5");
    ViewerWindow window({name, palette});
    // Changed on disk after opening: only a reload can show the new bytes.
    copySample(dir, "RGB.SC8", "PIC.SC5");
    const struct {
        ScreenMode mode;
        std::int16_t linePixels;
    } screens[] = {{ScreenMode::screen8, 256},  {ScreenMode::screen6, 512},
                   {ScreenMode::screen7, 512},  {ScreenMode::screen10, 256},
                   {ScreenMode::screen12, 256}, {ScreenMode::screen5, 256}};
    for (const auto& screen : screens) {
        SCOPED_TRACE(static_cast<int>(screen.mode));
        // What the mapping dialog may have set is replaced by the mode's width.
        Probe::mapping(const_cast<ScreenDocument&>(*window->document())).linePixels = {300, 300};
        ASSERT_EQ(runCommand(window->menu().screenItem(screen.mode)), "");
        EXPECT_EQ(window->document()->mapping().linePixels,
                  (std::array<std::int16_t, 2>{screen.linePixels, screen.linePixels}));
        EXPECT_EQ(window.picture(),
                  referencePicture(screen.mode, screen.linePixels,
                                   {{FileSlot::vram0, name}, {FileSlot::palette, palette}},
                                   window->document()->viewMode()));
        EXPECT_TRUE(window->menu().screenItem(screen.mode)->isChecked());
    }
}

} // namespace
} // namespace tessarin::test

namespace tessarin::test {
namespace {

// A palette opened by hand stays through Page Down while Keep Palette is checked.
TEST(StatusBar, KeepPaletteKeepsTheHandOpenedPaletteThroughPageDown) {
    const ScratchDir dir;
    copySample(dir, "BARS.SC5", "B.SC5");
    ViewerWindow window({copySample(dir, "BARS.SC5", "A.SC5"), sample("BARS7.PL7")});
    const auto said = [&] {
        // The whole text: the field shows it elided to a width the hidden window has not.
        return window->findChild<QLabel*>(QStringLiteral("statusPalette"))->toolTip().toStdString();
    };
    ASSERT_EQ(runCommand(window->menu().keepPalette), "");
    ASSERT_EQ(runCommand(window->menu().nextFile), "");
    EXPECT_EQ(said(), "palette: BARS7.PL7 (kept)");
    EXPECT_EQ(window->document()->vdp().activePalette(), window->document()->vdp().filePalette());
    ASSERT_EQ(runCommand(window->menu().keepPalette), ""); // off: the file's own colours
    ASSERT_EQ(runCommand(window->menu().previousFile), "");
    EXPECT_EQ(said(), "palette: in file");
}

// A white sprite at (20, 10) over black: drawn at first and said, with the MSX1 colours.
TEST(StatusBar, SaysWhenSpritesAreDrawnAndWhichColourModel) {
    const ScratchDir dir;
    std::vector<std::uint8_t> file(7 + 0x4000, 0);
    std::ranges::copy(std::vector<std::uint8_t>{0xFE, 0, 0, 0xFF, 0x3F}, file.begin());
    std::ranges::copy(std::vector<std::uint8_t>{9, 20, 0, 15}, file.begin() + 7 + 0x1B00);
    file[7 + 0x3800] = 0xFF;
    writeBytes(dir.path() + "/S.SC2", file);
    ViewerWindow window({dir.path() + "/S.SC2"});
    ASSERT_EQ(runCommand(window->menu().coloursMsx1), "");
    const auto* mode = window->findChild<QLabel*>(QStringLiteral("statusMode"));
    EXPECT_TRUE(window->menu().sprites->isChecked());
    EXPECT_EQ(mode->toolTip(), "Screen 2 (MSX1 (TMS9918) colours), sprites");
    EXPECT_EQ(window->document()->picture().row(10)[20], (RgbTriple{255, 255, 255}));
    ASSERT_EQ(runCommand(window->menu().sprites), "");
    EXPECT_FALSE(window->menu().sprites->isChecked());
    EXPECT_EQ(mode->toolTip(), "Screen 2 (MSX1 (TMS9918) colours)");
    EXPECT_EQ(window->document()->picture().row(10)[20], (RgbTriple{0, 0, 0}));
}

// A .SC0 saved to the end of WIDTH 80's patterns opens at 80 columns, and says so.
TEST(StatusBar, NamesATextScreensColumns) {
    const ScratchDir dir;
    ViewerWindow window({copySample(dir, "TEXT80.SC0", "T.SC0")});
    const auto full = [&](const char* name) {
        return window->findChild<QLabel*>(QLatin1String(name))->toolTip().toStdString();
    };
    EXPECT_EQ(full("statusMode"), "Screen 0 (80 columns)");
}

TEST(StatusBar, NamesTheFilePlaceModePaletteSizeAndTheEndOfTheFolder) {
    const ScratchDir dir;
    copySample(dir, "BARS.SC5", "A.SC5");
    const std::string second = copySample(dir, "BARS.SC5", "B.SC5");
    ViewerWindow window({second});
    window->show();
    // The fields are laid out, and the window widened for them, from the event loop.
    const auto text = [&](const char* name) {
        for (int pass = 0; pass < 3; ++pass) {
            QCoreApplication::processEvents();
        }
        return window->findChild<QLabel*>(QLatin1String(name))->text().toStdString();
    };
    EXPECT_EQ(text("statusPlace"), "2 / 2");
    EXPECT_EQ(text("statusFile"), "B.SC5");
    EXPECT_EQ(text("statusMode"), "Screen 5");
    EXPECT_EQ(text("statusPalette"), describe(window->document()->paletteChoice()));
    EXPECT_EQ(text("statusSize"), "256x212 at 1x");
    ASSERT_EQ(runCommand(window->menu().nextFile), "");
    EXPECT_EQ(window->statusBar()->currentMessage(), "Last file");
    ASSERT_EQ(runCommand(window->menu().previousFile), "");
    EXPECT_EQ(text("statusPlace"), "1 / 2");
    EXPECT_EQ(text("statusFile"), "A.SC5");
    // The file browsed to is shown, not added: the recent files are those opened.
    const QList<QAction*> recent = window->menu().recentMenu->actions();
    ASSERT_FALSE(recent.empty());
    EXPECT_EQ(recent[0]->text(), QFileInfo(QString::fromStdString(second)).absoluteFilePath());
    ASSERT_EQ(runCommand(window->menu().zoomIn), "");
    EXPECT_EQ(text("statusSize"), "256x212 at 2x");
    EXPECT_EQ(window->centralWidget()->size(), QSize(512, 424));
    // The V9938 has no screen 12: its colours are the V9958's.
    ASSERT_EQ(runCommand(window->menu().screenItem(ScreenMode::screen12)), "");
    ASSERT_EQ(runCommand(window->menu().coloursMsx2), "");
    const auto* mode = window->findChild<QLabel*>(QStringLiteral("statusMode"));
    EXPECT_NE(mode->toolTip().indexOf(QStringLiteral("V9958")), -1);
    // Every field keeps the width it reads at, the window's at 1x too.
    ASSERT_EQ(runCommand(window->menu().actualSize), "");
    window->statusBar()->clearMessage(); // "Last file" hides the fields while it shows
    EXPECT_EQ(text("statusPalette"), "none: direct colours");
    for (const QLabel* field : window->statusBar()->findChildren<QLabel*>()) {
        EXPECT_GE(field->width(), field->minimumSizeHint().width())
            << field->objectName().toStdString();
    }
}

// At 1024 pixels wide the fields share the width by their texts: the palette field shows
// its whole text while the others have room to spare.
TEST(StatusBar, At1024PixelsThePaletteFieldShowsItsWholeText) {
    const ScratchDir dir;
    writeBytes(dir.file("A.SC5"), patternBytes(27136, 5));
    copySample(dir, "BARS.PL5", "mk.pal");
    ViewerWindow window({dir.file("A.SC5")});
    window->show();
    window->resize(1024, window->height());
    QCoreApplication::processEvents();
    const auto* palette = window->findChild<ElidedLabel*>(QStringLiteral("statusPalette"));
    EXPECT_EQ(palette->fullText(), "palette: mk.pal (folder's only palette)");
    EXPECT_EQ(palette->text(), palette->fullText());
}

// On a damaged disk the status bar says so, and Page Down steps over a file of which
// nothing can be read to the next picture instead of stopping at it.
TEST(StatusBar, PageDownStepsOverAFileThatCannotBeReadOfADamagedDisk) {
    const ScratchDir dir;
    samples::DiskWriter disk(40);
    const std::vector<std::uint8_t> picture = test::patternBytes(3000, 1);
    disk.addFile(samples::DiskWriter::kRoot, "A.SC5", picture);
    disk.add(samples::DiskWriter::kRoot, "B.SC5", 0, 4000, 3000); // outside the data area
    disk.addFile(samples::DiskWriter::kRoot, "C.SC5", picture);
    const std::uint16_t sub = disk.addDirectory(samples::DiskWriter::kRoot, "SUB");
    disk.add(sub, "LOOP", 0x10, sub, 0);
    const std::string image = dir.file("D.DSK");
    test::writeBytes(image, disk.bytes());
    ViewerWindow window({image + "/A.SC5"});
    const auto field = [&](const char* name) {
        return window->findChild<QLabel*>(QLatin1String(name));
    };
    EXPECT_FALSE(field("statusDamage")->isHidden());
    EXPECT_EQ(field("statusDamage")->text().toStdString(),
              "this disk is damaged: " + image +
                  "/B.SC5: first cluster 4000 outside the data area; nothing of it can be read "
                  "(and 1 more)");
    ASSERT_EQ(runCommand(window->menu().nextFile), "");
    EXPECT_EQ(window->document()->fileName(FileSlot::vram0), image + "/C.SC5");
    const std::string message = window->statusBar()->currentMessage().toStdString();
    EXPECT_NE(message.find("Stepped over a file that cannot be read: " + image + "/B.SC5"),
              std::string::npos)
        << message;
}

} // namespace
} // namespace tessarin::test
