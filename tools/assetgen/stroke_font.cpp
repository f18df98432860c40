// The stroke table of the game's letters and the routine that draws them.
#include "tools/assetgen/stroke_font.h"

#include <vector>

namespace assetgen {

namespace {

// Codes 33 to 126. Capitals and figures are 5 columns wide; narrow and wide lower-case
// letters match the text routine's kerning (i, l, f narrow; m, w wide). The l is a bare stem:
// a foot would reach into the next letter at the narrow step after it.
constexpr std::string_view kGlyphs[94] = {
    "2024 26",                                   // !
    "1011 3031",                                 // "
    "1115 3135 0242 0444",                       // #
    "4111021333443505 2026",                     // $
    "0010110100 4105 3545463635",                // %
    "46131120313205162644",                      // &
    "2021",                                      // '
    "30212536",                                  // (
    "10212516",                                  // )
    "2125 0244 4204",                            // *
    "2125 0343",                                 // +
    "252617",                                    // ,
    "1333",                                      // -
    "26",                                        // .
    "40410506",                                  // /
    "103041453616050110 1432",                   // 0
    "112026 1636",                               // 1
    "01103041420646",                            // 2
    "01103041423313 334445361605",               // 3
    "3630030444",                                // 4
    "400002324345361605",                        // 5
    "4130100105163645443303",                    // 6
    "0040412326",                                // 7
    "13020110304142331304051636454433",          // 8
    "0516364541301001021343",                    // 9
    "22 25",                                     // :
    "22 252617",                                 // ;
    "300336",                                    // <
    "0242 0444",                                 // =
    "104316",                                    // >
    "011030414224 26",                           // ?
    "4441301001051646 44242242",                 // @
    "060110304146 0343",                         // A
    "003041423303 334445360600",                 // B
    "4130100105163645",                          // C
    "00304145360600",                            // D
    "40000646 0333",                             // E
    "400006 0333",                               // F
    "41301001051636454323",                      // G
    "0006 4046 0343",                            // H
    "1030 2026 1636",                            // I
    "2040 3035261605",                           // J
    "0006 401303 1346",                          // K
    "000646",                                    // L
    "0600224046",                                // M
    "0600 4046 0145",                            // N
    "103041453616050110",                        // O
    "06003041423303",                            // P
    "103041453616050110 2446",                   // Q
    "06003041423303 234546",                     // R
    "413010010213334445361605",                  // S
    "0040 2026",                                 // T
    "000516364540",                              // U
    "0004264440",                                // V
    "0006244640",                                // W
    "00014546 40410506",                         // X
    "0001234140 2326",                           // Y
    "004041050646",                              // Z
    "30101636",                                  // [
    "00014546",                                  // backslash
    "10303616",                                  // ]
    "032143",                                    // ^
    "0747",                                      // _
    "1021",                                      // `
    "12324346 4414051646",                       // a
    "00063645433202",                            // b
    "421203051646",                              // c
    "40461605031242",                            // d
    "044443321203051646",                        // e
    "161120 0323",                               // f
    "42473818 421203041545",                     // g
    "0006 0312324346",                           // h
    "0206 00",                                   // i
    "3237281807 30",                             // j
    "0006 321404 1436",                          // k
    "0006",                                      // l
    "0602223336 3342526366",                     // m
    "0602223336",                                // n
    "123243453616050312",                        // o
    "08023243453606",                            // p
    "48421203051646",                            // q
    "0602 031232",                               // r
    "3212031424352606",                          // s
    "10152636 0232",                             // t
    "0205163645 4246",                           // u
    "0204264442",                                // v
    "020516263546566562 3533",                   // w
    "0246 4206",                                 // x
    "02051646 42473808",                         // y
    "0232050636",                                // z
    "30212213242536",                            // {
    "2026",                                      // |
    "10212233242516",                            // }
    "0413233443",                                // ~
};

}  // namespace

std::string_view GlyphStrokes(int code) {
    if (code < 33 || code > 126) return {};
    return kGlyphs[code - 33];
}

int GlyphColumns(int code) {
    std::string_view s = GlyphStrokes(code);
    int widest = -1;
    for (size_t i = 0; i < s.size(); i++) {
        if (s[i] == ' ') continue;
        size_t start = s.find_last_of(' ', i);
        size_t offset = i - (start == std::string_view::npos ? 0 : start + 1);
        if (offset % 2 == 0) widest = std::max(widest, s[i] - '0');
    }
    return widest + 1;
}

void DrawGlyph(const Painter& p, Vec2 origin, float unit, int code, Rgba colour, float strokeScale) {
    std::string_view s = GlyphStrokes(code);
    if (s.empty()) return;
    std::vector<std::vector<Vec2>> strokes(1);
    for (size_t i = 0; i + 1 < s.size();) {
        if (s[i] == ' ') {
            strokes.emplace_back();
            i++;
            continue;
        }
        strokes.back().push_back(origin + Vec2{static_cast<float>(s[i] - '0'), static_cast<float>(s[i + 1] - '0')} * unit);
        i += 2;
    }
    Vec2 lo = origin - Vec2{unit, unit}, hi = origin + Vec2{8 * unit, 10 * unit};
    float r = unit * 0.5f * strokeScale;
    p.Fill(lo, hi, [&](Vec2 q) {
        float d = 1e9f;
        for (const auto& stroke : strokes) {
            if (stroke.size() == 1) d = std::min(d, Length(q - stroke[0]));
            for (size_t k = 1; k < stroke.size(); k++) d = std::min(d, sdf::Segment(q, stroke[k - 1], stroke[k]));
        }
        return d - r;
    }, colour);
}

float TextWidth(float unit, std::string_view text, float gap) {
    float w = 0;
    for (char c : text) w += (c == ' ' ? 3 : GlyphColumns(static_cast<unsigned char>(c))) * unit + gap * unit;
    return text.empty() ? 0 : w - gap * unit;
}

float DrawText(const Painter& p, Vec2 origin, float unit, std::string_view text, Rgba colour, float gap,
               float strokeScale) {
    Vec2 pen = origin;
    for (char c : text) {
        int code = static_cast<unsigned char>(c);
        DrawGlyph(p, pen, unit, code, colour, strokeScale);
        pen.x += ((code == ' ' ? 3 : GlyphColumns(code)) + gap) * unit;
    }
    return TextWidth(unit, text, gap);
}

}  // namespace assetgen
