#include "dialogs/vram_mapping_dialog.h"
#include "document/screen_document.h"
#include "platform/file_error.h"
#include "tests/dialogs/mapping_widgets.h"
#include "tests/platform/scratch_dir.h"
#include "tests/support/document_probe.h"

#include <QAbstractButton>
#include <QButtonGroup>
#include <QCoreApplication>
#include <QFrame>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QSignalBlocker>
#include <QSpinBox>
#include <QTabWidget>
#include <QTimer>
#include <array>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace tessarin {
namespace {

constexpr std::array<int, 8> kLevel3{0, 36, 72, 109, 145, 182, 218, 255};

std::vector<std::uint8_t> countingBytes(std::size_t count) {
    std::vector<std::uint8_t> bytes(count);
    for (std::size_t i = 0; i < count; ++i) {
        bytes[i] = static_cast<std::uint8_t>(i);
    }
    return bytes;
}

QColor panelColour(const QFrame* panel) {
    return panel->palette().color(QPalette::Window);
}

QColor qcolour(const RgbTriple& rgb) {
    return QColor(rgb.red, rgb.green, rgb.blue);
}

class VramMapDialog : public ::testing::Test {
protected:
    VramMapDialog() { dlg.setDocument(&doc); }

    std::string makeFile(const std::string& name, std::size_t size) {
        const std::string path = dir.file(name);
        test::writeBytes(path, countingBytes(size));
        return path;
    }
    [[nodiscard]] QStringList dump() const {
        const QString text = ui.headerDump->toPlainText();
        return text.isEmpty() ? QStringList{} : text.split(QLatin1Char('\n'));
    }
    // A click, and the queued change it makes run as the event loop runs it.
    void selectSlot(FileSlot slot) {
        ui.slotButtons->button(static_cast<int>(slot))->click();
        QCoreApplication::sendPostedEvents();
    }
    [[nodiscard]] std::array<int, 4> shownSettings() const {
        return {ui.headerSizeBox->value(), ui.linePixelsBox->value(),
                ui.headerSizeField->text().toInt(), ui.linePixelsField->text().toInt()};
    }

