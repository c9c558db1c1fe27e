// The window's Save As and tessarin-export on the same files and choices give the same
// BMP bytes: both go through the document's operations and the one picture recipe, and
// this drives the real window and the real exporter process to check it.
#include "tests/app/viewer_fixture.h"
#include "tests/dialogs/mapping_widgets.h"
#include "tests/export/run_process.h"

#include <QPushButton>
#include <QSpinBox>
#include <fstream>
#include <gtest/gtest.h>
#include <iterator>

namespace tessarin::test {
namespace {

std::vector<std::uint8_t> fileBytes(const std::string& name) {
    std::ifstream in(name, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

struct Case {
    const char* what;
    std::vector<std::string> files;          // the command line, and the exporter's FILEs
    std::vector<QAction * MainMenu::*> menu; // then chosen in the window
    int headerSize;                          // set in the mapping dialog when not 7
    std::vector<std::string> options;        // what tells the exporter the same
};

TEST(ViewerAndExporter, WriteTheSameBitmapForTheSameFilesAndChoices) {
    const Case cases[] = {
        {"the TV's pixel shape: 293 pixels a row, padded",
         {"BARS.SC5"},
         {&MainMenu::aspectNtsc},
         7,
         {"--aspect", "ntsc"}},
        {"a palette file beside its screen, interlaced and rotated",
         {"BARS.SC5", "BARS.PL5"},
         {&MainMenu::size512x424interlace, &MainMenu::rotate},
         7,
         {"--size", "512x424int", "--rotate"}},
        {"screen 12, magnified",
         {"YJK.SCC"},
         {&MainMenu::size512x424magnify},
         7,
         {"--size", "512x424mag"}},
        {"a header size from the mapping dialog, joined",
         {"RGB.SC8"},
         {&MainMenu::size256x424joint},
         0,
         {"--size", "256x424joi", "--header0", "0"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const ScratchDir dir;
        std::vector<std::string> names;
        for (const std::string& file : c.files) {
            names.push_back(copySample(dir, file, file));
        }
        ViewerWindow window(names);
        for (QAction* const MainMenu::*item : c.menu) {
            ASSERT_EQ(runCommand(window->menu().*item), "");
        }
        if (c.headerSize != kDefaultHeaderSize) {
            whenModal([&](QWidget& dialog) {
                const MappingWidgets map(dialog);
                map.headerSizeBox->setValue(c.headerSize);
                map.okButton->click();
            });
            ASSERT_EQ(runCommand(window->menu().vramMapping), "");
        }

        std::vector<std::string> args = c.options;
        args.insert(args.end(), {"-q", "-o", "out.bmp"});
        args.insert(args.end(), names.begin(), names.end());
        const auto run = testing::runProcess(TESSARIN_EXPORT, args, dir.path());
        ASSERT_EQ(run.exitCode, 0) << run.err;
        whenFileDialogAnswer(dir.file("saved.bmp"));
        ASSERT_EQ(runCommand(window->menu().saveAs), "");
        EXPECT_TRUE(fileBytes(dir.file("out.bmp")) == fileBytes(dir.file("saved.bmp")));
    }
}

} // namespace
} // namespace tessarin::test
