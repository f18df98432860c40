// The text routine: pen positions, measured width and alignment, kerning, key icons, the
// line-break escape and rotation.
#include <cmath>

#include "game/text_line.h"
#include "game_fixture.h"

namespace game_test {
namespace {

class Text : public GameTest {
protected:
    void SetUp() override {
        GameTest::SetUp();
        app->p_CLS2D();
    }
    // x of every drawn glyph, and their frames.
    std::vector<float> Xs() const {
        std::vector<float> out;
        for (const auto& image : Images()) out.push_back(image[1]);
        return out;
    }
    std::vector<float> Frames() const {
        std::vector<float> out;
        for (const auto& image : Images()) out.push_back(image[3]);
        return out;
    }
};

TEST_F(Text, GlyphsStepByTheAdvanceFromOneAdvanceRightOfTheStart) {
    app->p_Text(100, 50, String("Hi"));
    auto images = Images();
    ASSERT_EQ(images.size(), 2u);
    EXPECT_EQ(images[0], (std::array<float, 4>{90, 107, 55, 'H' - 32}));
    EXPECT_EQ(images[1], (std::array<float, 4>{90, 114, 55, 'i' - 32}));

    // The measured width (space and "H", the last character not counted) is 14, so right
    // alignment puts the start 14 to the left; centred on y with alignY 1.
    app->p_CLS2D();
    app->p_Text(100, 50, String("Hi"), 2, 1);
    EXPECT_EQ(Xs(), (std::vector<float>{93, 100}));
    EXPECT_EQ(Images()[0][2], 50);
}

TEST_F(Text, KerningWidensAndNarrowsTheStepAfterALetter) {
    app->p_Text(0, 0, String("wiMx"));
    // Steps after the space 7, "w" 9, "i" 4, "M" 8.
    EXPECT_EQ(Xs(), (std::vector<float>{7, 16, 20, 28}));
    app->p_CLS2D();
    app->p_Text(0, 0, String("wiMx"), 2);
    EXPECT_EQ(Xs()[0], 7 - 28) << "the width is the sum of the same steps";
}

TEST_F(Text, KeyIconsTakeTheirFrameByInputModeAndBlinkPhase) {
    struct Case {
        int inputMode;
        double millis;
        std::string text;
        float frame;
        float nextX;  // where the following "x" lands
    };
    const Case cases[] = {
        {0, 100000, "\xC2\xACJx", 112, 18},  // the second icon set
        {1, 100100, "\xC2\xACJx", 109, 18},  // blink phase
        {1, 100300, "\xC2\xACJx", 96, 18},
        {2, 100100, "\xC2\xACUx", 100, 20},  // a wider icon; no blink outside input mode 1
        {1, 100300, "\xC2\xACMx", 77, 16},   // an unlisted letter takes the kerning of its frame
        {0, 100300, "\xC2\xACMx", 93, 18},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text + " mode " + std::to_string(c.inputMode));
        app->p_CLS2D();
        app->m_inputMode = c.inputMode;
        ws.now = c.millis / 1000;
        app->p_Text(0, 0, String(c.text));
        EXPECT_EQ(Frames(), (std::vector<float>{c.frame, 'x' - 32}));
        EXPECT_EQ(Xs()[1], c.nextX);
    }
}

TEST_F(Text, BackslashNStartsANewLineOneAdvanceIn) {
    app->p_SetSize(1, 2);
    app->p_Text(10, 10, String("Ab\\nC"));
    auto images = Images();
    ASSERT_EQ(images.size(), 3u);
    EXPECT_EQ(images[2][3], 'C' - 32);
    EXPECT_EQ(images[2][1], images[0][1]);
    EXPECT_EQ(images[2][2], images[0][2] + 20) << "one line height at the vertical size";
}

// Texts put together in place read as the same text made as a String: an icon at the very end
// (its letter read past the end as 0), a line break, and numbers as "%i" writes them.
TEST_F(Text, ATextPutTogetherInPlaceDrawsAsTheSameString) {
    const String label("Hold \\nx : ");
    c_TextLine line;
    line.Add(label).Add(-2147483647 - 1).Add(std::u16string_view(u" : ")).Add(0).Add(std::u16string_view(u"\u00ac"));
    app->p_Text(30, 40, String("Hold \\nx : -2147483648 : 0\u00ac"), 1, 1);
    const auto made = Images();
    ASSERT_EQ(made.size(), 19u);
    app->p_CLS2D();
    app->p_Text(30, 40, line.View(), 1, 1);
    EXPECT_EQ(Images(), made);

    // What does not fit in its room is left off.
    c_TextLine full;
    for (int i = 0; i < 40; ++i) full.Add(12);
    EXPECT_EQ(full.View().size(), 64u);
}

}  // namespace
}  // namespace game_test
