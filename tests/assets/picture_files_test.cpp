// The generated pictures: present at every detail level, readable by the frame walk of the
// image loader, and with something drawn in every frame the game shows.
#include <gtest/gtest.h>
#include <stb_image.h>

#include <memory>
#include <string>
#include <vector>

#include "assets/data_dir.h"
#include "game/image_sheets.h"

namespace {

struct Picture {
    int width = 0, height = 0;
    std::unique_ptr<unsigned char, void (*)(void*)> pixels{nullptr, stbi_image_free};

    int Alpha(int x, int y) const { return pixels.get()[(static_cast<size_t>(y) * width + x) * 4 + 3]; }
};

Picture Load(const std::string& name) {
    Picture p;
    int channels = 0;
    p.pixels.reset(stbi_load((DataDir() + "/" + name).c_str(), &p.width, &p.height, &channels, 4));
    return p;
}

std::string FileName(const std::string& stem, int level) {
    return stem + (level == 4 ? "-hd2" : level == 2 ? "-hd" : "") + ".png";
}

struct Corner {
    int x, y;
};

// The loader's frame walk: left to right, wrapping to the next row; an empty result stands
// for "Image frame outside surface".
std::vector<Corner> WalkFrames(int surfaceW, int surfaceH, int fw, int fh, int count) {
    std::vector<Corner> frames;
    int cx = 0, cy = 0;
    for (int i = 0; i < count; i++) {
        if (cx + fw > surfaceW) {
            if (fw > surfaceW) return {};
            cy += fh;
            cx = 0;
        }
        if (cy + fh > surfaceH) return {};
        frames.push_back({cx, cy});
        cx += fw;
    }
    return frames;
}

bool AnyAlpha(const Picture& p, Corner c, int w, int h) {
    for (int y = c.y; y < c.y + h; y++) {
        for (int x = c.x; x < c.x + w; x++) {
            if (p.Alpha(x, y) > 0) return true;
        }
    }
    return false;
}

// The sheet of a slot as the game loads it; the font is loaded apart, with its own cells.
image::Sheet LoadedSheet(int slot) {
    if (slot == image::kFont) {
        return {image::kFont, image::kFontStem, image::kFontCell, image::kFontCell, image::kFontCells};
    }
    const image::Sheet* sheet = image::SheetOf(slot);
    return sheet ? *sheet : image::Sheet{slot, "", 0, 0, 0};
}

// A sheet's file at one detail level, cut into frames by the loader's walk.
struct SheetFile {
    std::string name;
    Picture picture;
    int frameWidth = 0, frameHeight = 0;
    std::vector<Corner> frames;
};

SheetFile LoadSheet(const image::Sheet& sheet, int level) {
    SheetFile file;
    file.name = FileName(sheet.stem, level);
    file.picture = Load(file.name);
    file.frameWidth = sheet.frameWidth * level;
    file.frameHeight = sheet.frameHeight * level;
    if (file.picture.pixels) {
        file.frames = WalkFrames(file.picture.width, file.picture.height, file.frameWidth, file.frameHeight,
                                 sheet.frameCount);
    }
    return file;
}

struct Slot {
    int slot;
    std::vector<int> drawn;  // frames the game draws
};

std::vector<int> Range(int first, int last) {
    std::vector<int> r;
    for (int i = first; i <= last; i++) r.push_back(i);
    return r;
}

const std::vector<Slot>& Slots() {
    static const std::vector<Slot> slots = {
        {image::kPenguin, Range(0, image::kSelectedMarkerFrame)},
        {image::kTiles, {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 16, 17, 18, 19, 20, 21, 24, 25, 26, 27, 28, 29}},
        {image::kBadges, Range(0, 63)},
        {image::kCircle, Range(0, 3)},
        {image::kLight, Range(0, 3)},
        {image::kFont, [] {
             std::vector<int> f = Range(1, 94);
             for (int i : Range(96, 110)) f.push_back(i);
             for (int i : Range(112, 124)) f.push_back(i);
             return f;
         }()},
        {image::kStudioMark, {0}},
        {image::kDpad, Range(0, 14)},
        {image::kButtons, {1, 2, 8, 9, 10}},
        {image::kParticles, Range(0, 255)},
        {image::kIcons, Range(0, 3)},
        {image::kLogo, {0}},
        {image::kMenu, Range(0, 3)},
    };
    return slots;
}

TEST(PictureFiles, EverySlotLoadsAtEveryDetailLevelWithEveryDrawnFrameShowingSomething) {
    for (const image::Sheet& sheet : image::kSheets) {
        bool listed = false;
        for (const Slot& slot : Slots()) listed = listed || slot.slot == sheet.slot;
        EXPECT_TRUE(listed) << "no drawn frames listed for " << sheet.stem;
    }
    for (const Slot& slot : Slots()) {
        const image::Sheet sheet = LoadedSheet(slot.slot);
        ASSERT_GT(sheet.frameCount, 0) << "the game loads no sheet into slot " << slot.slot;
        for (int level : {1, 2, 4}) {
            const SheetFile file = LoadSheet(sheet, level);
            SCOPED_TRACE(file.name);
            const Picture& p = file.picture;
            ASSERT_NE(p.pixels, nullptr) << "missing or undecodable";
            const int fw = file.frameWidth, fh = file.frameHeight;
            const std::vector<Corner>& frames = file.frames;
            ASSERT_EQ(frames.size(), static_cast<size_t>(sheet.frameCount)) << "Image frame outside surface";
            // no wasted rows or columns beyond the grid the frames need
            EXPECT_EQ(p.width % fw, 0);
            EXPECT_LE(p.height, frames.back().y + fh);
            for (int f : slot.drawn) EXPECT_TRUE(AnyAlpha(p, frames[f], fw, fh)) << "frame " << f << " is empty";
        }
    }
}

TEST(PictureFiles, PenguinFeetRestOnTheCellFloor) {
    // At 640x480 the level draws the frame centred 1.5T - 32 below the cell centre at T/32,
    // which puts the cell's bottom edge 5 frame pixels above the frame's bottom.
    for (int level : {1, 2, 4}) {
        const SheetFile file = LoadSheet(LoadedSheet(image::kPenguin), level);
        const Picture& p = file.picture;
        ASSERT_NE(p.pixels, nullptr);
        const int size = file.frameWidth;
        const std::vector<Corner>& frames = file.frames;
        for (int f = 0; f <= 7; f++) {
            int lowest = -1;
            for (int y = 0; y < size; y++) {
                for (int x = 0; x < size; x++) {
                    if (p.Alpha(frames[f].x + x, frames[f].y + y) >= 128) lowest = y;
                }
            }
            float gap = static_cast<float>(size - 1 - lowest) / level;
            EXPECT_NEAR(gap, 5.0f, 1.0f) << "level " << level << " walk frame " << f;
        }
    }
}

TEST(PictureFiles, BlocksFillTheirCellExactlySoNeighboursJoin) {
    for (int level : {1, 2, 4}) {
        const SheetFile file = LoadSheet(LoadedSheet(image::kTiles), level);
        const Picture& p = file.picture;
        ASSERT_NE(p.pixels, nullptr);
        const int size = file.frameWidth, border = 2 * level;
        const std::vector<Corner>& frames = file.frames;
        for (int f = 0; f <= 7; f++) {
            int holes = 0, spill = 0;
            for (int y = 0; y < size; y++) {
                for (int x = 0; x < size; x++) {
                    bool inside = x >= border && y >= border && x < size - border && y < size - border;
                    int a = p.Alpha(frames[f].x + x, frames[f].y + y);
                    if (inside && a != 255) holes++;
                    if (!inside && a != 0) spill++;
                }
            }
            EXPECT_EQ(holes, 0) << "level " << level << " block " << f;
            EXPECT_EQ(spill, 0) << "level " << level << " block " << f;
        }
    }
}

TEST(PictureFiles, GameFontHasEveryPrintableCharacterAndAnEmptySpace) {
    for (int level : {1, 2, 4}) {
        const SheetFile file = LoadSheet(LoadedSheet(image::kFont), level);
        const Picture& p = file.picture;
        ASSERT_NE(p.pixels, nullptr);
        const int cell = file.frameWidth;
        const std::vector<Corner>& frames = file.frames;
        ASSERT_EQ(frames.size(), 128u);
        EXPECT_FALSE(AnyAlpha(p, frames[0], cell, cell)) << "the space must draw nothing";
        for (int code = 33; code <= 126; code++) {
            EXPECT_TRUE(AnyAlpha(p, frames[code - 32], cell, cell)) << "level " << level << " char " << code;
        }
    }
}

TEST(PictureFiles, DefaultFontIsOneStripOf96CellsWithClearGutters) {
    Picture p = Load("mivo_font.png");
    ASSERT_NE(p.pixels, nullptr);
    ASSERT_EQ(p.width % 96, 0);
    int cell = p.width / 96;
    ASSERT_GE(cell, 5);
    for (int i = 0; i < 96; i++) {
        int x0 = i * cell;
        // the gutter columns are cut off when the font is loaded with the gutter flag
        EXPECT_FALSE(AnyAlpha(p, {x0, 0}, 1, p.height)) << "left gutter of " << i + 32;
        EXPECT_FALSE(AnyAlpha(p, {x0 + cell - 1, 0}, 1, p.height)) << "right gutter of " << i + 32;
        bool drawn = AnyAlpha(p, {x0 + 1, 0}, cell - 2, p.height);
        int code = i + 32;
        if (code == 32) {
            EXPECT_FALSE(drawn);
        } else if (code <= 126) {
            EXPECT_TRUE(drawn) << "char " << code;
        }
    }
}

}  // namespace