    test::ScratchDir dir;
    ScreenDocument doc;
    VramMappingDialog dlg;
    test::MappingWidgets ui{dlg};
};

TEST_F(VramMapDialog, DumpShowsWholeGroupsOfEightOfTheFirst256BytesOfTheFile) {
    const struct {
        std::size_t size;
        int lines;
        QString last;
    } cases[] = {
        {300, 32, QStringLiteral("00F8 F8 F9 FA FB FC FD FE FF")},
        {15, 1, QStringLiteral("0000 00 01 02 03 04 05 06 07")},
        {7, 0, QString()},
    };
    Probe::mapping(doc).headerSize = {7, 7}; // the dump starts at byte 0 whatever the header size
    for (const auto& c : cases) {
        Probe::setFileName(doc, FileSlot::vram0,
                           makeFile("PIC" + std::to_string(c.size) + ".SC7", c.size));
        dlg.showDocumentSettings();
        const QStringList lines = dump();
        ASSERT_EQ(lines.size(), c.lines) << c.size;
        if (c.lines > 0) {
            EXPECT_EQ(lines.front(), QStringLiteral("0000 00 01 02 03 04 05 06 07"));
            EXPECT_EQ(lines.back(), c.last);
        }
        if (c.lines > 2) {
            EXPECT_EQ(lines[2], QStringLiteral("0010 10 11 12 13 14 15 16 17"));
        }
        EXPECT_FALSE(ui.headerDump->isHidden());
    }
}

// A picture inside a disk image is dumped from the disk, as the document reads it.
TEST_F(VramMapDialog, DumpReadsAPictureInsideADiskImage) {
    const std::string disk = dir.file("GAME.DSK");
    const std::string picture = makeFile("A.SC5", 64);
    for (const std::string& command : {"mformat -C -f 720 -i '" + disk + "' ::",
                                       "mcopy -i '" + disk + "' '" + picture + "' ::/A.SC5"}) {
        ASSERT_EQ(std::system(command.c_str()), 0) << command;
    }
    Probe::setFileName(doc, FileSlot::vram0, disk + "/A.SC5");
    dlg.showDocumentSettings();
    EXPECT_EQ(dump().value(7), QStringLiteral("0038 38 39 3A 3B 3C 3D 3E 3F"));
}

TEST_F(VramMapDialog, ShowingCopiesTheDocumentMappingAndShowsTheCurrentSlot) {
    Probe::mapping(doc) = VramMapping{{12, 3}, {300, 256}, PaletteSource::vram};
    Probe::setFileName(doc, FileSlot::vram0, makeFile("PIC.SC5", 64));
    dlg.show();
    EXPECT_EQ(dlg.mapping(), Probe::mapping(doc));
    EXPECT_EQ(ui.fileNameField->text().toStdString(), Probe::fileName(doc, FileSlot::vram0));
    EXPECT_EQ(dump().size(), 8);
    EXPECT_EQ(shownSettings(), (std::array{12, 300, 12, 300}));
    EXPECT_TRUE(ui.linePixelsBox->isEnabled());

    // No file in the slot: name and dump empty, the up-downs still show the values.
    selectSlot(FileSlot::vram1);
    EXPECT_EQ(static_cast<int>(dlg.currentSlot()), 1);
    EXPECT_TRUE(ui.fileNameField->text().isEmpty());
    EXPECT_TRUE(dump().isEmpty());
    EXPECT_EQ(shownSettings(), (std::array{3, 256, 3, 256}));
}

TEST_F(VramMapDialog, SwitchingSlotsKeepsEachSlotsValuesAndOkWritesBoth) {
    Probe::setFileName(doc, FileSlot::vram1, makeFile("PIC1.SC7", 16));
    dlg.show();
    ui.headerSizeBox->setValue(20);
    ui.narrowLinesButton->click();

    selectSlot(FileSlot::vram1);
    EXPECT_EQ(shownSettings(), (std::array{7, 512, 7, 512}));
    EXPECT_EQ(dump().size(), 2);
    // The pixels per line apply to the VRAM0 file only.
    EXPECT_FALSE(ui.linePixelsBox->isEnabled());
    EXPECT_FALSE(ui.narrowLinesButton->isEnabled());
    EXPECT_FALSE(ui.wideLinesButton->isEnabled());
    ui.headerSizeBox->setValue(33);

    selectSlot(FileSlot::vram0);
    EXPECT_EQ(shownSettings(), (std::array{20, 256, 20, 256}));
    EXPECT_TRUE(ui.linePixelsBox->isEnabled());
    EXPECT_TRUE(ui.narrowLinesButton->isEnabled());
    EXPECT_TRUE(ui.wideLinesButton->isEnabled());

    selectSlot(FileSlot::vram1);
    ui.headerSizeBox->setValue(34); // stored from the up-downs at OK
    ui.okButton->click();
    EXPECT_EQ(dlg.result(), QDialog::Accepted);
    EXPECT_FALSE(dlg.isVisible());
    EXPECT_EQ(dlg.mapping(),
              (VramMapping{{20, 34}, {256, 512}, PaletteSource::automatic, LayoutChoice::fixed}));

    // The next showing starts again from the document, on the slot last chosen.
    Probe::mapping(doc).headerSize[1] = 40;
    dlg.show();
    EXPECT_EQ(static_cast<int>(dlg.currentSlot()), 1);
    EXPECT_EQ(ui.fileNameField->text().toStdString(), Probe::fileName(doc, FileSlot::vram1));
    EXPECT_EQ(ui.headerSizeBox->value(), 40);
}

TEST_F(VramMapDialog, ScreenButtonsSetThePixelsPerLine) {
    Probe::mapping(doc).linePixels = {300, 300};
    dlg.show();
    ui.narrowLinesButton->click();
    EXPECT_EQ(ui.linePixelsBox->value(), 256);
    ui.wideLinesButton->click();
    EXPECT_EQ(ui.linePixelsBox->value(), 512);
    ui.narrowLinesButton->click();
    ui.okButton->click();
    EXPECT_EQ(dlg.mapping().linePixels, (std::array<std::int16_t, 2>{256, 300}));
}

TEST_F(VramMapDialog, UpDownsStopAtTheEndsOfTheirRanges) {
    dlg.show();
    const struct {
        QSpinBox* upDown;
        int start;
        int steps;
        int expected;
    } cases[] = {
        {ui.headerSizeBox, 0, -1, 0},        {ui.headerSizeBox, 1, -5, 0},
        {ui.headerSizeBox, 32767, 1, 32767}, {ui.headerSizeBox, 32766, 3, 32767},
        {ui.linePixelsBox, 1, -1, 1},        {ui.linePixelsBox, 512, 1, 512},
        {ui.linePixelsBox, 255, 1, 256},     {ui.linePixelsBox, 2, -10, 1},
    };
    for (const auto& c : cases) {
        c.upDown->setValue(c.start);
        c.upDown->stepBy(c.steps);
        EXPECT_EQ(c.upDown->value(), c.expected)
            << c.upDown->objectName().toStdString() << ' ' << c.start << ' ' << c.steps;
    }
    EXPECT_EQ(ui.headerSizeBox->value(), ui.headerSizeField->text().toInt());
}

TEST_F(VramMapDialog, TypedValuesWithinTheRangeAreTakenAndTheArrowKeysStep) {
    Probe::mapping(doc).headerSize = {7, 7};
    dlg.show();
    const struct {
        QSpinBox* box;
        const char* typed;
        int value; // afterwards
    } cases[] = {
        {ui.headerSizeBox, "12", 12},
        {ui.headerSizeBox, "99999", 9999}, // the digit past 32767 is refused
        {ui.linePixelsBox, "300", 300},
        {ui.linePixelsBox, "999", 99}, // past 512 likewise
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.typed);
        c.box->selectAll();
        for (const char* digit = c.typed; *digit != '\0'; ++digit) {
            QKeyEvent key(QEvent::KeyPress, Qt::Key_0 + (*digit - '0'), Qt::NoModifier,
                          QString(QLatin1Char(*digit)));
            QCoreApplication::sendEvent(c.box, &key);
        }
        c.box->interpretText();
        EXPECT_EQ(c.box->value(), c.value);
    }

