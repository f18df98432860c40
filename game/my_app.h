// The game's application object and the index of the game: one section per source file, in the
// order an update runs them, each with the methods and fields that file owns.
#pragma once

#include <cstdint>

#include "framework/app/app.h"
#include "framework/audio/sound.h"
#include "framework/graphics/image.h"
#include "framework/net/http_request.h"
#include "game/defs.h"
#include "game/globals.h"
#include "game/image_sheets.h"
#include "game/replay_log.h"
#include "game/stored_levels.h"

class c_MyApp : public c_App, public c_IOnHttpRequestComplete {
public:
    // Host callbacks, in the order of a run.
    int p_OnCreate() override;
    int p_OnSuspend() override;
    int p_OnResume() override;
    int p_OnUpdate() override;
    int p_OnRender() override;
    // The program ends by request: a level's result the title has not yet taken is recorded first.
    int p_OnEnd() override;

    // --- Screen driver (game/my_app.cpp) ---
    int p_FullscreenFlip();
    // Suspend and resume: the pause a level is left in, and the input let go of.
    int p_PauseForFocus();
    int p_ReleaseInput();
    // Update step 6: which panel the held key and the pointer belong to.
    int p_LatchKeys();
    // Update step 7: the credits panel's slide.
    int p_SlideCredits();

    int m_mode = 0;
    int m_paused = 0;
    int m_pauseDir = 0;
    int m_pauseY = 0;
    int m_fullScreen = 0;
    int m_hideHud = 0;
    int m_inputMode = 0;
    int m_levelSel = 0;
    float m_wheelPos = 0;
    int m_updLast = 0;
    int m_updFps = 0;
    int m_updFpsAvg = 0;
    int m_pointerUsed = 0;
    int m_keyUsed = 0;
    int m_optionsOpen = 0;
    int m_creditsOpen = 0;
    int m_optionsSlide = 0;
    float m_creditsX = 0;
    // The window size when the game started.
    int m_startDevW = 0;
    int m_startDevH = 0;
    // The title logo's drop counter; start-up sets it.
    int m_titleDrop = 0;

    // --- Controls: pointer, iCade, actions, sticks, on-screen buttons (game/controls.cpp) ---
    // Update step 5: the pointer and the touch points in virtual pixels.
    int p_ReadPointer();
    // Update step 9: the iCade's characters into the virtual pad.
    int p_ReadICade();
    int p_PlayKey(int action, int withStick, int pad);
    int p_PlayKeyAll(int action, int withStick);
    float p_StickX(int stick, int pad);
    float p_StickY(int stick, int pad);
    int p_AnalogueControl();
    int p_iCade(int on);
    int p_MouseIn(float x, float y, float w, float h);
    int p_MouseIn_Centered(float x, float y, float w, float h);
    int p_MouseIn_Radius(float x, float y, float w, float h);
    int p_Touch(float x, float y, float w, float h);
    int p_Button(int image, float x, float y, int frame);
    // p_Button on the pause button's image.
    int p_PauseButton(float x, float y, int frame);
    int p_Button0(int image, float x, float y, int frame);
    // What the input reads now, for the replay: held keys and buttons, sticks, pointer, touches.
    int p_ReadInputState(c_InputState& state);
    // Update step 5: the device pressed last (inputmode::), which a level's m_inputMode follows.
    int p_NoteDevice();

    // iCade buttons 0 to 18 (0 up, 2 held) and the back-key hits of the update.
    Array<int> m_pad{vpad::kEntries};
    int m_lastChar = 0;
    int m_mouseX = 0;
    int m_mouseY = 0;
    int m_pointerDown = 0;
    Array<int> m_touchDown{touch::kPoints};
    Array<int> m_touchX{touch::kPoints};
    Array<int> m_touchY{touch::kPoints};
    // p_AnalogueControl: the smoothed direction (-1 to 1 on each axis) and the key ramps behind it.
    float m_stickOutX = 0, m_stickOutY = 0;
    float m_keyRampX = 0, m_keyRampY = 0;
    // The last p_Button's hit.
    int m_buttonHit = 0;
    // p_NoteDevice: the device of the last new press, and which devices were held (one bit each
    // for keyboard, pad and pointer) in the update before.
    int m_lastDevice = inputmode::kKeys;
    int m_devicesHeld = 0;

