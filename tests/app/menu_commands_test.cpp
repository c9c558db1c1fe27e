// The commands behind the menu that go beyond opening and viewing: Save As, the VRAM
// copy, the mapping dialog, the about box and Exit.
#include "app/about_box.h"
#include "image/png_encoder.h"
#include "tests/app/viewer_fixture.h"
#include "tests/dialogs/mapping_widgets.h"
#include "tests/support/document_probe.h"

#include <QAbstractButton>
#include <QApplication>
#include <QButtonGroup>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QGroupBox>
#include <QGuiApplication>
#include <QImage>
#include <QLabel>
#include <QMenu>
#include <QMessageBox>
#include <QPushButton>
#include <QSpinBox>
#include <QTest>
#include <QTimer>
#include <algorithm>
#include <cstring>
#include <filesystem>
#include <functional>
#include <gtest/gtest.h>

namespace tessarin::test {
namespace {

namespace fs = std::filesystem;

class CommandsOnAPicture : public ::testing::Test {
protected:
    CommandsOnAPicture()
        : screen(copySample(dir, "BARS7.SC7", "PIC.SC7")),
          page(copySample(dir, "PAGE7.SC7", "PAGE.SC7")), window({screen}) {
        window->openFileInto(page, FileSlot::vram1);
    }

