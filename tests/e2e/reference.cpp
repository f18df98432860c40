// Headless runs for the end-to-end tests, and the checks of a real picture against their scenes.
#include "e2e/reference.h"

#include <algorithm>
#include <sstream>

#include "game/image_sheets.h"

namespace {

// The mean difference per channel, out of 255, up to which a record counts as shown: the window
// draws the sheets' own pixels, so what remains is what other records draw over them. A glyph
// of another character in the same place differs by several times as much.
constexpr double kShown = 24;
constexpr int kHeldUpdates = 3;

void Say(std::string* why, const std::string& text) {
    if (why) *why = text;
}

}  // namespace

const char kSettledTitleScript[] = "until loaded\nwait 60\n";

std::string HoldScript(const TestKey& key) {
    const std::string code = std::to_string(key.code), held = std::to_string(kHeldUpdates);
    return "key down " + code + "\nwait " + held + "\nkey up " + code + "\nwait " + held + "\n";
}

testing::AssertionResult RunScript(c_ReplayRunner& runner, const std::string& script) {
    c_ReplayScript parsed;
    c_ReplayError error;
    if (!vo_replay_ParseScript(script, parsed, error) || !runner.p_Run(parsed, error)) {
        return testing::AssertionFailure() << "headless game: " << error.p_Text();
    }
    return testing::AssertionSuccess();
}

std::vector<Drawn> Opaque(const Scene& scene, std::initializer_list<int> slots) {
    std::vector<Drawn> out;
    for (const Drawn& d : scene.images) {
        const bool wanted = slots.size() == 0 || std::find(slots.begin(), slots.end(), d.slot) != slots.end();
        if (wanted && d.alpha >= 1) out.push_back(d);
    }
    return out;
}

std::vector<WheelDisc> WheelDiscs(const Scene& scene) {
    std::vector<WheelDisc> discs;
    for (const Drawn& d : Opaque(scene, {image::kButtons})) {
        if (d.frame == image::kLevelFrame || d.frame == image::kLockedLevelFrame) {
            discs.push_back({d, d.frame == image::kLevelFrame});
        }
    }
    return discs;
}

WheelDisc SelectedDisc(const Scene& scene) {
    WheelDisc top;
    for (const WheelDisc& w : WheelDiscs(scene)) {
        if (w.disc.scaleX > top.disc.scaleX || top.disc.slot == 0) top = w;
    }
    return top;
}

bool ShowsImages(const Picture& picture, const std::vector<Drawn>& records, int detail) {
    const double m = WorstMismatch(picture, records, detail);
    return m >= 0 && m <= kShown;
}

bool ShowsTitle(const Picture& picture, const Scene& scene, std::string* why) {
    const std::vector<Drawn> logo = Opaque(scene, {image::kLogo});
    const double logoMismatch = WorstMismatch(picture, logo, scene.detail);
    if (logo.size() != 1 || logoMismatch < 0 || logoMismatch > kShown) {
        Say(why, "the logo is not there (mismatch " + std::to_string(logoMismatch) + ")");
        return false;
    }
    const std::vector<WheelDisc> discs = WheelDiscs(scene);
    if (discs.empty()) {
        Say(why, "the headless title draws no wheel");
        return false;
    }
    // Each disc must look like its own frame, and more like it than like the other kind.
    for (const WheelDisc& w : discs) {
        const int other = w.open ? image::kLockedLevelFrame : image::kLevelFrame;
        const double own = Mismatch(picture, w.disc, scene.detail),
                     alternative = Mismatch(picture, w.disc, scene.detail, other);
        if (own < 0 || own > kShown || own >= alternative) {
            std::ostringstream text;
            text << (w.open ? "open" : "locked") << " disc at " << w.disc.x << "," << w.disc.y
                 << " not shown (mismatch " << own << ", as the other kind " << alternative << ")";
            Say(why, text.str());
            return false;
        }
    }
    // And every line of text: the statistics and the numbers on the discs among them.
    for (const TextLine& line : scene.Lines()) {
        const double m = WorstMismatch(picture, line.glyphs, scene.detail);
        if (line.glyphs.front().alpha >= 1 && (m < 0 || m > kShown)) {
            Say(why, "\"" + line.text + "\" is not shown (mismatch " + std::to_string(m) + ")");
            return false;
        }
    }
    return true;
}

bool ShowsLevel(const Picture& picture, const Scene& scene, std::string* why) {
    constexpr int kBlockLooks = tile::kLastBlock - tile::kFirstBlock + 1;
    int shown = 0;
    // The selection marker spins with the clock; it is not part of the level, nor on its sheet.
    for (const Drawn& d : Opaque(scene, {image::kTiles})) {
        double best = Mismatch(picture, d, scene.detail);
        if (d.frame >= image::kBlockFrame && d.frame < image::kBlockFrame + kBlockLooks) {
            for (int look = 0; look < kBlockLooks; ++look) {
                const double m = Mismatch(picture, d, scene.detail, image::kBlockFrame + look);
                if (m >= 0 && m < best) best = m;
            }
        }
        if (best < 0 || best > kShown) {
            std::ostringstream text;
            text << "no tile at " << d.x << "," << d.y << " (mismatch " << best << ")";
            Say(why, text.str());
            return false;
        }
        ++shown;
    }
    if (shown == 0) Say(why, "the headless level draws no tiles");
    return shown > 0;
}

bool ShowsText(const Picture& picture, const Scene& scene, std::initializer_list<const char*> lines, std::string* why) {
    for (const char* text : lines) {
        const TextLine line = scene.Line(text);
        if (line.glyphs.empty()) {
            Say(why, std::string("the headless game does not write \"") + text + "\"");
            return false;
        }
        const double m = WorstMismatch(picture, line.glyphs, scene.detail);
        if (m < 0 || m > kShown) {
            Say(why, std::string("\"") + text + "\" is not shown (mismatch " + std::to_string(m) + ")");
            return false;
        }
    }
    return true;
}
