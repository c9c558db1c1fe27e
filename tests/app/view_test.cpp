// What the window shows: the view sizes with and without rotation, the screen commands'
// reload, and the painting of the temporary picture into the client area.
#include "tests/app/viewer_fixture.h"

#include <QApplication>
#include <QImage>
#include <QMenu>
#include <QPalette>
#include <QPixmap>
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

ViewState viewOf(const TfrmMainForm& form) {
    QString checked;
    for (const QAction* item : form.menu.mnuSize->actions()) {
        if (item != form.menu.mnuRotate && item->isChecked()) {
            checked += item->objectName();
        }
    }
    return {form.centralWidget()->size(), form.document->viewMode, checked,
            form.menu.mnuRotate->isChecked()};
}

class ViewOfAPicture : public ::testing::Test {
protected:
    ViewOfAPicture() : window({copySample(dir, "BARS7.SC7", "PIC.SC7")}) { window->show(); }

    ScratchDir dir;
    ViewerWindow window;
};

TEST_F(ViewOfAPicture, EverySizeWithAndWithoutRotationGivesItsClientSizeAndViewMode) {
    const struct {
        QAction* TMainMenu::*item;
        bool rotated;
        ViewState want;
    } cases[] = {
        {&TMainMenu::mnu256x212, false, {{256, 212}, 0, "mnu256x212", false}},
        {&TMainMenu::mnu512x424mag, false, {{512, 424}, 1, "mnu512x424mag", false}},
        {&TMainMenu::mnu512x424int, false, {{512, 424}, 2, "mnu512x424int", false}},
        {&TMainMenu::mnu256x424joi, false, {{256, 424}, 3, "mnu256x424joi", false}},
        {&TMainMenu::mnu256x212, true, {{212, 256}, 4, "mnu256x212", true}},
        {&TMainMenu::mnu512x424mag, true, {{424, 512}, 5, "mnu512x424mag", true}},
        {&TMainMenu::mnu512x424int, true, {{424, 512}, 6, "mnu512x424int", true}},
        {&TMainMenu::mnu256x424joi, true, {{424, 256}, 7, "mnu256x424joi", true}},
    };
    const std::string picture = window->document->vram0FileName;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.want.sizeChecked.toStdString() + (c.rotated ? " rotated" : ""));
        if (window->menu.mnuRotate->isChecked() != c.rotated) {
            ASSERT_EQ(runCommand(window->menu.mnuRotate), "");
        }
        ASSERT_EQ(runCommand(window->menu.*c.item), "");
        EXPECT_EQ(viewOf(*window), c.want);
        EXPECT_EQ(bitmapSize(window->tempBitmapFileName), c.want.client);
        EXPECT_EQ(window.picture(), referencePicture(7, 512, {{fsVram0, picture}},
                                                     static_cast<std::int8_t>(c.want.viewMode)));
    }
}

TEST_F(ViewOfAPicture, RotationTwiceReturnsToTheViewItStartedFrom) {
    for (QAction* size : window->menu.mnuSize->actions()) {
        if (size->isSeparator() || size == window->menu.mnuRotate) {
            continue;
        }
        SCOPED_TRACE(size->objectName().toStdString());
        ASSERT_EQ(runCommand(size), "");
        const ViewState start = viewOf(*window);
        const auto picture = window.picture();
        ASSERT_EQ(runCommand(window->menu.mnuRotate), "");
        EXPECT_NE(viewOf(*window), start);
        ASSERT_EQ(runCommand(window->menu.mnuRotate), "");
        EXPECT_EQ(viewOf(*window), start);
        EXPECT_EQ(window.picture(), picture);
    }
}

TEST_F(ViewOfAPicture, RotatedJointThenMagnifyStaysRotated) {
    ASSERT_EQ(runCommand(window->menu.mnu256x424joi), "");
    ASSERT_EQ(runCommand(window->menu.mnuRotate), "");
    EXPECT_EQ(viewOf(*window), (ViewState{{424, 256}, 7, "mnu256x424joi", true}));
    ASSERT_EQ(runCommand(window->menu.mnu512x424mag), "");
    EXPECT_EQ(viewOf(*window), (ViewState{{424, 512}, 5, "mnu512x424mag", true}));
}

TEST_F(ViewOfAPicture, UnknownViewModeMakesRotationDoNothing) {
    window->document->viewMode = 8;
    ASSERT_EQ(runCommand(window->menu.mnuRotate), "");
    EXPECT_FALSE(window->menu.mnuRotate->isChecked());
    EXPECT_EQ(window->document->viewMode, 8);
}

TEST_F(ViewOfAPicture, SizeSetAgainAfterTheUserResizedTheWindow) {
    window->resize(600, 500);
    QCoreApplication::processEvents();
    ASSERT_NE(window->centralWidget()->size(), QSize(256, 212));
    ASSERT_EQ(runCommand(window->menu.mnu256x212), "");
    EXPECT_EQ(window->centralWidget()->size(), QSize(256, 212));
}

QImage shown(const TfrmMainForm& form) {
    return form.centralWidget()->grab().toImage().convertToFormat(QImage::Format_RGB32);
}

TEST_F(ViewOfAPicture, ClientAreaShowsTheTemporaryPictureOneToOneAndStretched) {
    const QImage picture = QImage(QString::fromStdString(window->tempBitmapFileName))
                               .convertToFormat(QImage::Format_RGB32);
    ASSERT_EQ(picture.size(), QSize(256, 212));
    EXPECT_EQ(shown(*window), picture);

    // Dragging the border to twice the size stretches the picture over the new area.
    window->resize(512, window->height() + 212);
    QCoreApplication::processEvents();
    ASSERT_EQ(window->centralWidget()->size(), QSize(512, 424));
    EXPECT_EQ(shown(*window), picture.scaled(512, 424));

    // The picture is read from the file at every paint: no copy is kept.
    window.form->document->vdp->vram.fill(0);
    window.form->document->WriteBitmap(window->tempBitmapFileName);
    EXPECT_NE(shown(*window), picture.scaled(512, 424));
}

TEST(MainWindow, NothingIsPaintedBeforeTheFirstFile) {
    ViewerWindow window;
    window->show();
    ASSERT_EQ(runCommand(window->menu.mnuVRAMCopy), ""); // renders, but paints nothing
    ASSERT_EQ(window.picture().size(), 162870U);
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
        QAction* TMainMenu::*item;
        int mode;
        std::int16_t linePixels;
    } screens[] = {{&TMainMenu::mnuScreen8, 8, 256},   {&TMainMenu::mnuScreen6, 6, 512},
                   {&TMainMenu::mnuScreen7, 7, 512},   {&TMainMenu::mnuScreen10, 10, 256},
                   {&TMainMenu::mnuScreen12, 12, 256}, {&TMainMenu::mnuScreen5, 5, 256}};
    for (const auto& screen : screens) {
        SCOPED_TRACE(screen.mode);
        // What the mapping dialog may have set is replaced by the mode's width.
        window->document->mapping.linePixels = {300, 300};
        ASSERT_EQ(runCommand(window->menu.*screen.item), "");
        EXPECT_EQ(window->document->mapping.linePixels,
                  (std::array<std::int16_t, 2>{screen.linePixels, screen.linePixels}));
        EXPECT_EQ(window.picture(), referencePicture(screen.mode, screen.linePixels,
                                                     {{fsVram0, name}, {fsPalette, palette}}));
        EXPECT_TRUE((window->menu.*screen.item)->isChecked());
    }
}

} // namespace
} // namespace tessarin::test
