#include "dialogs/win32_color.h"
#include "document/screen_document.h"

#include <gtest/gtest.h>

namespace tessarin {
namespace {

TEST(Win32Color, RedInTheLowByteBlueInTheThird) {
    const struct {
        std::uint32_t value;
        int red, green, blue;
    } cases[] = {
        {0x00000000, 0, 0, 0},   {0x00332211, 0x11, 0x22, 0x33}, {0x000000FF, 255, 0, 0},
        {0x0000FF00, 0, 255, 0}, {0x00FF0000, 0, 0, 255},        {0x00FFFFFF, 255, 255, 255},
        {0xFF000000, 0, 0, 0}, // the top byte is not a colour
    };
    for (const auto& c : cases) {
        const QColor colour = colorFromWin32(c.value);
        EXPECT_EQ(colour.red(), c.red) << std::hex << c.value;
        EXPECT_EQ(colour.green(), c.green) << std::hex << c.value;
        EXPECT_EQ(colour.blue(), c.blue) << std::hex << c.value;
        EXPECT_EQ(colour.alpha(), 255) << std::hex << c.value;
    }
}

TEST(Win32Color, DocumentColourValueComesBackAsTheSameTriple) {
    const RgbTriple triple{0x11, 0x22, 0x33}; // blue, green, red
    const QColor colour = colorFromWin32(ScreenDocument::rgbToColor(triple));
    EXPECT_EQ(colour, QColor(0x33, 0x22, 0x11));
}

} // namespace
} // namespace tessarin