    // --- Replays: the level's input kept as an input script (game/replays.cpp) ---
    // The level was built (p_LoadGame): the next update's end starts the recording.
    int p_ReplayBuilt();
    // Update step 12: a level built in this update records what the next update inherits; again
    // whenever that changes before the level's first update (a replay played back sets it).
    int p_ReplayStart();
    // Update step 5: the changes to the input since the update before.
    int p_ReplayCapture();
    // A change that reaches the game outside step 5: an iCade character, the focus.
    int p_ReplayNote(replay::Change change, int code = 0);
    // At the level's end: a level ended with a penguin rescued writes its replay, unless the one
    // kept scores as well.
    int p_ReplaySave();
    String p_ReplayText();

    c_ReplayLog m_replay;
    c_InputState m_replayInput;

    // --- Title screen: logo, level wheel, statistics, options button, credits (game/menu_title.cpp) ---
    int p_Menu();
    // Level i (from 0) may be played: the first always, any other once it or the level before
    // it has a record.
    int p_LevelOpen(int i);
    // Starts the selected level, or refuses a locked one.
    int p_ConfirmLevel();
    // The title's steps, each with its own drawing.
    int p_MenuStrip();
    int p_MenuOptionsButton();
    int p_MenuWheel();
    int p_MenuKeys();
    int p_MenuStats();
    // Makes the statistics' texts of m_statsLevel from m_statsCounts.
    int p_MakeStatsTexts();
    int p_MenuCredits();
    // Moves the selection to level i (clamped) with the move sound, unless it is already there.
    int p_SelectLevel(int i);

    // Which title item the keys work: menu::k*Focus.
    int m_menuCursor = menu::kWheelFocus;
    float m_wheelSpin = 0;
    // A drag on the wheel: on, where the press began, how far it has strayed, and the disc
    // pressed (-1 none), which a tap selects.
    int m_dragOn = 0;
    float m_dragX = 0, m_dragY = 0;
    float m_dragStray = 0;
    int m_dragDisc = -1;
    float m_creditsScroll = 0;
    int m_creditsTop = 0;
    // Updates the title has run, which turn its gears.
    int m_menuTurn = 0;
    // Updates left of the refused level's shake.
    int m_lockShake = 0;
    // 1 when the gear was pressed while the end banner still took the presses: the options open
    // once it is gone.
    int m_gearPressed = 0;
    // The statistics' texts (the heading, then a line a count), made when the level they
    // describe, m_statsLevel (-1 none yet), or what it starts with, m_statsCounts (penguins,
    // then the five skills), changes rather than every update.
    // After them, the line of what the level needs that the counters fall short of, and which
    // skills do (bit k for skill k).
    Array<String> m_statsTexts{skill::kCount + 3};
    Array<int> m_statsCounts{skill::kCount + 1};
    int m_statsLevel = -1;
    int m_statsShort = 0;
    // Where a level's proven needs come from: the stored levels (vo_levels_Needs).
    const int* (*m_needsOf)(int level) = vo_levels_Needs;

    // --- Options box: sound, iCade and window mode, over the title or the pause panel (game/menu_options.cpp) ---
    int p_OptionBox();
    // Carries out the effect of an options row.
    int p_OptionRow(int row);

    int m_optCursor = 0;
    int m_optKeyLatch = 0;
    int m_optPointerLatch = 0;
    // Updates the box has run, which turn its gear.
    int m_optTurn = 0;

