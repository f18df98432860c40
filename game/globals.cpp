// The game's module globals and their start values.
#include "game/globals.h"

namespace {

constexpr float kDesignWidth = 640;
constexpr float kDesignHeight = 480;
constexpr int kGameNumber = 415;

}  // namespace

float jscrw = kDesignWidth, jscrh = kDesignHeight;
float rawscrw = kDesignWidth, rawscrh = kDesignHeight;
float overscan = 0;
int DebugMode = 0;
int iCadeControls = 0;
int HasMusicStream = 1;
int UseHDImages = 1;
int GameNum = kGameNumber;
int J_On_Allow = 0;
int J_On_Able = 0;
Array<String> CreditText = vo_game_CreditLines();

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
