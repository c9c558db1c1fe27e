#include "dialogs/import_picture_dialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QSpinBox>
#include <gtest/gtest.h>

namespace {

// Each mode chosen gives that screen's file and its preview, shown two lines a line;
// sprites are asked for on screen 2 alone.
TEST(ImportPictureDialog, TheModeChosenMakesItsFileAndPreview) {
    tessarin::SourceImage source;
    source.picture.resize(64, 48);
    std::ranges::fill(source.picture.pixels(), tessarin::RgbTriple{40, 160, 220});
    ImportPictureDialog dialog(source);
    auto* screens = dialog.findChild<QComboBox*>(QStringLiteral("screenBox_"));
    auto* preview = dialog.findChild<QLabel*>(QStringLiteral("previewLabel_"));
    ASSERT_NE(screens, nullptr);
    ASSERT_NE(preview, nullptr);
    auto* sprites = dialog.findChild<QSpinBox*>(QStringLiteral("spritesBox_"));
    ASSERT_NE(sprites, nullptr);
    const struct {
        int index;
        std::uint8_t endHigh; // of the BSAVE end address
        int previewHeight;
    } cases[] = {{0, 0x37, 384}, {1, 0x76, 424}, {2, 0xFA, 424}, {3, 0xD3, 424},
                 {4, 0xD3, 424}, {5, 0x20, 384}, {6, 0x37, 384}, {7, 0x76, 424}};
    for (const auto& c : cases) {
        screens->setCurrentIndex(c.index);
        EXPECT_EQ(dialog.encoding().file.at(4), c.endHigh) << c.index;
        EXPECT_EQ(preview->pixmap().height(), c.previewHeight) << c.index;
        EXPECT_EQ(preview->pixmap().width(), 512) << c.index;
        EXPECT_EQ(sprites->isEnabled(), c.index == 0) << c.index; // screen 2's alone
    }
    // Interlaced, a bitmap screen's page 1 is made too and the preview shows a row a line.
    auto* interlace = dialog.findChild<QCheckBox*>(QStringLiteral("interlaceBox_"));
    ASSERT_NE(interlace, nullptr);
    interlace->setChecked(true);
    screens->setCurrentIndex(4); // screen 12
    EXPECT_EQ(dialog.encoding().companion.size(), 7U + 0xD400);
    EXPECT_EQ(preview->pixmap().height(), 424);
    screens->setCurrentIndex(0);
    EXPECT_FALSE(interlace->isEnabled());
    EXPECT_TRUE(dialog.encoding().companion.empty());
}

// Show the Error puts the heat map of the preview in its place, with its legend, and back.
TEST(ImportPictureDialog, ShowTheErrorShowsTheHeatMapInThePreviewsPlace) {
    tessarin::SourceImage source;
    source.picture.resize(64, 48);
    std::ranges::fill(source.picture.pixels(), tessarin::RgbTriple{40, 160, 220});
    ImportPictureDialog dialog(source);
    dialog.show();
    auto* showError = dialog.findChild<QCheckBox*>(QStringLiteral("showErrorBox_"));
    const auto* preview = dialog.findChild<QLabel*>(QStringLiteral("previewLabel_"));
    const auto* legend = dialog.findChild<QWidget*>(QStringLiteral("legend_"));
    ASSERT_TRUE(showError != nullptr && preview != nullptr && legend != nullptr);
    const QImage plain = preview->pixmap().toImage();
    EXPECT_FALSE(legend->isVisible());
    showError->setChecked(true);
    EXPECT_TRUE(legend->isVisible());
    EXPECT_EQ(preview->pixmap().size(), plain.size());
    EXPECT_NE(preview->pixmap().toImage(), plain);
    showError->setChecked(false);
    EXPECT_EQ(preview->pixmap().toImage(), plain);
}

} // namespace