    // --- Pause panel: continue, restart, quit and options over a paused level (game/menu_pause.cpp) ---
    int p_PauseMenu();
    // Carries out a pause item (menu::k*Item); byKey tells the options item which sound to play.
    int p_PauseItem(int item, int byKey);

    int m_pauseCursor = 0;

    // --- Level data: the stored levels, their decoding and building a level (game/level_data.cpp) ---
    String p_GetLevDat(int level);
    String p_JuNKrunch(const String& text);
    int p_GetLev(int level);
    // p_GetLev from an expanded text of one's own instead of the stored one.
    int p_BuildLevel(int level, const String& text);
    int p_LoadGame();
    int p_FlushGame();
    // "Level N — Name" of a stored level ("Level N" without a name); empty for any other.
    const String& p_LevelTitle(int level);

    // The level in play, from 1.
    int m_level = 0;
    int m_levCols = 0;
    int m_levRows = 0;
    // Element 0: the penguins of the level about to start (the title screen sets it).
    Array<int> m_settings{100};
    // The skill whose HUD slot was tapped in the previous update (-1 none).
    int m_tapSkill = 0;

    // --- Level grid: tiles, the neighbourhood read, placement and pick-ups (game/level_grid.cpp) ---
    int p_ResetGrid();
    int p_isFloor(int t);
    int p_isSolid(int t);
    int p_PutTile(float x, float y, int t);
    int p_GetMatrix(float x, float y);
    // p_GetMatrix for record r at (x, y), kept for r and read again only when r stands in another
    // cell than at its last read or the grid may have changed since. Its cells are read with
    // p_Neighbour; m_matrix takes the last of them when p_KeepNeighbourhood ends the steps.
    int p_GetMatrixOf(int r, float x, float y);
    // Cell `cell` (grid::kAbove and the others) of the neighbourhood p_GetMatrixOf read last.
    int p_Neighbour(int cell);
    int p_KeepNeighbourhood();
    // Every record's last read is stale: at the start of an update's steps (the grid may have
    // been written directly since the last one) and when a tile changes.
    int p_ForgetNeighbourhoods();
    // The tile size and the drawing offsets for the virtual screen of the moment.
    int p_PlaceLevel();
    // Draws the tiles and hands out the pick-ups that penguins touch.
    int p_DrawTiles();

    // Only the level's corner of the grid is ever written, so only its pages are backed.
    Array<float> m_grid = Array<float>::ZeroPaged(grid::kFloats);
    Array<int> m_matrix{grid::kMatrixInts};
    // Each record's last neighbourhood read and where it was read, valid while its era is the
    // current one (era 0 never is). A walking penguin stays about 40 steps in one cell. The
    // record read last is m_current; m_unkept while m_matrix does not hold its cells yet.
    struct c_Neighbourhoods {
        unsigned m_era = 1;
        int m_current = 0;
        bool m_unkept = false;
        unsigned era[pen::kRecords];
        float x[pen::kRecords];
        float y[pen::kRecords];
        int cells[pen::kRecords][grid::kNeighbours];
    } m_neighbourhoods{};
    // Virtual pixels per cell.
    float m_tileSize = 0;
    // The level's drawing offsets, subtracted from level positions; and their motion.
    float m_camX = 0;
    float m_camY = 0;
    float m_camDX = 0;
    float m_camDY = 0;
    // Where the level's cells begin and end on the screen, from the top.
    float m_levelTop = 0, m_levelBottom = 0;

