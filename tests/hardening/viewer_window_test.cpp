// The viewer's window when files change behind its back: the error of the command
// names the file, the window goes on, and it writes nothing into the temporary folder.
#include "app/main_window.h"
#include "app/picture_view.h"
#include "app/tessarin_application.h"
#include "image/bmp_encoder.h"
#include "tests/app/viewer_fixture.h"
#include "tests/platform/scratch_dir.h"
#include "tests/support/document_probe.h"

#include <QActionGroup>
#include <QTimer>
#include <cstdlib>
#include <filesystem>
#include <gtest/gtest.h>
#include <memory>

namespace {

namespace fs = std::filesystem;
using tessarin::ScreenMode;
using tessarin::test::sample;
using tessarin::test::ScratchDir;

// Runs command as a queued event, the way a menu command or a drop arrives, so that an
// error reaches the application's notify(); returns the message it reported.
template <typename Command> std::string runAsEvent(Command command) {
    TessarinApplication& app = tessarin::test::viewerApplication();
    app.showError(QString());
    QTimer::singleShot(0, &app, command);
    QCoreApplication::processEvents();
    QCoreApplication::processEvents();
    return app.lastErrorMessage().toStdString();
}

// The size of the picture the window shows, as a BMP file.
std::size_t shownBmpSize(const MainWindow& form) {
    return tessarin::encodeBmp(form.pictureView().picture()).bytes().size();
}

class ViewerWindow : public ::testing::Test {
protected:
    ViewerWindow() {
        ::setenv("TMPDIR", tmp.path().c_str(), 1);
        fs::copy_file(sample("BARS.SC5"), dir.file("PIC.SC5"));
        form = std::make_unique<MainWindow>(std::vector<std::string>{dir.file("PIC.SC5")});
    }
    ~ViewerWindow() override { ::unsetenv("TMPDIR"); }

    ScratchDir tmp;
    ScratchDir dir;
    std::unique_ptr<MainWindow> form;
};

TEST_F(ViewerWindow, FileDeletedOrReplacedByADirectoryBeforeReloadIsNamedAndVramKept) {
    const std::string name = dir.file("PIC.SC5");
    for (const bool directory : {false, true}) {
        SCOPED_TRACE(directory ? "replaced by a directory" : "deleted");
        fs::remove(name);
        if (directory) {
            fs::create_directory(name);
        }
        const auto vram = form->document()->vdp().vram();
        const std::string message =
            runAsEvent([&] { form->selectScreenMode(ScreenMode::screen8); });
        EXPECT_NE(message.find("\"" + name + "\""), std::string::npos) << message;
        EXPECT_TRUE(form->document()->vdp().vram() == vram);
        EXPECT_TRUE(form->isEnabled() && form->document() != nullptr);
        fs::remove_all(name);
    }
    // The window goes on: another file opened into the slot (as by its open command)
    // replaces the vanished one and renders.
    fs::copy_file(sample("RGB.SC8"), dir.file("NEXT.SC8"));
    EXPECT_EQ(
        runAsEvent([&] { form->openFileInto(dir.file("NEXT.SC8"), tessarin::FileSlot::vram0); }),
        "");
    EXPECT_EQ(shownBmpSize(*form), 162870U);
}

// A command and a dialog report their own errors: the message names the file, the menus
// and the picture show one state, and the window and the dialog go on working.
TEST_F(ViewerWindow, CommandAndDialogErrorsAreReportedWhereTheyHappen) {
    const std::string name = dir.file("PIC.SC5");
    fs::remove(name);
    form->menu()
        .screenItem(ScreenMode::screen8)
        ->setChecked(true); // as the menu's click does before the command
    std::string message =
        runAsEvent([&] { form->screenChosen(form->menu().screenItem(ScreenMode::screen8)); });
    EXPECT_NE(message.find("\"" + name + "\""), std::string::npos) << message;
    const int shown = static_cast<int>(form->document()->vdp().screenMode());
    for (QAction* item : form->menu().screens->actions()) {
        EXPECT_EQ(item->isChecked(), item->data().toInt() == shown) << item->text().toStdString();
    }
    tessarin::ScreenDocument same;
    tessarin::Probe::vdp(same) = form->document()->vdp();
    EXPECT_EQ(form->document()->picture(), same.render()) << "the picture is of another state";

    bool dialogShown = false;
    tessarin::test::whenModal([&](QWidget& dialog) {
        dialogShown = dialog.isVisible();
        static_cast<QDialog&>(dialog).reject();
    });
    message = tessarin::test::runCommand(form->menu().vramMapping);
    EXPECT_NE(message.find("\"" + name + "\""), std::string::npos) << message;
    EXPECT_TRUE(dialogShown);

    fs::copy_file(sample("RGB.SC8"), dir.file("NEXT.SC8"));
    EXPECT_EQ(
        runAsEvent([&] { form->openFileInto(dir.file("NEXT.SC8"), tessarin::FileSlot::vram0); }),
        "");
    EXPECT_EQ(shownBmpSize(*form), 162870U);
}

TEST_F(ViewerWindow, RendersAndClosesWithoutWritingIntoTheTemporaryFolder) {
    EXPECT_EQ(runAsEvent([&] { form->setViewSize(tessarin::ViewSize::magnify512x424); }), "");
    form->close();
    EXPECT_TRUE(tmp.names().empty() || tmp.names() == std::vector<std::string>{"runtime-root"});
}

} // namespace
