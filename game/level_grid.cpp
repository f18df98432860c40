// The level's tile grid: writing and reading cells, the 3 × 3 neighbourhood the penguins move
// by, the level's place on the screen, and the tiles drawn with their pick-ups collected.
#include <algorithm>
#include <cmath>

#include "framework/app/random.h"
#include "framework/app/zero_pages.h"
#include "game/image_sheets.h"
#include "game/my_app.h"
#include "game/truncate.h"

namespace {

// The level with its border: columns 0 to kGridCols − 1, rows 0 to kGridRows − 1.
constexpr int kGridCols = grid::kCols + 2;
constexpr int kGridRows = grid::kRows + 2;

// Tile images are drawn at this size in virtual pixels at scale 1.
constexpr float kTileImageSize = 32;
// Tiles sit this far below the top of the level's drawing area.
constexpr float kTopStrip = 32;
// A screen too wide for its height sizes the tiles by the height instead, leaving kWideRoom
// pixels; the test that decides it reserves kWideTest.
constexpr float kWideTest = 96;
constexpr float kWideRoom = 64;
// The drawing offsets in cells: the level centred across, and lifted to leave the HUD's room
// below it.
constexpr float kHalfLevelCells = grid::kCols / 2.0f;
constexpr float kLevelDepthCells = 17;

// Frames of the tile image: blocks, start and exit from 0; pick-ups from kPickupFrame.
constexpr int kPickupFrame = 24;

// A penguin collects a pick-up when its drawing position is this close, in virtual pixels.
constexpr float kReachX = 8;
constexpr float kReachY = 16;
constexpr int kPickupBonus = 3;
// The burst of a collected pick-up.
constexpr int kBurstParticles = 17;
constexpr float kBurstAngle = 25;
constexpr float kBurstMinSpeed = 2, kBurstSpeedRange = 3;
// A collected pick-up floats off slowly upwards.
constexpr float kFloatSpeed = 0.25f;

int CellIndex(int x, int y) { return (y * grid::kRowCells + x) * grid::kCellFloats; }

// A position rounded down to its cell and held between low and high; NaN reads as cell 0.
int WholeCell(float v, int low, int high) {
    return vo_game_Trunc(std::clamp(std::floor(v), static_cast<float>(low), static_cast<float>(high)));
}

// A cell's tile code as a whole number, as vo_game_Trunc reads it; the codes in a level are
// small, and are converted without its tests for NaN and the ends of the range.
int CodeOf(float cell) { return cell > -1e6f && cell < 1e6f ? static_cast<int>(cell) : vo_game_Trunc(cell); }

int FrameOf(int code) { return code < tile::kSkillPickup ? code - 1 : code - tile::kSkillPickup + kPickupFrame; }

}  // namespace

int c_MyApp::p_ResetGrid() {
    // The pages a level wrote go back to the system and read as zero again; the rest never left it.
    vo_pages_Clear(m_grid.Data(), static_cast<size_t>(m_grid.Length()) * sizeof(float));
    return 0;
}

int c_MyApp::p_isFloor(int t) { return t >= tile::kFirstBlock && t <= tile::kLastBlock ? 1 : 0; }

int c_MyApp::p_isSolid(int t) { return p_isFloor(t); }

int c_MyApp::p_PutTile(float x, float y, int t) {
    const float fx = std::floor(x), fy = std::floor(y);
    // Only the level and its border are written; a NaN position fails the test as well.
    if (!(fx > -1 && fx < kGridCols && fy > -1 && fy < kGridRows)) return 0;
    float& cell = m_grid[CellIndex(static_cast<int>(fx), static_cast<int>(fy))];
    if (cell == static_cast<float>(t)) return 0;
    cell = static_cast<float>(t);
    p_ForgetNeighbourhoods();
    return 1;
}

int c_MyApp::p_GetMatrix(float x, float y) {
    // Called for every penguin on every step: the cells are read straight from the arrays, whose
    // bounds the tests below keep.
    const float* cells = m_grid.Data();
    int* matrix = m_matrix.Data() + grid::kFirstNeighbour;
    // A penguin in play stands inside the border nearly always: then all nine cells lie in the
    // grid and are read row by row without a test. Both positions are positive there, so
    // truncating rounds them down; NaN fails the test.
    if (x >= 1 && x < kGridCols - 1 && y >= 1 && y < kGridRows - 1) {
        const float* row = cells + CellIndex(static_cast<int>(x) - 1, static_cast<int>(y) - 1);
        for (int dy = 0; dy < 3; ++dy, row += grid::kRowCells * grid::kCellFloats) {
            matrix[0] = CodeOf(row[0]);
            matrix[1] = CodeOf(row[grid::kCellFloats]);
            matrix[2] = CodeOf(row[2 * grid::kCellFloats]);
            matrix += 3;
        }
        return 0;
    }
    // Further out than one cell past the grid, every neighbourhood reads the same as there.
    const int cx = WholeCell(x, -2, kGridCols + 1), cy = WholeCell(y, -2, kGridRows + 1);
    for (int dy = -1; dy <= 1; ++dy) {
        for (int dx = -1; dx <= 1; ++dx) {
            const int gx = cx + dx, gy = cy + dy;
            int code = 1;
            if (gx >= 0 && gx < kGridCols && gy >= 0 && gy < kGridRows) {
                code = vo_game_Trunc(cells[CellIndex(gx, gy)]);
            } else if (gy < 0 && gx >= 1 && gx <= grid::kCols) {
                // Open sky above the level; its sides go on up as walls.
                code = tile::kEmpty;
            }
            *matrix++ = code;
        }
    }
    return 0;
}

