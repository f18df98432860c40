// The stepwise loader: file names by detail level, what each slot records, the number of
// updates to the title, the jingle, and the loading screen.
#include <algorithm>

#include "game_fixture.h"

namespace game_test {
namespace {

using Loader = GameTest;

bool Requested(const GameHost& host, const std::string& file) {
    return std::find(host.imageRequests.begin(), host.imageRequests.end(), "zembra://data/" + file) !=
           host.imageRequests.end();
}

TEST_F(Loader, PicksTheDetailLevelFromTheWindowSize) {
    struct Case {
        int width, height, useHd;
        const char* menu;
        int level;
    };
    const Case cases[] = {
        {640, 480, 1, "menu.png", 1},     {800, 600, 1, "menu-hd.png", 2},   {600, 800, 1, "menu-hd.png", 2},
        {1280, 720, 1, "menu-hd2.png", 4}, {1920, 1080, 0, "menu.png", 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.menu + std::string(" at ") + std::to_string(c.width));
        UseHDImages = c.useHd;
        Resize(c.width, c.height);
        host.imageRequests.clear();
        Render();
        FinishLoading();
        EXPECT_TRUE(Requested(host, c.menu));
        EXPECT_EQ(app->m_hdLevel, c.level);
        EXPECT_FLOAT_EQ(app->m_imgScale, 1.0f / static_cast<float>(c.level));
        // All thirteen slots were filled again.
        EXPECT_EQ(host.imageRequests.size(), 13u);
    }
}

TEST_F(Loader, SlotsRecordFramesInFilePixelsAndTheFontItsMetrics) {
    Resize(800, 600);
    Render();
    FinishLoading();
    EXPECT_EQ((std::vector<int>{app->m_imgInfo[3], app->m_imgInfo[4], app->m_imgInfo[5]}), (std::vector<int>{72, 72, 64}));
    EXPECT_EQ(app->m_images[1]->m_width, 72);
    EXPECT_EQ((std::vector<int>{app->m_imgInfo[270], app->m_imgInfo[271], app->m_imgInfo[272]}), (std::vector<int>{7, 10, 128}));
    EXPECT_EQ(app->m_images[90]->m_width, 32);
}

TEST_F(Loader, SeventeenUpdatesFromStartToTheTitle) {
    EXPECT_EQ(app->m_loadStep, 1);
    EXPECT_EQ(app->m_mode, 1);
    EXPECT_EQ(FinishLoading(), 17);
    // The sounds of the table, in loading order.
    const std::vector<std::string> sounds = {"096", "001", "098", "099", "095", "002", "003", "004",
                                             "005", "006", "007", "008", "009", "010", "011", "012"};
    ASSERT_EQ(audio->loads.size(), sounds.size());
    for (size_t i = 0; i < sounds.size(); ++i) EXPECT_NE(audio->loads[i].find("sfx/" + sounds[i] + ".wav"), std::string::npos);
    // The title runs from here: the loader's studio mark is gone from the queue, the logo is in it.
    Pass();
    EXPECT_EQ(app->m_loadStep, 0);
    int marks = 0, logos = 0;
    for (const auto& image : Images()) {
        marks += image[0] == image::kStudioMark;
        logos += image[0] == image::kLogo;
    }
    EXPECT_EQ(marks, 0);
    EXPECT_EQ(logos, 1);
}

TEST_F(Loader, TheJinglePlaysOnceNotAfterAResize) {
    Pass();
    Pass();
    Pass();
    EXPECT_EQ(audio->Plays("sfx/096.wav"), 0);
    Pass();
    EXPECT_EQ(audio->Plays("sfx/096.wav"), 1);
    FinishLoading();
    Resize(1024, 768);
    Render();
    FinishLoading();
    EXPECT_EQ(audio->Plays("sfx/096.wav"), 1);
    EXPECT_EQ(audio->loads.size(), 32u) << "the sounds are loaded again";
}

}  // namespace
}  // namespace game_test
