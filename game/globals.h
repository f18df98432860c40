// The game's module globals: the virtual screen, fixed switches and the credit lines.
#pragma once

#include "framework/app/array.h"
#include "framework/app/string.h"

// The virtual screen all game coordinates use, refitted to the window on every render.
extern float jscrw, jscrh;
// The design size the fit scales from.
extern float rawscrw, rawscrh;
// Horizontal inset of the picture in window pixels; the vertical one follows the window's aspect.
extern float overscan;
extern int DebugMode;
extern int iCadeControls;
extern int HasMusicStream;
extern int UseHDImages;
extern int GameNum;
extern int J_On_Allow;
extern int J_On_Able;
// The credits panel's text, one line an entry.
extern Array<String> CreditText;

// Puts every global above back to its start value, so that every game starts from the same
// state; the program's start runs it.
void vo_game_Init();
// The 53 credit lines.
Array<String> vo_game_CreditLines();
