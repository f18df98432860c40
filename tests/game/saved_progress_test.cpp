// The saved-data string: its exact fresh-start form, a round trip, damaged sections, short
// and malformed strings, the level wheel it restores, and the badge texts.
#include <climits>
#include <sstream>

#include "game_fixture.h"

namespace {

std::vector<std::string> Fields(const std::string& text) {
    std::vector<std::string> fields;
    std::stringstream in(text);
    for (std::string field; std::getline(in, field, '|');) fields.push_back(field);
    return fields;
}

std::string Join(const std::vector<std::string>& fields) {
    std::string text;
    for (const auto& f : fields) text += f + "|";
    return text;
}

class SavedProgress : public game_test::GameTest {
protected:
    // Loads the text as a fresh start would; the log lines it printed.
    std::string Load(const std::string& text) {
        for (int i = 0; i < 25; ++i) app->m_options[i] = i == 5;
        for (int i = 0; i < 750; ++i) app->m_progress[i] = 0;
        for (int i = 0; i < 256; ++i) app->m_badges[i] = 0;
        host.state = text;
        testing::internal::CaptureStdout();
        app->p_Load();
        return testing::internal::GetCapturedStdout();
    }
    std::string Save() {
        app->p_Save();
        return host.state;
    }
};

TEST_F(SavedProgress, AFreshStartSavesTheDefaultString) {
    EXPECT_EQ(Load(""), "Highscores Loaded\n");
    EXPECT_EQ(host.damageReports, 0);
    std::string expected = "0|0|0|0|0|1|0|0|0|0|64|64|10|0|1|0|0|0|0|0|0|0|0|0|0|1483|";
    for (int i = 0; i < 9 + 20 * 21; ++i) expected += "0|";
    EXPECT_EQ(Save(), expected);
    EXPECT_EQ(app->m_levelSel, 0);
}

TEST_F(SavedProgress, ARoundTripKeepsEverythingAndSignsBitThirtyOne) {
    Load("");
    app->m_options[option::kSound] = 3;
    app->m_options[12] = 8;
    app->m_options[24] = -7;
    app->m_badges[31] = 1;
    app->m_badges[255] = 1;
    for (int i = 0; i < 150; ++i) app->m_progress[i] = 1000 - i;
    app->m_progress[150 + 20] = 12;  // level 3 completed
    app->m_progress[299] = INT_MAX;  // its row checksum wraps
    std::string saved = Save();
    std::vector<std::string> f = Fields(saved);
    ASSERT_EQ(f.size(), 455u);
    EXPECT_EQ(f[26], "-2147483648");
    EXPECT_EQ(f[34], "0") << "the badge checksum wraps too";

    EXPECT_EQ(Load(saved), "Settings Loaded\nBadges Loaded\nHighscores Loaded\n");
    EXPECT_EQ(host.damageReports, 0) << "a clean string is no damage";
    EXPECT_EQ(app->m_options[option::kSound], 3);
    EXPECT_EQ(app->m_options[12], 8);
    EXPECT_EQ(app->m_badges[31] + app->m_badges[255] + app->m_badges[30], 2);
    EXPECT_EQ(app->m_progress[149], 851);
    EXPECT_EQ(app->m_levelSel, 3);
    EXPECT_EQ(app->m_wheelPos, -96);
    EXPECT_EQ(Save(), saved);
}

TEST_F(SavedProgress, ADamagedSectionLosesOnlyItself) {
    Load("");
    app->m_options[option::kSound] = 2;
    app->m_badges[40] = 1;
    app->m_progress[0] = 500;
    app->m_progress[150] = 3;  // levels 1 and 2 completed
    app->m_progress[160] = 2;
    const std::vector<std::string> good = Fields(Save());
    struct Case {
        int field;
        const char* value;
        const char* log;
    };
    for (Case c : {Case{5, "3", "Settings Checksum Invalid\nBadges Loaded\nHighscores Loaded\n"},
                   Case{27, "5", "Settings Loaded\nBadge Checksum Invalid\nHighscores Loaded\n"},
                   Case{35, "501", "Settings Loaded\nBadges Loaded\nHighscores Loaded\n"},
                   Case{76, "x", "Settings Loaded\nBadges Loaded\nHighscores Loaded\n"}}) {
        SCOPED_TRACE(c.field);
        std::vector<std::string> f = good;
        f[c.field] = c.value;
        const int reports = host.damageReports;
        EXPECT_EQ(Load(Join(f)), c.log);
        EXPECT_EQ(host.damageReports, reports + 1) << "so that the file is kept aside before the next save";
        EXPECT_EQ(app->m_options[option::kSound], c.field < 26 ? 1 : 2);
        EXPECT_EQ(app->m_badges[40], c.field >= 26 && c.field < 35 ? 0 : 1);
        EXPECT_EQ(app->m_progress[0] + app->m_progress[150], c.field == 35 ? 0 : 503);
        EXPECT_EQ(app->m_progress[160], c.field == 76 ? 0 : 2);
        EXPECT_EQ(app->m_levelSel, c.field == 76 ? 1 : 2) << "the wheel ignores a row thrown away";
    }
}

TEST_F(SavedProgress, TheWheelStartsPastTheHighestCompletedLevel) {
    struct Case {
        std::vector<int> levels;
        int sel;
    };
    for (const Case& c : {Case{{1, 2, 3}, 3}, Case{{14}, 14}, Case{{15}, 14}, Case{{2, 15}, 14}}) {
        Load("");
        for (int level : c.levels) app->m_progress[150 + 10 * (level - 1)] = 1;
        std::string saved = Save();
        Load(saved);
        EXPECT_EQ(app->m_levelSel, c.sel);
        EXPECT_EQ(app->m_wheelPos, -32.0f * c.sel);
    }
}

TEST_F(SavedProgress, ShortAndMalformedStringsFallBackToDefaults) {
    std::string twentyFive = "0|0|0|0|0|3|0|0|0|0|0|0|0|0|0|0|0|0|0|0|0|0|0|0|0";
    struct Case {
        std::string text;
        const char* log;
        int sound;
    };
    for (const Case& c : {Case{"", "Highscores Loaded\n", 1},
                          Case{"not a saved game\xff", "Highscores Loaded\n", 1},
                          Case{twentyFive, "Settings Checksum Invalid\nHighscores Loaded\n", 1},
                          Case{std::string(40, '|'), "Settings Loaded\nBadges Loaded\nHighscores Loaded\n", 0},
                          Case{"4|0|0|0|0|0|0|0|4|", "Badges Loaded\nHighscores Loaded\n", 1}}) {
        SCOPED_TRACE(c.text);
        const int reports = host.damageReports;
        EXPECT_EQ(Load(c.text), c.log);
        EXPECT_EQ(host.damageReports, reports + (c.text.empty() || c.text[0] == '|' ? 0 : 1))
            << "anything but nothing or a whole saved string is damage";
        EXPECT_EQ(app->m_options[option::kSound], c.sound);
        EXPECT_EQ(app->m_options[10] + app->m_options[11] + app->m_options[12] + app->m_options[14], 64 + 64 + 10 + 1);
        EXPECT_EQ(app->m_badges[2], c.text.size() == 18 ? 1 : 0) << "fewer than 25 fields: badges from field 0";
    }
}

TEST_F(SavedProgress, FieldsReadAsCDecimals) {
    struct Case {
        std::string field;
        int value;
    };
    for (const Case& c : {Case{" \t+12abc", 12}, Case{"-2147483648", INT_MIN}, Case{"99999999999", INT_MAX},
                          Case{"-99999999999", INT_MIN}, Case{std::string(62, ' ') + "7", 7},
                          Case{std::string(63, ' ') + "7", 0}}) {
        SCOPED_TRACE(c.field);
        std::vector<std::string> f(26, "0");
        f[1] = c.field;
        f[25] = std::to_string(c.value);  // the settings checksum: 1 x field 1
        EXPECT_EQ(Load(Join(f)), "Settings Loaded\nHighscores Loaded\n");
        EXPECT_EQ(app->m_options[1], c.value);
    }
}

TEST_F(SavedProgress, BadgeNameAndDetailSplitAtTheBar) {
    EXPECT_TRUE(app->p_BadgeName(0) == String("Test Badge"));
    EXPECT_TRUE(app->p_BadgeDetail(0) == String("This is a Test Badge which has no purpose."));
    EXPECT_TRUE(app->p_BadgeName(7) == String("Odd Badge"));
    EXPECT_TRUE(app->p_BadgeDetail(-1) == String("This badge hasn't been defined!"));
}

}  // namespace
