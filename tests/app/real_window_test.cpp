// Keys and the clipboard as a desktop sees them: only in a real window on an X server
// (the ViewerWindowOnAnXServer run), where key presses go through Qt's shortcut map and
// the clipboard is the X server's, read back by another program (xclip).
#include "tests/app/viewer_fixture.h"
#include "tests/support/document_probe.h"

#include <QGuiApplication>
#include <QKeySequence>
#include <QMenuBar>
#include <QProcess>
#include <QTest>
#include <gtest/gtest.h>
#include <string>

namespace tessarin::test {
namespace {

// Runs the program while this process's event loop goes on: xclip asks the clipboard's
// owner, this process, for the data.
std::string outputOf(const QString& program, const QStringList& arguments) {
    QProcess process;
    process.start(program, arguments);
    for (int waited = 0; process.state() != QProcess::NotRunning && waited < 5000; waited += 20) {
        QTest::qWait(20);
    }
    process.kill();
    process.waitForFinished();
    return process.readAllStandardOutput().toStdString();
}

TEST(RealWindow, KeysBrowseTheFolderAndCtrlCPutsAPngOnTheClipboard) {
    if (QGuiApplication::platformName() != QLatin1String("xcb")) {
        GTEST_SKIP() << "needs a real X server";
    }
    const ScratchDir dir;
    const std::string first = copySample(dir, "BARS.SC5", "A1.SC5");
    const std::string second = copySample(dir, "BARS7.SC7", "A2.SC7");
    ViewerWindow window({first});
    window->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(window.form.get()));
    window->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window.form.get()));

    // Each key to the file or state it reaches (commands run queued); F11 twice, since the
    // menus' keys work with the menu bar hidden.
    const struct {
        Qt::Key key;
        std::string file;
        int zoom;
        bool fullScreen;
    } presses[] = {{Qt::Key_PageDown, second, 1, false}, {Qt::Key_PageUp, first, 1, false},
                   {Qt::Key_Space, second, 1, false},    {Qt::Key_Backspace, first, 1, false},
                   {Qt::Key_End, second, 1, false},      {Qt::Key_Home, first, 1, false},
                   {Qt::Key_Plus, first, 2, false},      {Qt::Key_Minus, first, 1, false},
                   {Qt::Key_F11, first, 1, true},        {Qt::Key_F11, first, 1, false}};
    for (const auto& press : presses) {
        SCOPED_TRACE(QKeySequence(press.key).toString().toStdString());
        QTest::keyClick(window.form.get(), press.key);
        QTest::qWait(200);
        EXPECT_EQ(window->document()->fileName(FileSlot::vram0), press.file)
            << viewerApplication().lastErrorMessage().toStdString();
        EXPECT_EQ(window->view().zoom(), press.zoom);
        EXPECT_EQ(window->isFullScreen(), press.fullScreen);
        EXPECT_EQ(window->menuBar()->isVisible(), !press.fullScreen);
    }

    QTest::keyClick(window.form.get(), Qt::Key_C, Qt::ControlModifier);
    QTest::qWait(200);
    const std::string types =
        outputOf(QStringLiteral("xclip"),
                 {QStringLiteral("-selection"), QStringLiteral("clipboard"), QStringLiteral("-t"),
                  QStringLiteral("TARGETS"), QStringLiteral("-o")});
    EXPECT_NE(types.find("image/png"), std::string::npos) << types;
}

} // namespace
} // namespace tessarin::test
