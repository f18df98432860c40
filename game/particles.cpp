// The particle pool of the level's bursts and the drifting snow field behind it, both fixed
// tables of floats moved and drawn once per update.
#include <cmath>

#include "framework/app/app.h"
#include "framework/app/random.h"
#include "framework/graphics/graphics_context.h"
#include "game/globals.h"
#include "game/image_sheets.h"
#include "game/my_app.h"
#include "game/text_line.h"

namespace {

using namespace particle;

// Generator steps that stir a new seed.
constexpr int kSeedStirs = 21;

// Record i of a table; a limit set beyond the table's end is a runtime error, never a stray write.
float* RecordAt(const Array<float>& table, int i) {
    return &table[i * kRecordFloats + kRecordFloats - 1] - (kRecordFloats - 1);
}

}  // namespace

int c_MyApp::p_SeedRnd(int seed) {
    uint32_t state = static_cast<uint32_t>(seed == kClockSeed ? vo_app_Millisecs() : seed);
    for (int i = 0; i < kSeedStirs; ++i) state = vo_random_Next(state);
    vo_random_Seed = static_cast<int32_t>(state);
    return 0;
}

int c_MyApp::p_Rand(float a, float b) { return static_cast<int>(a + (b + 0.99f - a) * vo_random_Rnd()); }

int c_MyApp::p_FreeParticle() {
    for (int i = m_partMax; i >= 0; --i) {
        if (m_part[i * kRecordFloats + kKind] == 0) return i;
    }
    return -1;
}

int c_MyApp::p_ThrowParticle(float x, float y, int kind, int colour, float angle, float speed) {
    if (angle == kNoArg) angle = 360.0f * vo_random_Rnd();
    if (speed == kNoArg) speed = 3.0f + 5.0f * vo_random_Rnd();
    int slot = p_FreeParticle();
    if (slot < 0) return 0;
    float* p = RecordAt(m_part, slot);
    p[kKind] = static_cast<float>(kind);
    p[kX] = x;
    p[kY] = y;
    p[kVelX] = std::sin(angle * D2R) * speed;
    p[kVelY] = -std::cos(angle * D2R) * speed;
    p[kRotation] = 360.0f * vo_random_Rnd();
    p[kSpin] = 16.0f * vo_random_Rnd() - 8.0f;
    if (kind == kBouncing) {
        p[kFloor] = y + 32.0f * vo_random_Rnd() - 16.0f;
        p[kSpin] = 0;
    }
    p[kLife] = 0.7f + 0.6f * vo_random_Rnd();
    p[kColour] = static_cast<float>(colour);
    p[kFrame] = static_cast<float>(static_cast<int>(255.99f * vo_random_Rnd()));
    return 0;
}

int c_MyApp::p_ResetParticles(int n) {
    if (n >= 1 && n < kMaxSlots) {
        m_partMax = n;
    } else {
        n = m_partMax;
    }
    for (int i = 0; i <= n; ++i) {
        for (int f = 0; f < kRecordFloats; ++f) m_part[i * kRecordFloats + f] = 0;
    }
    return 0;
}

int c_MyApp::p_DoParticles(float scale) {
    if (m_drawOff != 0) return 0;
    for (int i = 0; i <= m_partMax; ++i) {
        float* p = RecordAt(m_part, i);
        int kind = static_cast<int>(p[kKind]);
        if (kind <= 0) continue;

        p[kX] += p[kVelX];
        p[kY] += p[kVelY];
        p[kRotation] += p[kSpin];
        p_SetRot(kind == kNumber ? 0.0f : -p[kRotation]);
        if (kind == kFalling) {
            p[kVelX] *= 0.95f;
            p[kVelY] += 0.2f;
        } else if (kind == kBouncing) {
            p[kVelX] *= 0.98f;
            p[kVelY] += 0.2f;
            if (p[kY] > p[kFloor]) p[kVelY] = -3.0f + 2.0f * vo_random_Rnd();
        }

        p_Ink(static_cast<int>(p[kColour]));
        p_Alpha(p[kLife] < 1.0f ? p[kLife] : 1.0f);
        p_SetSize(scale);
        float x = p[kX] - m_camX;
        float y = p[kY] - m_camY;
        if (kind >= kSpark && kind <= kLastSprite) {
            p_DrawImg(image::kParticles, x, y, p[kFrame]);
        } else if (kind == kSquare) {
            p_Rect(std::floor(p[kX] / 16.0f) * 16.0f - m_camX, std::floor(p[kY] / 16.0f) * 16.0f - m_camY, 16, 16);
        } else if (kind >= kFirstPickup && kind <= kLastPickup) {
            p_SetRot(0);
            p_SetCol(255, 255, 255);
            p_SetSize(1);
            // A collected pick-up floats off as the icon of what it gave.
            p_DrawImg(image::kTiles, x, y, static_cast<float>(kind - kFirstPickup + image::kSkillIconFrame));
        } else if (kind == kNumber) {
            p_Text(x, y, c_TextLine(static_cast<int>(p[kFrame])).View());
        }

        p[kLife] -= kind == kLongLived ? 0.003f : (kind == kSquare ? 0.013f : 0.01f);
        if (p[kLife] < 0) p[kKind] = 0;
    }
    p_SetCol(255, 255, 255, 1);
    p_SetSize(1);
    p_SetRot(0);
    return 0;
}

