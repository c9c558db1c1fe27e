// The thumbnail grid as a user drives it: a folder given on the command line opens into
// the grid, the keys move the selection, Enter opens the picture, Escape comes back.
#include "app/thumbnail_grid.h"
#include "tests/app/viewer_fixture.h"
#include "tests/support/open_counter.h"

#include <QIcon>
#include <QLabel>
#include <QLineEdit>
#include <QPixmap>
#include <QTest>
#include <cstdlib>
#include <filesystem>
#include <gtest/gtest.h>

namespace tessarin::test {
namespace {

TEST(ThumbnailGrid, AFolderOpensIntoTheGridAndEnterAndEscapeGoBetweenItAndThePicture) {
    const ScratchDir dir;
    const std::string first = copySample(dir, "BARS.SC5", "A1.SC5");
    const std::string second = copySample(dir, "BARS7.SC7", "A2.SC7");
    // After A2 in file-manager order; a picture by its name, it does not unpack.
    const std::string broken = dir.file("A10.SC5.zx0");
    writeBytes(broken, {0x00});
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
    // The status bar speaks of the grid's selection, not of the picture behind it; the
    // picture's commands wait for the single view.
    const auto text = [&](const char* name) {
        return window->findChild<QLabel*>(QLatin1String(name))->text().toStdString();
    };
    EXPECT_EQ(text("statusPlace"), "1 / 3");
    EXPECT_EQ(text("statusMode"), "");
    EXPECT_FALSE(window->menu().zoomIn->isEnabled());
    EXPECT_FALSE(window->menu().saveAs->isEnabled());

    // The thumbnails come from the workers: a picture where there was background, the
    // broken mark with the reason for the packed file that does not unpack.
    const auto made = [&] { return model.isMade(0) && model.isMade(1) && model.isMade(2); };
    for (int waited = 0; !made() && waited < 10000; waited += 20) {
        QTest::qWait(20);
    }
    EXPECT_NE(model.index(2).data(Qt::ToolTipRole).toString().toStdString().find("Cannot unpack"),
              std::string::npos);
    EXPECT_TRUE(model.index(0).data(ThumbnailModel::kProblemRole).toString().isEmpty());
    // The exporter's --thumbnail of the same file, centred on the square, selected untinted.
    const ScratchDir elsewhere; // the folder's stamp stays as it was
    const std::string exported = elsewhere.file("thumb.png");
    const std::string command =
        std::string(TESSARIN_EXPORT) + " -q --thumbnail 128 -o '" + exported + "' '" + first + "'";
    ASSERT_EQ(std::system(command.c_str()), 0) << command;
    const QImage want(QString::fromStdString(exported));
    const int side = ThumbnailModel::kThumbnailSize;
    const QImage thumbnail = model.index(0)
                                 .data(Qt::DecorationRole)
                                 .value<QIcon>()
                                 .pixmap(side, QIcon::Selected)
                                 .toImage();
    EXPECT_EQ(thumbnail
                  .copy((side - want.width()) / 2, (side - want.height()) / 2, want.width(),
                        want.height())
                  .convertToFormat(QImage::Format_RGB888),
              want.convertToFormat(QImage::Format_RGB888));

    QTest::keyClick(&grid, Qt::Key_PageDown); // the grid's, not the window's Next File
    QTest::qWait(50);                         // which would run queued
    EXPECT_EQ(window->document()->fileName(FileSlot::vram0), first);
    QTest::keyClick(&grid, Qt::Key_End);
    QTest::keyClick(&grid, Qt::Key_Left);
    EXPECT_EQ(grid.selectedPath(), second);
    EXPECT_EQ(text("statusPlace"), "2 / 3");
    EXPECT_EQ(text("statusFile"), "A2.SC7");
    QTest::keyClick(&grid, Qt::Key_Return);
    EXPECT_FALSE(window->thumbnails().shown());
    EXPECT_EQ(text("statusMode"), "Screen 7");
    EXPECT_TRUE(window->menu().zoomIn->isEnabled());
    EXPECT_TRUE(window->menu().saveAs->isEnabled());
    EXPECT_EQ(window->document()->fileName(FileSlot::vram0), second);
    EXPECT_EQ(window.picture(), ViewerWindow({second}).picture());

    // A file written over in place leaves its folder's stamp as it was.
    std::filesystem::copy_file(sample("LAND5.SC5"), first,
                               std::filesystem::copy_options::overwrite_existing);
    QTest::keyClick(window.form.get(), Qt::Key_Escape);
    EXPECT_TRUE(window->thumbnails().shown());
    EXPECT_EQ(grid.selectedPath(), second);
    EXPECT_TRUE(window->menu().thumbnails->isChecked());
    for (int waited = 0; !made() && waited < 10000; waited += 20) {
        QTest::qWait(20);
    }
    EXPECT_NE(model.index(0).data(Qt::DecorationRole).value<QIcon>().pixmap(side).toImage(),
              thumbnail);
}

// An archive opened into the grid, its thumbnails made and every picture stepped through
// with Page Down: one pass through it, whatever its kind (a solid 7z decompresses from
// its start to reach any member).
TEST(ThumbnailGrid, AnArchiveIsReadOnceForItsGridAndItsPictures) {
    const ScratchDir dir;
    std::filesystem::create_directory(dir.file("in"));
    for (int i = 0; i < 40; ++i) {
        copySample(dir, "LAND5.SC5", "in/P" + std::to_string(i) + ".SC5");
    }
    const std::string pack = "cd '" + dir.file("in") + "' && 7z a -bd -ms=on ../A.7z * >/dev/null";
    ASSERT_EQ(std::system(pack.c_str()), 0) << pack;
    OpenCounter counter(dir.file("A.7z"));
    ViewerWindow window({dir.file("A.7z")});
    window->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(window.form.get()));
    const ThumbnailModel& model = window->thumbnails().grid()->thumbnails();
    for (int waited = 0; !(model.isMade(0) && model.isMade(1)) && waited < 10000; waited += 20) {
        QTest::qWait(20);
    }
    for (int i = 1; i < 40; ++i) {
        window->openNextFile();
    }
    EXPECT_EQ(window->document()->fileName(FileSlot::vram0), dir.file("A.7z") + "/P39.SC5");
    EXPECT_EQ(counter.opens(), 1);
}

// Disk images and folders are cells of their folder's grid, and Enter opens one into its
// own grid at its first picture; a folder of folders alone opens into its grid too.
TEST(ThumbnailGrid, DisksAndFoldersAreCellsThatEnterOpens) {
    const ScratchDir dir;
    for (const std::string& disk : {dir.file("A.DSK"), dir.file("B.DSK")}) {
        const std::string make = "mformat -C -f 720 -i " + disk + " :: && mcopy -i " + disk + " " +
                                 sample("RGB.SC8") + " ::/P.SC8";
        ASSERT_EQ(std::system(make.c_str()), 0) << make;
    }
    std::filesystem::create_directories(dir.file("SUB/INNER"));
    ViewerWindow window({dir.path()});
    ThumbnailGrid& grid = *window->thumbnails().grid();
    const ThumbnailModel& cells = grid.thumbnails();
    ASSERT_EQ(cells.rowCount(), 3);
    EXPECT_EQ(cells.index(2).data().toString(), "SUB");
    grid.setCurrentIndex(grid.model()->index(1, 0));
    QTest::keyClick(&grid, Qt::Key_Return);
    EXPECT_EQ(window->document()->fileName(FileSlot::vram0), dir.file("B.DSK") + "/P.SC8");
    EXPECT_EQ(cells.folder(), dir.file("B.DSK"));
    window->openFileByName(dir.file("SUB"));
    EXPECT_EQ(cells.index(0).data().toString(), "INNER");
    // An archive of disks: its disks are its cells, beside its first disk's first picture.
    const std::string zip = "cd " + dir.path() + " && zip -q DISKS.ZIP A.DSK B.DSK";
    ASSERT_EQ(std::system(zip.c_str()), 0) << zip;
    window->openFileByName(dir.file("DISKS.ZIP"));
    EXPECT_EQ(window->document()->fileName(FileSlot::vram0),
              dir.file("DISKS.ZIP") + "/A.DSK/P.SC8");
    ASSERT_EQ(cells.rowCount(), 2);
    EXPECT_EQ(cells.index(1).data().toString(), "B.DSK");
}

// Ctrl+F over the grid: what is typed keeps the names holding it and the modes it names,
// whatever the case, the mode of a .PIC from its bytes; the keys move over what is kept,
// Enter opens the first, Escape shows every file again.
TEST(ThumbnailGrid, TheFilterKeepsNamesAndModesTypedAndEscapeRestoresTheGrid) {
    const ScratchDir dir;
    const std::string first = copySample(dir, "BARS.SC5", "A1.SC5");
    copySample(dir, "BARS7.SC7", "B2.SC7");
    const std::string shot = copySample(dir, "LAND5.SC5", "SHOT.PIC");
    copySample(dir, "RGB.SC8", "C3.SC8");
    ViewerWindow window({dir.path()});
    window->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(window.form.get()));
    window->activateWindow(); // the focus moves within an active window only
    ASSERT_TRUE(QTest::qWaitForWindowActive(window.form.get()));
    ThumbnailGrid& grid = *window->thumbnails().grid();
    auto* field = window->findChild<QLineEdit*>(QStringLiteral("gridFilter"));
    const auto* count = window->findChild<QLabel*>(QStringLiteral("gridFilterCount"));
    ASSERT_TRUE(field != nullptr && count != nullptr);
    EXPECT_FALSE(field->isVisible());
    const auto shown = [&] {
        std::string names;
        for (int row = 0; row < grid.model()->rowCount(); ++row) {
            names += grid.model()->index(row, 0).data().toString().toStdString() + " ";
        }
        return names + "(" + count->text().toStdString() + ")";
    };
    QTest::keyClick(&grid, Qt::Key_F, Qt::ControlModifier);
    QCoreApplication::processEvents(); // the command runs queued
    EXPECT_TRUE(field->isVisible());
    EXPECT_EQ(QApplication::focusWidget(), field);
    const struct {
        const char* typed;
        const char* shown;
    } cases[] = {
        {"Screen 5", "A1.SC5 SHOT.PIC (2 of 4)"},
        {"  sc8", "C3.SC8 (1 of 4)"},
        {"b2.", "B2.SC7 (1 of 4)"},
        {"screen 1", "(0 of 4)"},
        {"5", "A1.SC5 (1 of 4)"}, // a digit of a name; no mode's name begins with it
        {"sc", "A1.SC5 B2.SC7 C3.SC8 SHOT.PIC (4 of 4)"},
        {"SCREEN 5", "A1.SC5 SHOT.PIC (2 of 4)"},
    };
    for (const auto& c : cases) {
        field->selectAll();
        QTest::keyClicks(field, QString::fromLatin1(c.typed));
        EXPECT_EQ(shown(), c.shown) << c.typed;
    }
    EXPECT_EQ(grid.selectedPath(), first); // the first kept
    QTest::keyClick(&grid, Qt::Key_End);
    EXPECT_EQ(grid.selectedPath(), shot);
    QTest::keyClick(&grid, Qt::Key_Home);
    QTest::keyClick(&grid, Qt::Key_Right);
    EXPECT_EQ(grid.selectedPath(), shot);
    EXPECT_EQ(window->findChild<QLabel*>(QStringLiteral("statusPlace"))->text(), "4 / 4");

    QTest::keyClick(field, Qt::Key_Return);
    EXPECT_FALSE(window->thumbnails().shown());
    EXPECT_EQ(window->document()->fileName(FileSlot::vram0), first);
    QTest::keyClick(window.form.get(), Qt::Key_Escape); // the same folder: still filtered
    ASSERT_TRUE(window->thumbnails().shown());
    EXPECT_EQ(shown(), "A1.SC5 SHOT.PIC (2 of 4)");
    field->setFocus();
    QTest::keyClick(field, Qt::Key_Escape);
    EXPECT_FALSE(field->isVisible());
    EXPECT_TRUE(field->text().isEmpty());
    EXPECT_EQ(QApplication::focusWidget(), &grid);
    EXPECT_EQ(grid.model()->rowCount(), 4);
    EXPECT_EQ(grid.selectedPath(), first);
}

} // namespace
} // namespace tessarin::test
