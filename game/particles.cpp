// The particle pool of the level's bursts and the drifting snow field behind it, both fixed
// tables of floats moved and drawn once per update.
#include <cmath>

#include "framework/app/app.h"
#include "framework/app/random.h"
#include "game/globals.h"
#include "game/my_app.h"

namespace {

constexpr int kRecord = 10;
constexpr float kNotGiven = -3717.0f;
constexpr int kParticleImage = 96;
constexpr int kTileImage = 2;
// Both pools hold at most this many records in use.
constexpr int kMaxSlots = 500;

// Tint of a particle's colour index, 0-255 per channel.
void ColourOf(int index, float& r, float& g, float& b) {
    static constexpr float kTable[10][3] = {
        {76.5f, 76.5f, 76.5f},  {255, 25.5f, 25.5f},  {255, 127.5f, 25.5f}, {255, 255, 25.5f},
        {25.5f, 255, 25.5f},    {25.5f, 255, 255},    {25.5f, 25.5f, 255},  {127.5f, 25.5f, 255},
        {255, 25.5f, 127.5f},   {255, 255, 255},
    };
    const float* c = kTable[(index >= 1 && index <= 9) ? index : 0];
    r = c[0];
    g = c[1];
    b = c[2];
}

// Takes the generator's state from the clock and stirs it, so that every level looks different.
void SeedFromClock() {
    uint32_t state = static_cast<uint32_t>(vo_app_Millisecs());
    for (int i = 0; i < 21; ++i) state = state * 1664525u + 1013904223u;
    vo_random_Seed = static_cast<int32_t>(state);
}

// Record i of a table; a limit set beyond the table's end is a runtime error, never a stray write.
float* RecordAt(const Array<float>& table, int i) { return &table[i * kRecord + kRecord - 1] - (kRecord - 1); }

float Radians(float degrees) { return degrees * 0.017453292f; }

}  // namespace

int c_MyApp::p_Rand(float a, float b) { return static_cast<int>(a + (b + 0.99f - a) * vo_random_Rnd()); }

int c_MyApp::p_FreeParticle() {
    for (int i = m_partMax; i >= 0; --i) {
        if (m_part[i * kRecord] == 0) return i;
    }
    return -1;
}

int c_MyApp::p_ThrowParticle(float x, float y, int kind, int colour, float angle, float speed) {
    if (angle == kNotGiven) angle = 360.0f * vo_random_Rnd();
    if (speed == kNotGiven) speed = 3.0f + 5.0f * vo_random_Rnd();
    int slot = p_FreeParticle();
    if (slot < 0) return 0;
    float* p = RecordAt(m_part, slot);
    p[0] = static_cast<float>(kind);
    p[1] = x;
    p[2] = y;
    p[3] = std::sin(Radians(angle)) * speed;
    p[4] = -std::cos(Radians(angle)) * speed;
    p[5] = 360.0f * vo_random_Rnd();
    p[6] = 16.0f * vo_random_Rnd() - 8.0f;
    if (kind == 3) {
        p[5] = y + 32.0f * vo_random_Rnd() - 16.0f;
        p[6] = 0;
    }
    p[7] = 0.7f + 0.6f * vo_random_Rnd();
    p[8] = static_cast<float>(colour);
    p[9] = static_cast<float>(static_cast<int>(255.99f * vo_random_Rnd()));
    return 0;
}

int c_MyApp::p_ResetParticles(int n) {
    if (n >= 1 && n < kMaxSlots) {
        m_partMax = n;
    } else {
        n = m_partMax;
    }
    for (int i = 0; i <= n; ++i) {
        for (int f = 0; f < kRecord; ++f) m_part[i * kRecord + f] = 0;
    }
    return 0;
}

