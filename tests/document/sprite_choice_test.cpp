// Sprites drawn or not: the choice, and automatic by what the file's sprite tables show.
#include "document/picture_recipe.h"
#include "tests/platform/scratch_dir.h"

#include <gtest/gtest.h>
#include <vector>

namespace tessarin {
namespace {

using Bytes = std::vector<std::uint8_t>;

// A screen 5 BSAVE of VRAM 0000h to end, all zero (colour 0, black) but, when it reaches
// them, sprite 0 at (20, 9) in white, solid.
Bytes screen5(std::uint16_t end) {
    Bytes b{0xFE, 0, 0, static_cast<std::uint8_t>(end), static_cast<std::uint8_t>(end >> 8), 0, 0};
    b.resize(b.size() + end + 1U, 0);
    const auto at = [&b](std::size_t address) -> std::uint8_t& { return b.at(7 + address); };
    if (end >= 0x7807) {
        at(0x7600) = 9;
        at(0x7601) = 20;
        std::fill_n(&at(0x7400), 16, std::uint8_t{15});
        std::fill_n(&at(0x7800), 8, std::uint8_t{0xFF});
    }
    return b;
}

TEST(SpriteChoice, AutomaticDrawsWhatTheFilesTablesShow) {
    const test::ScratchDir dir;
    test::writeBytes(dir.path() + "/SPRITE.SC5", screen5(0x7FFF));
    test::writeBytes(dir.path() + "/PLAIN.SC5", screen5(0x69FF)); // no sprite tables: hidden
    const RgbTriple white{255, 255, 255};
    const RgbTriple black{0, 0, 0};
    const struct {
        const char* file;
        SpriteChoice choice;
        bool drawn;
        RgbTriple pixel; // at (20, 10)
    } cases[] = {
        {"SPRITE.SC5", SpriteChoice::automatic, true, white},
        {"SPRITE.SC5", SpriteChoice::on, true, white},
        {"SPRITE.SC5", SpriteChoice::off, false, black},
        {"PLAIN.SC5", SpriteChoice::automatic, false, black},
    };
    for (const auto& c : cases) {
        const std::string name = dir.path() + "/" + c.file;
        ScreenDocument doc;
        doc.openByName(name);
        doc.setSpriteChoice(c.choice);
        EXPECT_EQ(doc.spritesDrawn(), c.drawn) << c.file;
        PictureRequest request = resolve(fileSource(), Location::of(name));
        request.sprites = c.choice;
        const Picture picture = ScreenDocument::pictureOf(request);
        EXPECT_EQ(picture.row(10)[20], c.pixel) << c.file;
        EXPECT_EQ(picture, doc.render()) << c.file;
    }
}

} // namespace
} // namespace tessarin
