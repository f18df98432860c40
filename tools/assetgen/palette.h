// The one cold arctic palette every picture is drawn from.
#pragma once

#include "tools/assetgen/geometry.h"

namespace assetgen::palette {

inline const Rgba kInk = Hex(0x0b1628);         // outlines
inline const Rgba kNight = Hex(0x13233d);
inline const Rgba kIceDeep = Hex(0x2b5f96);
inline const Rgba kIceMid = Hex(0x5da4d8);
inline const Rgba kIce = Hex(0x9fd6f2);
inline const Rgba kIceLight = Hex(0xdaf2ff);
inline const Rgba kSnow = Hex(0xf8fcff);
inline const Rgba kSnowShade = Hex(0xc4d8ea);
inline const Rgba kWhite = Hex(0xffffff);

inline const Rgba kPenguin = Hex(0x23395c);
inline const Rgba kPenguinLight = Hex(0x3c5b86);
inline const Rgba kBelly = Hex(0xfbfdff);
inline const Rgba kBellyShade = Hex(0xcfdced);
inline const Rgba kBeak = Hex(0xffb338);
inline const Rgba kBeakDark = Hex(0xe0761c);
inline const Rgba kBlush = Hex(0xff8fa3, 0.55f);

inline const Rgba kJump = Hex(0x5fd66f);
inline const Rgba kLeap = Hex(0x3ec6ff);
inline const Rgba kMelt = Hex(0xff7138);
inline const Rgba kBurst = Hex(0xffd23c);
inline const Rgba kSpin = Hex(0xb684ff);
inline const Rgba kGold = Hex(0xffd54a);
inline const Rgba kRed = Hex(0xff5563);
inline const Rgba kStone = Hex(0x6f7f95);

}  // namespace assetgen::palette