    ScratchDir dir;
    std::string screen;
    std::string page;
    ViewerWindow window;
};

TEST_F(CommandsOnAPicture, CopyPutsTheShownPictureOnTheClipboard) {
    ASSERT_TRUE(window->menu().copy->isEnabled());
    ASSERT_EQ(runCommand(window->menu().copy), "");
    const Picture& shown = window->document()->picture();
    const QImage copied =
        QGuiApplication::clipboard()->image().convertToFormat(QImage::Format_BGR888);
    ASSERT_EQ(copied.size(), QSize(shown.width(), shown.height()));
    for (int y = 0; y < shown.height(); ++y) {
        ASSERT_EQ(
            std::memcmp(copied.constScanLine(y), shown.row(y).data(), shown.row(y).size_bytes()), 0)
            << y;
    }
}

// A name's extension and the bytes agree: a name that is no image's gets the filter's.
TEST_F(CommandsOnAPicture, SaveAsWritesTheShownPictureUnderANameOfItsFormat) {
    ASSERT_EQ(runCommand(window->menu().size512x424interlace), "");
    const std::vector<std::uint8_t> picture = window.picture();
    writeBytes(dir.file("OLD.BMP"), {1, 2, 3});
    const struct {
        const char* typed;
        const char* saved; // the file that holds the picture afterwards
        int asked;         // questions whether to replace, each answered yes
    } cases[] = {
        {"NEW.BMP", "NEW.BMP", 0},
        {"noext", "noext.bmp", 0}, // the default extension is added
        {"other.TXT", "other.TXT.bmp", 0},
        {"OLD.BMP", "OLD.BMP", 1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.typed);
        QString filter;
        const AgreeToQuestions questions;
        whenFileDialogAnswer(dir.file(c.typed), &filter);
        EXPECT_EQ(runCommand(window->menu().saveAs), "");
        EXPECT_EQ(filter, "Bit Map file(*.bmp)");
        EXPECT_EQ(questions.asked(), c.asked);
        EXPECT_EQ(readBytes(dir.file(c.saved)), picture);
    }
    EXPECT_FALSE(fs::exists(dir.file("other.TXT")));
}

TEST_F(CommandsOnAPicture, SaveAsWritesPngByTheExtensionOrTheFilterChosen) {
    const std::vector<std::uint8_t> png = encodePng(window->document()->picture());
    const std::vector<std::uint8_t> bmp = window.picture();
    const struct {
        const char* typed;
        int filter; // from 1, chosen as the user does
        const char* saved;
        bool isPng;
        bool typedFirst; // the filter chosen after the name was typed
    } cases[] = {
        {"A.PNG", 1, "A.PNG", true, false},  {"b", 2, "b.png", true, false},
        {"C.bmp", 2, "C.bmp", false, false}, {"d", 1, "d.bmp", false, false},
        {"E.bmp", 2, "E.png", true, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.typed);
        const std::string typed = dir.file(c.typed);
        whenModal([&c, &typed](QWidget& box) {
            auto& dialog = dynamic_cast<QFileDialog&>(box);
            if (c.typedFirst) {
                typeFileName(dialog, typed);
            }
            // Picked in the dialog's own list of types with the arrow keys, as a user does;
            // the dialog opens at the first.
            auto* types = dialog.findChild<QComboBox*>(QStringLiteral("fileTypeCombo"));
            ASSERT_NE(types, nullptr);
            QTest::keyClick(types, Qt::Key_Down);
            if (c.filter == 1) {
                QTest::keyClick(types, Qt::Key_Up);
            }
            ASSERT_EQ(types->currentIndex(), c.filter - 1);
            if (!c.typedFirst) {
                typeFileName(dialog, typed);
            }
            static_cast<QDialog&>(dialog).accept();
        });
        EXPECT_EQ(runCommand(window->menu().saveAs), "");
        EXPECT_EQ(readBytes(dir.file(c.saved)), c.isPng ? png : bmp);
    }
}

TEST_F(CommandsOnAPicture, FailedSaveAsIsReportedNamingTheTargetAndCancelSavesNothing) {
    const std::string target = dir.file("missing/PIC.BMP");
    whenFileDialogAnswer(target);
    const std::string message = runCommand(window->menu().saveAs);
    EXPECT_NE(message.find(target), std::string::npos) << message;
    EXPECT_FALSE(fs::exists(dir.file("missing")));

    const auto before = dir.names();
    whenFileDialogAnswer("");
    EXPECT_EQ(runCommand(window->menu().saveAs), "");
    EXPECT_EQ(dir.names(), before);
}

// Whatever name leads to it, a file the picture is read from is never replaced: a name
// that is no image's gets ".bmp", an image's name of a shown file is refused before the
// user is asked whether to replace it.
TEST_F(CommandsOnAPicture, SaveAsRefusesEveryShownFileAndLeavesItIntact) {
    const std::string palette = copySample(dir, "BARS7.PL7", "P.PL7");
    window->openFileInto(palette, FileSlot::palette);
    fs::create_hard_link(screen, dir.file("LINK.BMP"));
    fs::create_hard_link(page, dir.file("PAGE.png"));
    const struct {
        std::string target;
        bool refused;            // else saved beside it with ".bmp" added
    } cases[] = {{screen, true}, // .SC7 is a format Save As writes
                 {palette, false},
                 {dir.file("LINK.BMP"), true},
                 {dir.file("PAGE.png"), true}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.target);
        const std::vector<std::uint8_t> before = readBytes(c.target);
        const AgreeToQuestions questions;
        whenFileDialogAnswer(c.target);
        const std::string message = runCommand(window->menu().saveAs);
        EXPECT_EQ(message.find("is the input file") != std::string::npos, c.refused) << message;
        EXPECT_EQ(fs::exists(c.target + ".bmp"), !c.refused);
        EXPECT_EQ(questions.asked(), 0);
        EXPECT_EQ(readBytes(c.target), before);
    }
}

TEST(SaveAs, WithoutAPictureAsksNothingEvenWhenRun) {
    ViewerWindow window;
    EXPECT_FALSE(window->menu().saveAs->isEnabled());
    bool asked = false;
    QTimer::singleShot(0, &viewerApplication(), [&asked] {
        if (auto* modal = qobject_cast<QDialog*>(QApplication::activeModalWidget())) {
            asked = true;
            modal->reject();
        }
    });
    window->saveAs();
    QCoreApplication::processEvents();
    EXPECT_FALSE(asked);
}

TEST_F(CommandsOnAPicture, VramCopyLastsUntilAScreenCommandReloadsTheVram1File) {
    const auto& vram = window->document()->vdp().vram();
    const auto half = static_cast<std::ptrdiff_t>(kVramHalfSize);
    ASSERT_FALSE(std::equal(vram.begin(), vram.begin() + half, vram.begin() + half));
    ASSERT_EQ(runCommand(window->menu().vramCopy), "");
    EXPECT_TRUE(std::equal(vram.begin(), vram.begin() + half, vram.begin() + half));
    EXPECT_EQ(window->document()->fileName(FileSlot::vram1), page);

    ASSERT_EQ(runCommand(window->menu().screenItem(ScreenMode::screen8)), "");
    EXPECT_FALSE(std::equal(vram.begin(), vram.begin() + half, vram.begin() + half));
    EXPECT_EQ(window.picture(),
              referencePicture(ScreenMode::screen8, 256,
                               {{FileSlot::vram0, screen}, {FileSlot::vram1, page}},
                               window->document()->viewMode()));
}

TEST(VramCopy, WithoutAFileRendersButShowsNothing) {
    ViewerWindow window;
    ASSERT_EQ(runCommand(window->menu().vramCopy), "");
    EXPECT_EQ(window.picture().size(), 651318U); // screen 7 at the Automatic size
    EXPECT_FALSE(window->hasPicture());
    EXPECT_FALSE(window->menu().saveAs->isEnabled());
}

TEST_F(CommandsOnAPicture, MappingDialogOkWritesBothSlotsBackAndReloads) {
    whenModal([](QWidget& dialog) {
        ASSERT_EQ(dialog.objectName(), "mappingDialog");
        EXPECT_EQ(dialog.findChild<QGroupBox*>("slotGroup")->title(), "VRAM &Address");
        const MappingWidgets map(dialog);
        map.headerSizeBox->setValue(100);
        map.narrowLinesButton->click(); // 256 pixels a line for VRAM0
        map.slotButtons->button(static_cast<int>(FileSlot::vram1))->click();
        QCoreApplication::sendPostedEvents(); // the slot change is queued
        map.headerSizeBox->setValue(0);
        map.okButton->click();
    });
    ASSERT_EQ(runCommand(window->menu().vramMapping), "");
    const VramMapping& mapping = window->document()->mapping();
    EXPECT_EQ(mapping.headerSize, (std::array<std::int16_t, 2>{100, 0}));
    EXPECT_EQ(mapping.linePixels, (std::array<std::int16_t, 2>{256, 512}));

    // The same files laid as at opening, then reloaded with the new mapping: a reload
    // writes over VRAM and leaves what lies beyond a shorter load.
    ScreenDocument reference;
    Probe::openFile(reference, screen, FileSlot::vram0);
    Probe::openFile(reference, page, FileSlot::vram1);
    Probe::mapping(reference) = mapping;
    Probe::reload(reference);
    reference.setViewMode(window->document()->viewMode());
    EXPECT_TRUE(window->document()->vdp().vram() == Probe::vdp(reference).vram());
    EXPECT_EQ(window.picture(), renderedPicture(reference));
}

TEST_F(CommandsOnAPicture, MappingDialogCancelRestoresThePaletteTriedWithoutRendering) {
    window->openFileInto(copySample(dir, "BARS7.PL7", "PIC.PL7"), FileSlot::palette);
    const VdpState& vdp = window->document()->vdp();
    const auto before = vdp.paletteRgb();
    const qint64 shown = window->pictureView().image().cacheKey(); // a render shows another
    auto tried = before;
    whenModal([&](QWidget& dialog) {
        const MappingWidgets map(dialog);
        map.standardPaletteButton->click();
        tried = vdp.paletteRgb();
        map.cancelButton->click();
    });
    ASSERT_EQ(runCommand(window->menu().vramMapping), "");
    EXPECT_NE(tried, before);
    EXPECT_EQ(vdp.paletteRgb(), before);
    EXPECT_EQ(window->document()->paletteInEffect(), PaletteSource::file);
    EXPECT_EQ(window->pictureView().image().cacheKey(), shown);
}

// PHOTO.PNG, of one colour, made in dir and imported as screen 5, interlaced when asked.
void importPhoto(const ScratchDir& dir, ViewerWindow& window, bool interlace) {
    QImage photo(64, 48, QImage::Format_RGB32);
    photo.fill(QColor(40, 160, 220));
    ASSERT_TRUE(photo.save(QString::fromStdString(dir.file("PHOTO.PNG")), "PNG"));
    whenFileDialogAnswer(dir.file("PHOTO.PNG"));
    whenModal([interlace](QWidget& dialog) {
        dialog.findChild<QCheckBox*>(QStringLiteral("interlaceBox_"))->setChecked(interlace);
        static_cast<QDialog&>(dialog).accept();
    });
    ASSERT_EQ(runCommand(window->menu().importPicture), "");
}

// An import is an unsaved document: no recent file, Save As in the picture's folder with
// the screen's type writing the file made, and closing asks (No keeps it) until it is saved.
// The file dialog's last filter is all files.
TEST(ImportPicture, AnImportStaysUnsavedUntilSaveAsWritesItBesideThePicture) {
    const ScratchDir dir;
    ViewerWindow window;
    importPhoto(dir, window, false);
    const std::string scratch = window->document()->fileName(FileSlot::vram0);
    for (const QAction* item : window->menu().recentMenu->actions()) {
        EXPECT_FALSE(item->text().contains(QStringLiteral("PHOTO")));
    }
    whenModal([](QWidget& dialog) {
        qobject_cast<QMessageBox*>(&dialog)->button(QMessageBox::No)->click();
    });
    EXPECT_FALSE(window->close());
    // Whatever would replace it asks the same first, and No keeps it.
    const std::string other = copySample(dir, "BARS.SC5", "B.SC5");
    QStringList asked;
    const std::function<void()> replacing[] = {[&] { window->openFileByName(other); }, // a drop's
                                               [&] { runCommand(window->menu().importPicture); }};
    for (const auto& replace : replacing) {
        whenModal([&asked](QWidget& dialog) {
            auto& box = dynamic_cast<QMessageBox&>(dialog);
            asked << box.text();
            box.button(QMessageBox::No)->click();
        });
        replace();
        EXPECT_EQ(window->document()->fileName(FileSlot::vram0), scratch);
    }
    EXPECT_EQ(asked, QStringList(2, "The imported picture PHOTO.SC5 is not saved.\n"
                                    "Close without saving it?"));
    QString filter;
    whenFileDialogAnswer(dir.file("PHOTO"), &filter, [&] {
        const auto* files = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
        EXPECT_EQ(files->directory().absolutePath().toStdString(), dir.path());
        EXPECT_TRUE(files->nameFilters().last().startsWith("All files (*.*) ("));
    });
    ASSERT_EQ(runCommand(window->menu().saveAs), "");
    EXPECT_EQ(filter, "MSX screen 5 (*.sc5)");
    EXPECT_EQ(readBytes(dir.file("PHOTO.sc5")), readBytes(scratch));
    const AgreeToQuestions questions;
    EXPECT_TRUE(window->close());
    EXPECT_EQ(questions.asked(), 0);
}

// Interlaced, the import opens with its page 1, and Save As writes both beside each other.
TEST(ImportPicture, AnInterlacedImportIsSavedWithItsPageOne) {
    const ScratchDir dir;
    ViewerWindow window;
    importPhoto(dir, window, true);
    const std::string page1 = window->document()->fileName(FileSlot::vram1);
    ASSERT_TRUE(page1.ends_with(".S15")) << page1;
    whenFileDialogAnswer(dir.file("PHOTO"));
    ASSERT_EQ(runCommand(window->menu().saveAs), "");
    EXPECT_EQ(readBytes(dir.file("PHOTO.sc5")),
              readBytes(window->document()->fileName(FileSlot::vram0)));
    EXPECT_EQ(readBytes(dir.file("PHOTO.s15")), readBytes(page1));
}

TEST(VramMapping, OkWithoutAFileRendersButShowsNothing) {
    ViewerWindow window;
    whenModal([](QWidget& dialog) { MappingWidgets(dialog).okButton->click(); });
    ASSERT_EQ(runCommand(window->menu().vramMapping), "");
    EXPECT_EQ(window.picture().size(), 651318U); // screen 7 at the Automatic size
    EXPECT_FALSE(window->hasPicture());
    EXPECT_FALSE(window->menu().saveAs->isEnabled());
}

TEST(AboutBox, ShowsTheProgramAt337x97AndClosesWithOk) {
    ViewerWindow window;
    const AboutBox* shown = nullptr;
    whenModal([&](QWidget& dialog) {
        shown = dynamic_cast<AboutBox*>(&dialog);
        ASSERT_NE(shown, nullptr);
        shown->okButton->click();
    });
    ASSERT_EQ(runCommand(window->menu().about), "");
    ASSERT_NE(shown, nullptr);
    const AboutBox& box = *shown;
    EXPECT_FALSE(box.isVisible());
    EXPECT_EQ(box.windowTitle(), "About Tessarin");
    EXPECT_EQ(box.size(), QSize(337, 97));
    EXPECT_EQ(box.minimumSize(), box.maximumSize());
    const struct {
        const QWidget* control;
        QPoint at;
        const char* text;
    } controls[] = {
        {box.icon, {14, 14}, ""},
        {box.productName, {64, 8}, "Tessarin"},
        {box.version, {64, 32}, "Version " TESSARIN_VERSION},
        {box.credit, {16, 56}, "The Tessarin developers"},
        {box.contact, {16, 80}, "Report problems on the project's issue tracker"},
        {box.okButton, {259, 14}, "&OK"},
    };
    for (const auto& c : controls) {
        SCOPED_TRACE(c.control->objectName().toStdString());
        EXPECT_EQ(c.control->pos(), c.at);
        if (const auto* label = qobject_cast<const QLabel*>(c.control); label && *c.text) {
            EXPECT_EQ(label->text(), c.text);
        }
    }
    EXPECT_EQ(box.okButton->text(), "&OK");
    EXPECT_EQ(box.okButton->size(), QSize(71, 27));
    EXPECT_TRUE(box.okButton->isDefault());
    EXPECT_EQ(box.icon->pixmap().size(), QSize(32, 32));
}

TEST(Exit, ClosesTheWindowAndTheDocument) {
    const ScratchDir dir;
    ViewerWindow window({copySample(dir, "BARS7.SC7", "PIC.SC7")});
    window->show();
    ASSERT_EQ(runCommand(window->menu().exit), "");
    EXPECT_FALSE(window->isVisible());
    EXPECT_EQ(window->document(), nullptr);
    EXPECT_FALSE(window->hasPicture());
    EXPECT_TRUE(window.picture().empty()); // nothing is painted
}

} // namespace
} // namespace tessarin::test
