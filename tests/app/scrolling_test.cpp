// The whole picture reachable: a picture larger than the screen scrolls in a window that
// stays within the screen, and the keys reach its far corner; a remembered window comes
// back on the screen; Help > Keys lists every key.
#include "app/view_settings.h"
#include "tests/app/viewer_fixture.h"

#include <QAbstractScrollArea>
#include <QKeySequence>
#include <QMenuBar>
#include <QRegularExpression>
#include <QScreen>
#include <QScrollBar>
#include <QStatusBar>
#include <QTableWidget>
#include <QTest>
#include <gtest/gtest.h>
#include <tuple>

namespace tessarin::test {
namespace {

TEST(Scrolling, PageDownToALargerPictureAtThreeTimesReachesItsCornerByKeys) {
    const ScratchDir dir;
    const std::string small = copySample(dir, "BARS.SC5", "A.SC5"); // 256x212
    copySample(dir, "BARS7.SC7", "B.SC7");                          // 512x424 magnified
    ViewerWindow window({small});
    window->show();
    ASSERT_EQ(runCommand(window->menu().zoomIn), "");
    ASSERT_EQ(runCommand(window->menu().zoomIn), "");
    ASSERT_EQ(runCommand(window->menu().nextFile), "");
    ASSERT_EQ(window->document()->fileName(FileSlot::vram0), dir.file("B.SC7"));
    QCoreApplication::processEvents();

    EXPECT_TRUE(window->screen()->availableGeometry().contains(window->frameGeometry()));
    const auto* scroller = qobject_cast<QAbstractScrollArea*>(window->centralWidget());
    const tessarin::ViewRect picture = window->pictureView().pictureRect();
    ASSERT_EQ(QSize(picture.width, picture.height), QSize(1536, 1272));
    QScrollBar* across = scroller->horizontalScrollBar();
    QScrollBar* down = scroller->verticalScrollBar();
    ASSERT_TRUE(across->maximum() > 0 && down->maximum() > 0);

    // The keys go where the user's go: to the window's focus.
    QWidget* focus = window->focusWidget();
    ASSERT_EQ(focus, scroller);
    for (int press = 0; press < 500 && across->value() < across->maximum(); ++press) {
        QTest::keyClick(focus, Qt::Key_Right);
    }
    for (int press = 0; press < 500 && down->value() < down->maximum(); ++press) {
        QTest::keyClick(focus, Qt::Key_Down);
    }
    EXPECT_EQ(across->value(), across->maximum());
    EXPECT_EQ(down->value(), down->maximum());
    QWidget* canvas = scroller->viewport()->childAt(0, 0);
    const QPoint corner =
        canvas->mapTo(scroller->viewport(),
                      QPoint(picture.x + picture.width - 1, picture.y + picture.height - 1));
    EXPECT_TRUE(scroller->viewport()->rect().contains(corner)) << corner.x() << "," << corner.y();
    // A drag moves the picture with the pointer.
    const QPoint from = canvas->mapFrom(scroller->viewport(), QPoint(100, 100));
    QTest::mousePress(canvas, Qt::LeftButton, {}, from);
    QTest::mouseMove(canvas, from + QPoint(50, 30));
    QTest::mouseRelease(canvas, Qt::LeftButton, {}, from + QPoint(50, 30));
    EXPECT_EQ(across->value(), across->maximum() - 50);
    EXPECT_EQ(down->value(), down->maximum() - 30);
}

// Left and Right step through the folder while the picture is no wider than the window;
// First and Last File reach its ends. Zoom In and Out from a fitted picture go to the whole
// zooms either side of its size shown; full screen hides the bars and fits the picture.
TEST(Keys, BrowseZoomPastTheFitAndFullScreen) {
    const ScratchDir dir;
    for (const char* name : {"A.SC5", "B.SC5", "C.SC5"}) {
        copySample(dir, "BARS.SC5", name);
    }
    ViewerWindow window({dir.file("B.SC5")});
    window->show();
    QCoreApplication::processEvents();
    const MainMenu& menu = window->menu();
    using Step = std::tuple<Qt::Key, QAction*, const char*>; // a key, else a command
    for (const auto& [key, command, file] :
         {Step{Qt::Key_Right, nullptr, "C"}, Step{Qt::Key_Right, nullptr, "C"},
          Step{Qt::Key_Left, nullptr, "B"}, Step{{}, menu.firstFile, "A"},
          Step{{}, menu.lastFile, "C"}}) {
        command != nullptr ? void(runCommand(command))
                           : QTest::keyClick(window->focusWidget(), key);
        EXPECT_EQ(window->document()->fileName(FileSlot::vram0),
                  dir.file(file + std::string(".SC5")));
    }
    for (const auto& [zoom, expected] : {std::pair{menu.zoomIn, 3}, {menu.zoomOut, 2}}) {
        ASSERT_EQ(runCommand(menu.fitToWindow), "");
        window->resize(700, 560); // 2.1 to 2.9 times the picture
        QCoreApplication::processEvents();
        ASSERT_EQ(window->pictureView().pictureRect().height / 212, 2);
        ASSERT_EQ(runCommand(zoom), "");
        EXPECT_EQ(window->view().zoom(), expected);
    }
    for (const bool full : {true, false}) {
        ASSERT_EQ(runCommand(menu.fullScreen), "");
        EXPECT_EQ(window->isFullScreen(), full);
        EXPECT_EQ(window->menuBar()->isVisible(), !full);
        EXPECT_EQ(window->statusBar()->isVisible(), !full);
        EXPECT_EQ(window->view().fit(), full ? ViewFit::window : ViewFit::zoom);
    }
}

// A window remembered with its title bar above the screen's top, or off every screen,
// comes back with its whole frame on the screen's area for windows.
TEST(Scrolling, ARememberedWindowComesBackWithItsFrameOnTheScreen) {
    const QRect area = QGuiApplication::primaryScreen()->availableGeometry();
    for (const QPoint at : {area.topLeft() - QPoint(0, 150), area.bottomRight() * 3}) {
        const ViewerWindow window;
        window->setGeometry(QRect(at, QSize(400, 300)));
        ViewSettings().saveView(window->saveGeometry(), 1, false);
        window->restoreView(area);
        window->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(window.form.get()));
        EXPECT_TRUE(area.contains(window->frameGeometry())) << at.y();
    }
}

TEST(HelpKeys, ListsEveryKeyOfEveryCommandAndThePicturesKeys) {
    ViewerWindow window;
    ASSERT_EQ(runCommand(window->menu().keys), "");
    const auto* table = window->findChild<QTableWidget*>(QStringLiteral("keysTable"));
    ASSERT_TRUE(table != nullptr && table->isVisible());
    QStringList rows;
    for (int row = 0; row < table->rowCount(); ++row) {
        rows << table->item(row, 0)->text() + u'|' + table->item(row, 1)->text();
    }
    int withKeys = 0;
    for (const QAction* action : window->findChildren<QAction*>()) {
        for (const QKeySequence& key : action->shortcuts()) {
            QString caption = action->text();
            caption.remove(u'&');
            const QString keys = key.toString(QKeySequence::NativeText);
            EXPECT_EQ(rows.filter(QRegularExpression(QStringLiteral("^.* > %1\\|(.*, )?%2(, .*)?$")
                                                         .arg(QRegularExpression::escape(caption),
                                                              QRegularExpression::escape(keys))))
                          .size(),
                      1)
                << caption.toStdString() << " " << keys.toStdString();
            ++withKeys;
        }
    }
    EXPECT_GE(withKeys, 12);
    EXPECT_EQ(rows.filter(QStringLiteral("Help > Keys|F1")).size(), 1);
    EXPECT_EQ(
        rows.filter(QRegularExpression(QStringLiteral("\\|(Arrow keys|Ctrl\\+Wheel)$"))).size(), 2);
}

} // namespace
} // namespace tessarin::test