    // --- Penguins and skills (game/penguins.cpp, game/skills.cpp) ---
    int p_AddPen(float x, float y, int dir, int delay, int select);
    int p_ResetObj();
    int p_ResetPlayers();
    // One update of a level in play: its simulation steps and all of its drawing.
    int p_Game();
    // The 20 floats of penguin record r.
    float* p_PenAt(int r);
    // Where penguin r is drawn on the virtual screen, its feet's point: what a tap selects it by
    // and what picks up pick-ups.
    int p_PenScreenPoint(int r, float& sx, float& sy);
    // Whether penguin r would take a skill given in the next update: in play and walking in a
    // running level, on the ground or just off it.
    int p_CanTakeSkill(int r);
    // One step of record r, drawn; 1 when the record counts as in play.
    int p_StepPen(int r);
    // Keeps the selected penguin's nearest neighbours on screen for the select stick.
    int p_NotePen(int r, float sx, float sy);
    // Offsets back within the cell, the neighbourhood read, the ground countdown and the fall speed.
    int p_SettlePen(int r);
    // The rule of the penguin's state, one method a state.
    int p_PenAct(int r, float sx, float sy);
    int p_PenWalk(int r);
    int p_PenTurn(int r);
    int p_PenPopIn(int r);
    int p_PenWait(int r);
    int p_PenRescued(int r);
    // 1 when the penguin is up against a wall it faces.
    int p_AtWall(int r);
    // Starts a turn that ends facing newDir.
    int p_StartTurn(int r, float newDir);
    // Penguins meeting head on turn each other round.
    int p_PenBump(int r);
    // Notes in the bump view what the bump test reads of record r as it stands now.
    int p_NoteBumper(int r);
    // The sprite, a tap that selects it, and the selection marker.
    int p_DrawPen(int r, float sx, float sy);
    // A penguin below the last row loses the level.
    int p_PenDeath(int r, float sx, float sy);
    // Choosing the skill and the penguin, and giving the one to the other (game/skills.cpp).
    int p_SkillControls();
    // Moves the selected skill by one, either way round.
    int p_SwitchSkill(int by);
    int p_UseSkill();
    int p_PenJump(int r);
    int p_PenLeap(int r);
    // Melt and Burst: sparks, and one block ahead or above cleared.
    int p_PenDig(int r, float sx, float sy);
    int p_PenSpin(int r);

    // 50 penguin records of 20 floats (pen:: in game/defs.h).
    Array<float> m_pen{pen::kTableFloats};
    // The bump view: what the bump test reads of each record, record by record in rows of their
    // own so that one penguin is tested against all 50 at once. An update notes every record
    // before its steps, and each record again after its turn and when it is bumped.
    struct c_BumpView {
        // In play and not rescued (1) or not (0); the row, y plus its offset; the direction;
        // and the scaled x the test compares, (x plus its offset) × 32 plus the direction.
        // Padded to whole rows of four lanes; the padding is never live.
        static constexpr int kLanes = (pen::kRecords + 3) / 4 * 4;
        float live[kLanes];
        float row[kLanes];
        float dir[kLanes];
        float reach[kLanes];
        // The screen the test runs first (p_PenBump): a live record's row moved far up or down
        // by its direction, and its scaled x; infinity and 0 for one not live. A live record
        // that does not fit it (a direction other than ±1, a row or x that is not a finite
        // number) has its bit in oddLive instead, and no penguin is screened while any has.
        float key[kLanes];
        float keyReach[kLanes];
        uint64_t oddLive;
        static_assert(pen::kRecords <= 64, "a bit a record in oddLive");
    } m_bumpView{};
    // The play state (play:: in game/defs.h).
    Array<float> m_player{play::kFloats};

    // --- HUD: skill slots, counters, timer, speed-up button, hints and the level's name over a level; the pause and restart requests (game/hud.cpp) ---
    // The level's last drawing before its particles; the out-of-time end is found here.
    int p_DrawHud();
    // Runs after the level's update, paused or not: the pause key and the pause button.
    int p_InGame();
    // Pauses the level with its panel about to slide in.
    int p_OpenPause();
    // 1 while the pointer holds the speed-up button down.
    int p_SpeedButtonHeld();

    // 1 once some penguin faced left in this update: the level sets it, p_DrawHud reads and clears it.
    int m_facedLeft = 0;
    // Updates the level has run since it was built, which its name's showing follows.
    int m_levelAge = 0;
    // Where the level's own drawing ends in the draw queue. A paused level is not drawn again, so
    // each paused update goes back to this mark and draws only what lies over the level.
    int m_levelDrawn = 0;

