// Badge names and details, and the pop-up list that slides a badge in from the left edge.
#include "game/globals.h"
#include "game/image_sheets.h"
#include "game/my_app.h"

namespace {

constexpr int kPopupSlots = 13;
// A pop-up's whole life in updates: 10 sliding in, resting, 10 sliding out.
constexpr int kPopupLife = 240;
constexpr int kBadgeIcons = 64;

}  // namespace

String c_MyApp::p_BadgeID(int id) {
    if (id == 0) return String("Test Badge|This is a Test Badge which has no purpose.");
    return String("Odd Badge|This badge hasn't been defined!");
}

String c_MyApp::p_BadgeName(int id) {
    String text = p_BadgeID(id);
    return text.Slice(0, text.Find(String("|")));
}

String c_MyApp::p_BadgeDetail(int id) {
    String text = p_BadgeID(id);
    return text.Slice(text.Find(String("|")) + 1);
}

int c_MyApp::p_ShowBadges() {
    for (int i = 0; i < kPopupSlots; ++i) {
        if (m_badgeTime[i] <= 0) continue;
        int timer = ++m_badgeTime[i];
        float x = 16.0f * static_cast<float>(timer) - 160.0f;
        if (timer > kPopupLife - 10) x = 16.0f * static_cast<float>(kPopupLife - timer) - 160.0f;
        if (x > 0) x = 0;
        float y = jscrh - 34.0f * static_cast<float>(i + 1);
        int id = m_badgeShow[i];

        p_SetCol(0, 0, 80, 0.8f);
        p_Rect(x, y, 160, 32);
        p_SetCol(255, 255, 255, 1);
        p_Text(x + 16, y + 4, p_BadgeName(id), 0, 0);
        // Only the first 64 badges have an icon.
        if (id >= 0 && id < kBadgeIcons) {
            p_SetSize(0.5f);
            p_DrawImg(image::kBadges, x + 144, y + 16, static_cast<float>(id));
            p_SetSize(1);
        }
        if (timer > kPopupLife) m_badgeTime[i] = 0;
    }
    return 0;
}