    QKeyEvent up(QEvent::KeyPress, Qt::Key_Up, Qt::NoModifier);
    QCoreApplication::sendEvent(ui.headerSizeBox, &up);
    EXPECT_EQ(ui.headerSizeBox->value(), 10000);
}

TEST_F(VramMapDialog, VramButtonShowsThePaletteTableInVram) {
    // Screen 7 keeps its palette at 0xFA80: entry i gets red i, blue 7 - i, green i / 2.
    for (int i = 0; i < kPaletteColours; ++i) {
        const int level = i & 7;
        Probe::vdp(doc).vramForLoading()[0xFA80 + 2 * i] =
            static_cast<std::uint8_t>(level << 4 | (7 - level));
        Probe::vdp(doc).vramForLoading()[0xFA80 + 2 * i + 1] = static_cast<std::uint8_t>(level / 2);
    }
    dlg.show();
    EXPECT_EQ(panelColour(ui.colourPanels[4]), QColor(36, 36, 255)); // the standard palette

    ui.vramPaletteButton->click();
    EXPECT_EQ(dlg.mapping().paletteSource, PaletteSource::vram);
    EXPECT_EQ(Probe::mapping(doc).paletteSource,
              PaletteSource::automatic); // written back on OK only
    for (std::size_t i = 0; i < ui.colourPanels.size(); ++i) {
        const auto level = static_cast<std::size_t>(i & 7);
        const QColor expected(kLevel3[level], kLevel3[level / 2], kLevel3[7 - level]);
        EXPECT_EQ(panelColour(ui.colourPanels[i]), expected) << i;
        EXPECT_EQ(panelColour(ui.colourPanels[i]), qcolour(Probe::vdp(doc).paletteRgb()[i])) << i;
    }

    ui.standardPaletteButton->click();
    EXPECT_EQ(dlg.mapping().paletteSource, PaletteSource::standard);
    EXPECT_EQ(panelColour(ui.colourPanels[4]), QColor(36, 36, 255));
    EXPECT_EQ(panelColour(ui.colourPanels[15]), QColor(255, 255, 255));
}

