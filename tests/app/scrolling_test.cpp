// The whole picture reachable: a picture larger than the screen scrolls in a window that
// stays within the screen, and the keys reach its far corner; Help > Keys lists every key.
#include "tests/app/viewer_fixture.h"

#include <QAbstractScrollArea>
#include <QKeySequence>
#include <QRegularExpression>
#include <QScreen>
#include <QScrollBar>
#include <QTableWidget>
#include <QTest>
#include <gtest/gtest.h>

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
    const tessarin::ViewRect picture = window->pictureRect();
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
