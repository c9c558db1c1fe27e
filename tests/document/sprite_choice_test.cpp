#include "document/picture_recipe.h"
#include "tests/platform/scratch_dir.h"

#include <gtest/gtest.h>

namespace tessarin {
namespace {

TEST(SpriteChoice, AutomaticDrawsWhatTheFilesTablesShow) {
    const test::ScratchDir dir;
    // Black screen 5 BSAVEs: S with a white sprite at (20, 10), P short of the sprite tables.
    std::vector<std::uint8_t> file(7 + 0x8000, 0);
    std::ranges::copy(std::vector<std::uint8_t>{0xFE, 0, 0, 0xFF, 0x7F}, file.begin());
    std::ranges::copy(std::vector<std::uint8_t>{9, 20}, file.begin() + 7 + 0x7600);
    std::fill_n(file.begin() + 7 + 0x7400, 16, std::uint8_t{15});
    file[7 + 0x7800] = 0xFF;
    test::writeBytes(dir.path() + "/S.SC5", file);
    file.resize(7 + 0x6A00);
    file[4] = 0x69;
    test::writeBytes(dir.path() + "/P.SC5", file);
    for (const auto& [name, choice, drawn] : {std::tuple{"/S.SC5", SpriteChoice::automatic, true},
                                              {"/S.SC5", SpriteChoice::off, false},
                                              {"/P.SC5", SpriteChoice::automatic, false}}) {
        ScreenDocument doc;
        doc.openByName(dir.path() + name);
        doc.setSpriteChoice(choice);
        EXPECT_EQ(doc.spritesDrawn(), drawn) << name;
        PictureRequest request = resolve(fileSource(), Location::of(dir.path() + name));
        request.sprites = choice;
        const Picture picture = ScreenDocument::pictureOf(request);
        EXPECT_EQ(picture.row(10)[20].red, drawn ? 255 : 0) << name;
        EXPECT_EQ(picture, doc.render()) << name;
    }
}

} // namespace
} // namespace tessarin