TEST_F(VramMapDialog, CancelWritesNothingBack) {
    Probe::mapping(doc) = VramMapping{{5, 6}, {256, 512}, PaletteSource::standard};
    const VramMapping before = Probe::mapping(doc);
    dlg.open();
    ui.headerSizeBox->setValue(100);
    ui.wideLinesButton->click();
    selectSlot(FileSlot::vram1);
    ui.headerSizeBox->setValue(200);
    ui.vramPaletteButton->click();
    ui.cancelButton->click();
    EXPECT_EQ(dlg.result(), QDialog::Rejected);
    EXPECT_FALSE(dlg.isVisible());
    EXPECT_EQ(Probe::mapping(doc), before);
}

TEST_F(VramMapDialog, ModalShowingEndsWithOkAndWritesTheWorkingCopy) {
    bool clicked = false;
    QTimer::singleShot(0, &dlg, [&] {
        ui.headerSizeBox->setValue(0);
        ui.standardPaletteButton->click();
        clicked = true;
        ui.okButton->click();
    });
    QTimer safetyNet; // ends the loop should OK fail to close the dialog
    safetyNet.setSingleShot(true);
    QObject::connect(&safetyNet, &QTimer::timeout, &dlg, &QDialog::reject);
    safetyNet.start(30000);
    Probe::mapping(doc).paletteSource = PaletteSource::vram;
    EXPECT_EQ(dlg.exec(), QDialog::Accepted);
    EXPECT_TRUE(clicked);
    EXPECT_EQ(dlg.mapping(),
              (VramMapping{{0, 7}, {512, 512}, PaletteSource::standard, LayoutChoice::fixed}));
}

TEST_F(VramMapDialog, FileButtonNeedsAPaletteFile) {
    EXPECT_FALSE(ui.filePaletteButton->isEnabled()); // before the first showing too
    dlg.show();
    EXPECT_FALSE(ui.filePaletteButton->isEnabled());
    EXPECT_TRUE(ui.paletteFileField->text().isEmpty());
    dlg.hide();

    Probe::setFileName(doc, FileSlot::palette, dir.file("COLORS.PL7"));
    std::array<std::uint8_t, kPaletteSize> palette{};
    palette[0] = 0x70; // colour 0 red 7
    palette[3] = 0x07; // colour 1 green 7
    Probe::vdp(doc).setFilePalette(palette);
    dlg.show();
    EXPECT_TRUE(ui.filePaletteButton->isEnabled());
    EXPECT_EQ(ui.paletteFileField->text().toStdString(), Probe::fileName(doc, FileSlot::palette));

    ui.filePaletteButton->click();
    EXPECT_EQ(dlg.mapping().paletteSource, PaletteSource::file);
    EXPECT_EQ(panelColour(ui.colourPanels[0]), QColor(255, 0, 0));
    EXPECT_EQ(panelColour(ui.colourPanels[1]), QColor(0, 255, 0));
    EXPECT_EQ(panelColour(ui.colourPanels[2]), QColor(0, 0, 0));
    dlg.hide();

    ScreenDocument withoutPalette;
    dlg.setDocument(&withoutPalette);
    dlg.show();
    EXPECT_FALSE(ui.filePaletteButton->isEnabled());
    EXPECT_TRUE(ui.paletteFileField->text().isEmpty());
}