    // --- Particles, snow and stars (game/particles.cpp) ---
    // Seeds the shared generator; kClockSeed takes the seed from the clock.
    static constexpr int kClockSeed = -37171650;
    int p_SeedRnd(int seed);
    // A whole number from a to b for whole a <= b, from the shared generator.
    int p_Rand(float a, float b);
    // An angle or speed of kNoArg means none was given: a random one is used.
    int p_ThrowParticle(float x, float y, int kind, int colour, float angle = kNoArg, float speed = kNoArg);
    int p_FreeParticle();
    int p_ResetParticles(int n);
    int p_DoParticles(float scale);
    int p_ResetStars(int n);
    int p_DoSnow(float dx, float dy);

    Array<float> m_part{particle::kTableFloats};
    int m_partMax = particle::kStartMax;
    Array<float> m_star{particle::kTableFloats};
    int m_starMax = particle::kStartStars;

    // --- Level end: how a level ends, the banner, the rank, the score, the way back (game/level_end.cpp) ---
    int p_LoadMenu();
    int p_GameOver();
    // The rank text of m_score in the level's top ten; the rank itself (0 unranked) goes to m_rank.
    String p_MyNth();
    // Ends the level for that reason and scores it; a level already over keeps its first ending.
    int p_EndLevel(int reason);
    // The end of a level with no penguin left in play: complete when somebody got home.
    int p_NoPenguinLeft();
    // The records in the rescued state, in play or not.
    int p_CountRescued();

    int m_rank = 0;

    int m_levelOver = 0;
    // Why the level ended (ending:: in game/defs.h).
    int m_endReason = 0;
    // The end banner's age in updates.
    int m_endTimer = 0;
    int m_score = 0;
    // Penguins found home at the end of the last level.
    int m_rescued = 0;

    // --- Asset loading (game/assets.cpp) ---
    // Loading is finished at this step.
    static constexpr int kLastLoadStep = 17;

    int p_LoadImg(int slot, const String& stem, int frameWidth, int frameHeight, int frameCount, int flags);
    int p_LoadFont(int slot, const String& stem, int advance, int lineHeight);
    int p_Reload();
    int p_Loader();
    int p_WaitStart(int mode);
    int p_BankLoad();
    // Sets the detail level and the image scale from the window size.
    int p_SetDetailLevel();
    // The stem with the suffix of the detail level, and ".png".
    String p_ImageFile(const String& stem);

    Array<Ref<c_Image>> m_images{image::kSlots};
    Array<int> m_imgInfo{3 * image::kSlots};
    int m_curFont = 0;
    int m_hdLevel = 1;
    float m_imgScale = 1;
    int m_loadStep = 0;
    int m_jinglePlayed = 0;
    int m_spinAngle = 0;
    int m_spinRadius = 0;

    // --- Draw queue and drawing helpers (game/draw_queue.cpp, game/text.cpp, game/render.cpp) ---
    int p_DrawImg(int slot, float x, float y, float frame = 0);
    int p_Rect(float x, float y, float width, float height);
    int p_Oval(float x, float y, float xRadius, float yRadius);
    int p_Line(float x1, float y1, float x2, float y2);
    int p_Text(float x, float y, const String& text, float alignX = 0, float alignY = 0, int fontOffset = 0);
    // The same for a text put together in place (game/text_line.h), which allocates nothing.
    int p_Text(float x, float y, std::u16string_view text, float alignX = 0, float alignY = 0, int fontOffset = 0);
    int p_SetCol(float r, float g, float b, float a = kNoArg);
    int p_Ink(int colour, float brightness = 1);
    int p_Alpha(float a);
    int p_SetRot(float angle);
    int p_SetSize(float sx, float sy = kNoArg);
    int p_ResetDraw();
    int p_CLS2D(float r = kNoArg, float g = kNoArg, float b = kNoArg, float a = 1);
    int p_DoBG(int r = draw::kBackgroundDefault, int g = draw::kBackgroundDefault, int b = draw::kBackgroundDefault,
               float a = draw::kBackgroundDefault);
    String p_rstr(int value, int digits, const String& pad);
    // Fits the virtual screen to a window of that size; p_OnRender does it every frame.
    int p_FitScreen(int width, int height);

