// The thumbnail grid as a user drives it: a folder given on the command line opens into
// the grid, the keys move the selection, Enter opens the picture, Escape comes back.
#include "app/thumbnail_grid.h"
#include "tests/app/viewer_fixture.h"

#include <QPixmap>
#include <QTest>
#include <gtest/gtest.h>

namespace tessarin::test {
namespace {

TEST(ThumbnailGrid, AFolderOpensIntoTheGridAndEnterAndEscapeGoBetweenItAndThePicture) {
    const ScratchDir dir;
    const std::string first = copySample(dir, "BARS.SC5", "A1.SC5");
    const std::string second = copySample(dir, "BARS7.SC7", "A2.SC7");
    const std::string broken = dir.file("A10.SC5"); // after A2: file-manager order
    writeBytes(broken, {});
    ViewerWindow window({dir.path()});
    ASSERT_TRUE(window->startUpErrors().isEmpty());
    window->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(window.form.get()));
    ASSERT_TRUE(window->thumbnails().shown());
    ThumbnailGrid& grid = *window->thumbnails().grid();
    const ThumbnailModel& model = grid.thumbnails();
    ASSERT_EQ(model.rowCount(), 3);
    EXPECT_EQ(model.index(1).data().toString().toStdString(), "A2.SC7");
    EXPECT_EQ(grid.selectedPath(), first);
    EXPECT_EQ(window->document()->fileName(FileSlot::vram0), first);

    // The thumbnails come from the workers: a picture where there was background, the
    // broken mark with the reason for the empty file.
    const auto made = [&] { return !model.index(2).data(ThumbnailModel::kProblemRole).isNull(); };
    for (int waited = 0; !made() && waited < 5000; waited += 20) {
        QTest::qWait(20);
    }
    EXPECT_NE(model.index(2).data(Qt::ToolTipRole).toString().toStdString().find("is empty"),
              std::string::npos);
    QTest::qWait(100);
    const QImage thumbnail = model.index(0).data(Qt::DecorationRole).value<QPixmap>().toImage();
    EXPECT_NE(thumbnail.pixelColor(ThumbnailModel::kThumbnailSize / 2,
                                   ThumbnailModel::kThumbnailSize / 2),
              QColor(24, 24, 24));

    QTest::keyClick(&grid, Qt::Key_End);
    QTest::keyClick(&grid, Qt::Key_Left);
    EXPECT_EQ(grid.selectedPath(), second);
    QTest::keyClick(&grid, Qt::Key_Return);
    EXPECT_FALSE(window->thumbnails().shown());
    EXPECT_EQ(window->document()->fileName(FileSlot::vram0), second);
    EXPECT_EQ(window.picture(), ViewerWindow({second}).picture());

    QTest::keyClick(window.form.get(), Qt::Key_Escape);
    EXPECT_TRUE(window->thumbnails().shown());
    EXPECT_EQ(grid.selectedPath(), second);
    EXPECT_TRUE(window->menu().thumbnails->isChecked());
}

} // namespace
} // namespace tessarin::test
