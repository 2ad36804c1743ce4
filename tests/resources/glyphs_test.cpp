#include <gtest/gtest.h>

#include <QImage>
#include <QSet>

namespace {

// Every glyph the pages and the tool bar load, with its size and the most colours it may use.
TEST(GlyphsTest, EachGlyphHasItsSizeColourDepthAndATransparentBottomLeftPixel) {
    const struct {
        const char* name;
        int side;
        int max_colours;  // 0: true colour
    } glyphs[] = {
        {"database", 17, 16},   {"preview", 17, 16},   {"help", 16, 16},
        {"exit", 16, 0},        {"add_item", 16, 0},   {"replace_item", 16, 0},
        {"delete_item", 16, 0}, {"save_list", 16, 0},  {"open_list", 16, 16},
        {"move_up", 13, 16},    {"move_down", 13, 16}, {"move_top", 12, 2},
        {"move_bottom", 12, 2}, {"reload", 20, 16},    {"home", 16, 0},
        {"save_search", 16, 0}, {"tolvane", 32, 16},
    };
    for (const auto& g : glyphs) {
        const QImage image(QStringLiteral(":/glyphs/%1.xpm").arg(g.name));
        ASSERT_FALSE(image.isNull()) << g.name;
        EXPECT_EQ(image.size(), QSize(g.side, g.side)) << g.name;
        EXPECT_EQ(qAlpha(image.pixel(0, g.side - 1)), 0) << g.name;
        QSet<QRgb> colours;
        for (int y = 0; y < image.height(); ++y) {
            for (int x = 0; x < image.width(); ++x) {
                colours.insert(image.pixel(x, y));
            }
        }
        // The transparent colour counts as one of the image's colours.
        if (g.max_colours > 0) {
            EXPECT_LE(colours.size(), g.max_colours) << g.name;
        }
        EXPECT_GE(colours.size(), 2) << g.name;
    }
}

}  // namespace
