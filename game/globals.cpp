// The game's module globals and their start values.
#include "game/globals.h"

namespace {

constexpr float kDesignWidth = 640;
constexpr float kDesignHeight = 480;
constexpr int kGameNumber = 415;

}  // namespace

float jscrw, jscrh;
float rawscrw, rawscrh;
float overscan;
int DebugMode;
int iCadeControls;
int HasMusicStream;
int UseHDImages;
int GameNum;
int J_On_Allow;
int J_On_Able;
Array<String> CreditText;

void vo_game_Init() {
    jscrw = kDesignWidth;
    jscrh = kDesignHeight;
    rawscrw = kDesignWidth;
    rawscrh = kDesignHeight;
    overscan = 0;
    DebugMode = 0;
    iCadeControls = 0;
    HasMusicStream = 1;
    UseHDImages = 1;
    GameNum = kGameNumber;
    J_On_Allow = 0;
    J_On_Able = 0;
    CreditText = vo_game_CreditLines();
}

namespace {

// The globals hold their start values from the program's start, before voInit runs.
const bool kStartValuesSet = (vo_game_Init(), true);

}  // namespace