TEST_F(VramMapDialog, VanishedVramFileRaisesFileErrorNamingIt) {
    Probe::setFileName(doc, FileSlot::vram0, makeFile("GONE.SC7", 40));
    Probe::mapping(doc).headerSize = {9, 7};
    dlg.show();
    ASSERT_EQ(dump().size(), 5);
    ASSERT_TRUE(std::filesystem::remove(Probe::fileName(doc, FileSlot::vram0)));

    try {
        dlg.showSlotSettings(FileSlot::vram0);
        FAIL() << "no FileError";
    } catch (const FileError& e) {
        EXPECT_EQ(e.fileName(), Probe::fileName(doc, FileSlot::vram0));
        EXPECT_NE(std::string(e.what()).find(Probe::fileName(doc, FileSlot::vram0)),
                  std::string::npos)
            << e.what();
    }
    EXPECT_FALSE(ui.headerDump->isHidden());
    EXPECT_TRUE(dump().isEmpty());
    EXPECT_EQ(ui.fileNameField->text().toStdString(), Probe::fileName(doc, FileSlot::vram0));
    EXPECT_EQ(ui.headerSizeBox->value(), 9);
}

TEST_F(VramMapDialog, VanishedFileOnSwitchingKeepsTheSlotsApart) {
    Probe::setFileName(doc, FileSlot::vram1, makeFile("GONE.SC7", 40));
    Probe::mapping(doc) = VramMapping{{1, 2}, {256, 300}, PaletteSource::standard};
    dlg.show();
    ui.headerSizeBox->setValue(20);
    ASSERT_TRUE(std::filesystem::remove(Probe::fileName(doc, FileSlot::vram1)));

    // The radio group changes without its signal, so that the error leaves the handler
    // here rather than through the toolkit's signal delivery.
    {
        const QSignalBlocker quietGroup(ui.slotButtons);
        const QSignalBlocker quietItem(ui.slotButtons->button(static_cast<int>(FileSlot::vram1)));
        ui.slotButtons->button(static_cast<int>(FileSlot::vram1))->setChecked(true);
    }
    EXPECT_THROW(dlg.slotChosen(), FileError);
    EXPECT_EQ(static_cast<int>(dlg.currentSlot()), 1);
    EXPECT_EQ(shownSettings(), (std::array{2, 300, 2, 300})); // slot 1's, not slot 0's

    ui.okButton->click();
    EXPECT_EQ(dlg.mapping(),
              (VramMapping{{20, 2}, {256, 300}, PaletteSource::standard, LayoutChoice::fixed}));
}

TEST_F(VramMapDialog, FixedSizeCentredWithColoursInFourColumnsOfFour) {
    dlg.show();
    EXPECT_EQ(dlg.windowTitle(), QStringLiteral("VRAM Mapping"));
    EXPECT_EQ(dlg.minimumSize(), dlg.maximumSize());
    const QPoint screenCentre = dlg.screen()->availableGeometry().center();
    EXPECT_EQ(dlg.frameGeometry().center(), screenCentre);
    EXPECT_EQ(ui.tabs->currentWidget(), ui.vramLoadingTab);
    EXPECT_TRUE(ui.okButton->isDefault());

    ui.tabs->setCurrentWidget(ui.paletteTab);

    for (std::size_t i = 0; i < ui.colourPanels.size(); ++i) {
        EXPECT_EQ(ui.colourLabels[i]->text(), QStringLiteral("Color %1").arg(i));
        const QRect label = ui.colourLabels[i]->geometry();
        const QRect panel = ui.colourPanels[i]->geometry();
        EXPECT_LT(label.right(), panel.left()) << i;
        if (i % 4 != 0) { // below the previous colour of the column
            EXPECT_GT(panel.top(), ui.colourPanels[i - 1]->geometry().bottom()) << i;
            EXPECT_EQ(panel.left(), ui.colourPanels[i - 1]->geometry().left()) << i;
        } else if (i > 0) { // heads the next column
            EXPECT_GT(label.left(), ui.colourPanels[i - 4]->geometry().right()) << i;
            EXPECT_EQ(panel.top(), ui.colourPanels[i - 4]->geometry().top()) << i;
        }
    }
}

} // namespace
} // namespace tessarin