    Array<float> m_drawQueue{draw::kQueueFloats};
    int m_drawCount = 0;
    // Set by tools that need only the rules (the solver): the draw queue stays empty and the
    // snow, particles and texts, which only draw, are skipped.
    int m_drawOff = 0;
    float m_drawSizeX = 0, m_drawSizeY = 0;
    float m_drawRot = 0;
    float m_drawR = 0, m_drawG = 0, m_drawB = 0;
    float m_drawAlpha = 0;
    int m_drawBlend = 0;
    float m_bgR = 0, m_bgG = 0, m_bgB = 0;
    float m_bgAlpha = 0;
    float m_bgTargetR = 0, m_bgTargetG = 0, m_bgTargetB = 0;
    float m_bgCurR = 0, m_bgCurG = 0, m_bgCurB = 0;
    int m_lastDevW = 0, m_lastDevH = 0;
    int m_renderLast = 0;
    int m_renderFpsRaw = 0;
    int m_renderFps = 0;
    float m_scaleX = 0, m_scaleY = 0;
    int m_fitMode = 0;
    int m_landscape = 0;

    // --- Sound effects and music (game/sound.cpp) ---
    int p_LoadSFX(int n);
    int p_PlaySFX(int n, float rate, float volume, float pan);
    int p_PlaySFX(int n, float volume);
    // "-1" restarts the last tune started.
    int p_PlayTune(String name, int flags);
    int p_StopTune();

    Array<Ref<c_Sound>> m_sfx{sfx::kSlots};
    // Channel table; p_OnCreate sets entry i to i.
    Array<int> m_chan{33};
    int m_chanIdx = 0;
    int m_musicOn = 0;
    String m_tune;

    // --- Saved progress, badges and highscores (game/saved_progress.cpp, game/badges.cpp) ---
    // Saves the progress; a save that fails leaves its notice for the title, one that succeeds clears it.
    int p_Save();
    int p_Load();
    // The saved-data string of the current arrays, and the restore from one.
    String p_SaveString();
    int p_LoadString(const String& text);
    String p_BadgeID(int id);
    String p_BadgeName(int id);
    String p_BadgeDetail(int id);
    int p_ShowBadges();

    Array<int> m_options{option::kCount};
    // Badge flags, 0 or 1.
    Array<int> m_badges{256};
    // Per level, its top ten and its record (progress:: in game/defs.h).
    Array<int> m_progress{750};
    // Badge pop-up list: the badge id and the age in updates of each slot (0: free).
    Array<int> m_badgeShow{15};
    Array<int> m_badgeTime{15};
    // The line the title shows while saving fails: why the last save failed; empty after a good one.
    String m_saveNotice;

    // --- Online check-in (game/check_in.cpp) ---
    // Sends the start-up check-in to CheckInURL; p_OnCreate calls it when J_On_Allow is 1.
    int p_CheckIn();
    int p_GetURL(String url, String query);
    void p_OnHttpRequestComplete(c_HttpRequest* request) override;

    String m_reply{"N/A"};
    Ref<c_HttpRequest> m_request;
    int m_replied = 0;
};

// The program's start, which main.cpp hands to the host: voInit sets every global of the
// framework and the game, voMain creates the application.
void voInit();
void voMain();

// The keyboard code of the replay's key i (c_InputState::m_keys), or -1 past the last.
int vo_game_ReplayKeyCode(int index);
// Where the replay of a level is kept: "./floeward-replays/level-NN.script", beside the state.
String vo_game_ReplayLocation(int level);