int c_MyApp::p_GetMatrixOf(int r, float x, float y) {
    c_Neighbourhoods& seen = m_neighbourhoods;
    seen.m_current = r;
    seen.m_unkept = true;
    if (seen.era[r] == seen.m_era && seen.x[r] == x && seen.y[r] == y) return 0;
    p_GetMatrix(x, y);
    const int* matrix = m_matrix.Data() + grid::kFirstNeighbour;
    for (int i = 0; i < grid::kNeighbours; ++i) seen.cells[r][i] = matrix[i];
    seen.era[r] = seen.m_era;
    seen.x[r] = x;
    seen.y[r] = y;
    return 0;
}

int c_MyApp::p_Neighbour(int cell) {
    const c_Neighbourhoods& seen = m_neighbourhoods;
    return seen.cells[seen.m_current][cell - grid::kFirstNeighbour];
}

int c_MyApp::p_KeepNeighbourhood() {
    c_Neighbourhoods& seen = m_neighbourhoods;
    if (!seen.m_unkept) return 0;
    // Copied an element at a time: a block copy of this size may become a slow string move.
    int* matrix = m_matrix.Data() + grid::kFirstNeighbour;
    for (int i = 0; i < grid::kNeighbours; ++i) matrix[i] = seen.cells[seen.m_current][i];
    seen.m_unkept = false;
    return 0;
}

int c_MyApp::p_ForgetNeighbourhoods() {
    c_Neighbourhoods& seen = m_neighbourhoods;
    // After the era wraps round, no entry of an earlier one may pass for current.
    if (++seen.m_era == 0) {
        std::fill(std::begin(seen.era), std::end(seen.era), 0u);
        seen.m_era = 1;
    }
    return 0;
}

int c_MyApp::p_PlaceLevel() {
    m_levCols = grid::kCols;
    m_levRows = grid::kRows;
    float size = jscrw / grid::kCols;
    if (size > (jscrh - kWideTest) / grid::kRows) size = (jscrh - kWideRoom) / grid::kRows;
    m_tileSize = size;
    m_camX = size * kHalfLevelCells - jscrw / 2;
    m_camY = size * kLevelDepthCells - jscrh;
    m_levelTop = kTopStrip - m_camY;
    m_levelBottom = m_levelTop + size * static_cast<float>(grid::kRows);
    return 0;
}

int c_MyApp::p_DrawTiles() {
    const float size = m_tileSize;
    p_SetCol(255, 255, 255);
    p_SetSize(size / kTileImageSize);
    for (int x = 1; x <= m_levCols; ++x) {
        for (int y = 1; y <= m_levRows; ++y) {
            float& cell = m_grid[CellIndex(x, y)];
            const int code = vo_game_Trunc(cell);
            if (code == tile::kEmpty) continue;
            const float tx = (static_cast<float>(x) - 0.5f) * size - m_camX;
            const float ty = (static_cast<float>(y) - 0.5f) * size + kTopStrip - m_camY;
            p_DrawImg(image::kTiles, tx, ty, static_cast<float>(FrameOf(code)));
            if (code < tile::kSkillPickup || code > tile::kLastPickup) continue;

            for (int r = 0; r < pen::kRecords; ++r) {
                const float* p = &m_pen[r * pen::kFloats];
                if (p[pen::kInPlay] == 0) continue;
                float px = 0, py = 0;
                p_PenScreenPoint(r, px, py);
                if (std::fabs(px - tx) >= kReachX || std::fabs(py - ty) >= kReachY) continue;

                if (code < tile::kSkillPickup + skill::kCount) {
                    m_player[play::kCounters + code - tile::kSkillPickup] += kPickupBonus;
                }
                if (code == tile::kPenguinPickup) {
                    p_AddPen(static_cast<float>(x), static_cast<float>(y), vo_game_Trunc(p[pen::kDir]), pen::kPopInDelay, 0);
                    p_PlaySFX(sfx::kPenguinPickup, 1);
                }
                const float lx = tx + m_camX, ly = ty + m_camY;
                for (int i = 0; i < kBurstParticles; ++i) {
                    const int kind = p_Rand(particle::kSpark, particle::kFalling);
                    const int colour = p_Rand(1, particle::kWhite);
                    const float angle = kBurstAngle * (2 * vo_random_Rnd() - 1);
                    const float speed = kBurstMinSpeed + kBurstSpeedRange * vo_random_Rnd();
                    p_ThrowParticle(lx, ly, kind, colour, angle, speed);
                }
                p_ThrowParticle(lx, ly, code, particle::kWhite, 0, kFloatSpeed);
                p_PlaySFX(sfx::kSkillPickup, 1);
                // Emptied, so no other penguin collects it again.
                cell = tile::kEmpty;
                break;
            }
        }
    }
    p_SetSize(1);
    return 0;
}