int c_MyApp::p_DoParticles(float scale) {
    for (int i = 0; i <= m_partMax; ++i) {
        float* p = RecordAt(m_part, i);
        int kind = static_cast<int>(p[0]);
        if (kind <= 0) continue;

        p[1] += p[3];
        p[2] += p[4];
        p[5] += p[6];
        p_SetRot(kind == 99 ? 0.0f : -p[5]);
        if (kind == 2) {
            p[3] *= 0.95f;
            p[4] += 0.2f;
        } else if (kind == 3) {
            p[3] *= 0.98f;
            p[4] += 0.2f;
            if (p[2] > p[5]) p[4] = -3.0f + 2.0f * vo_random_Rnd();
        }

        float r, g, b;
        ColourOf(static_cast<int>(p[8]), r, g, b);
        p_SetCol(r, g, b, p[7] < 1.0f ? p[7] : 1.0f);
        p_SetSize(scale);
        float x = p[1] - m_camX;
        float y = p[2] - m_camY;
        if (kind >= 1 && kind <= 9) {
            p_DrawImg(kParticleImage, x, y, p[9]);
        } else if (kind == 16) {
            p_Rect(std::floor(p[1] / 16.0f) * 16.0f - m_camX, std::floor(p[2] / 16.0f) * 16.0f - m_camY, 16, 16);
        } else if (kind >= 50 && kind <= 59) {
            p_SetRot(0);
            p_SetCol(255, 255, 255);
            p_SetSize(1);
            p_DrawImg(kTileImage, x, y, static_cast<float>(kind - 50 + 16));
        } else if (kind == 99) {
            p_Text(x, y, String(static_cast<int>(p[9])));
        }

        p[7] -= kind == 4 ? 0.003f : (kind == 16 ? 0.013f : 0.01f);
        if (p[7] < 0) p[0] = 0;
    }
    p_SetCol(255, 255, 255, 1);
    p_SetSize(1);
    p_SetRot(0);
    return 0;
}

int c_MyApp::p_ResetStars(int n) {
    SeedFromClock();
    if (m_starMax < 0) return 0;
    if (n >= 1 && n < kMaxSlots) m_starMax = n;
    for (int i = 0; i <= m_starMax; ++i) {
        float* s = RecordAt(m_star, i);
        s[1] = (jscrw + 16.0f) * vo_random_Rnd() - 8.0f;
        s[2] = (jscrh + 16.0f) * vo_random_Rnd() - 8.0f;
        s[3] = 0.2f + 0.6f * vo_random_Rnd();
        s[0] = static_cast<float>(static_cast<int>(255.99f * vo_random_Rnd()));
        s[5] = 360.0f * vo_random_Rnd();
        s[6] = vo_random_Rnd() - 0.5f;
    }
    return 0;
}

int c_MyApp::p_DoSnow(float dx, float dy) {
    const float border = overscan + 16.0f;
    const float spanX = jscrw + 2.0f * overscan + 32.0f;
    const float spanY = jscrh + 2.0f * overscan + 32.0f;
    for (int i = 0; i <= m_starMax; ++i) {
        float* s = RecordAt(m_star, i);
        s[1] += dx * s[3] + (0.6f * vo_random_Rnd() - 0.3f);
        s[2] += dy * s[3] + (0.9f * vo_random_Rnd() - 0.3f);

        // A flake leaving one edge comes back at the opposite one, somewhere else along it,
        // at a new depth and with a new look.
        auto renew = [s] {
            s[3] = 0.2f + 0.6f * vo_random_Rnd();
            s[0] = static_cast<float>(static_cast<int>(255.99f * vo_random_Rnd()));
        };
        if (s[1] < -border) {
            s[1] += spanX;
            s[2] = (jscrh + 16.0f) * vo_random_Rnd() - 8.0f;
            renew();
        }
        if (s[1] > jscrw + border) {
            s[1] -= spanX;
            s[2] = (jscrh + 16.0f) * vo_random_Rnd() - 8.0f;
            renew();
        }
        if (s[2] < -border) {
            s[2] += spanY;
            s[1] = (jscrw + 16.0f) * vo_random_Rnd() - 8.0f;
            renew();
        }
        if (s[2] > jscrh + border) {
            s[2] -= spanY;
            s[1] = (jscrw + 16.0f) * vo_random_Rnd() - 8.0f;
            renew();
        }

        s[5] += s[6];
        p_SetRot(-s[5]);
        p_SetCol(255, 255, 255, s[3]);
        p_SetSize(1);
        p_DrawImg(kParticleImage, s[1], s[2], s[0]);
    }
    p_SetCol(255, 255, 255, 1);
    p_SetSize(1);
    p_SetRot(0);
    return 0;
}