int c_MyApp::p_ResetStars(int n) {
    p_SeedRnd(kClockSeed);
    if (m_starMax < 0) return 0;
    if (n >= 1 && n < kMaxSlots) m_starMax = n;
    for (int i = 0; i <= m_starMax; ++i) {
        float* s = RecordAt(m_star, i);
        s[kStarX] = (jscrw + 16.0f) * vo_random_Rnd() - 8.0f;
        s[kStarY] = (jscrh + 16.0f) * vo_random_Rnd() - 8.0f;
        s[kStarDepth] = 0.2f + 0.6f * vo_random_Rnd();
        s[kStarFrame] = static_cast<float>(static_cast<int>(255.99f * vo_random_Rnd()));
        s[kStarRotation] = 360.0f * vo_random_Rnd();
        s[kStarSpin] = vo_random_Rnd() - 0.5f;
    }
    return 0;
}

int c_MyApp::p_DoSnow(float dx, float dy) {
    if (m_drawOff != 0) return 0;
    const float border = overscan + 16.0f;
    const float spanX = jscrw + 2.0f * overscan + 32.0f;
    const float spanY = jscrh + 2.0f * overscan + 32.0f;
    for (int i = 0; i <= m_starMax; ++i) {
        float* s = RecordAt(m_star, i);
        s[kStarX] += dx * s[kStarDepth] + (0.6f * vo_random_Rnd() - 0.3f);
        s[kStarY] += dy * s[kStarDepth] + (0.9f * vo_random_Rnd() - 0.3f);

        // A flake leaving one edge comes back at the opposite one, somewhere else along it,
        // at a new depth and with a new look.
        auto renew = [s] {
            s[kStarDepth] = 0.2f + 0.6f * vo_random_Rnd();
            s[kStarFrame] = static_cast<float>(static_cast<int>(255.99f * vo_random_Rnd()));
        };
        if (s[kStarX] < -border) {
            s[kStarX] += spanX;
            s[kStarY] = (jscrh + 16.0f) * vo_random_Rnd() - 8.0f;
            renew();
        }
        if (s[kStarX] > jscrw + border) {
            s[kStarX] -= spanX;
            s[kStarY] = (jscrh + 16.0f) * vo_random_Rnd() - 8.0f;
            renew();
        }
        if (s[kStarY] < -border) {
            s[kStarY] += spanY;
            s[kStarX] = (jscrw + 16.0f) * vo_random_Rnd() - 8.0f;
            renew();
        }
        if (s[kStarY] > jscrh + border) {
            s[kStarY] -= spanY;
            s[kStarX] = (jscrw + 16.0f) * vo_random_Rnd() - 8.0f;
            renew();
        }

        s[kStarRotation] += s[kStarSpin];
        p_SetRot(-s[kStarRotation]);
        p_SetCol(255, 255, 255, s[kStarDepth]);
        p_SetSize(1);
        p_DrawImg(image::kParticles, s[kStarX], s[kStarY], s[kStarFrame]);
    }
    p_SetCol(255, 255, 255, 1);
    p_SetSize(1);
    p_SetRot(0);
    return 0;
}
