// The game's application object: all game state, the screen driver, and the methods of every
// part of the game (each part's methods live in a source file of its own).
#pragma once

#include "framework/app/app.h"
#include "framework/graphics/image.h"
#include "game/globals.h"
#include "framework/audio/sound.h"
#include "framework/net/http_request.h"

class c_MyApp : public c_App, public c_IOnHttpRequestComplete {
public:
    int p_OnCreate() override;
    int p_OnSuspend() override;
    int p_OnResume() override;
    int p_OnUpdate() override;
    int p_OnRender() override;

    // --- Screen driver (game/my_app.cpp) ---
    // Marks an argument that was not given, and a touch point that is up.
    static constexpr int kNoArg = -3717;

    int p_FullscreenFlip();
    // Back from a finished level to the title (game/return_to_title.cpp).
    int p_LoadMenu();
    // Parts of an update: the pointer in virtual pixels, the credits panel's slide, the iCade's
    // characters into the pad.
    int p_ReadPointer();
    int p_SlideCredits();
    int p_ReadICade();
    // Suspend and resume: the pause a level is left in, and the input let go of.
    int p_PauseForFocus();
    int p_ReleaseInput();

    int m_mode = 0;
    int m_paused = 0;
    int m_pauseDir = 0;
    int m_pauseY = 0;
    int m_fullScreen = 0;
    int m_hideHud = 0;
    int m_inputMode = 0;
    int m_levelSel = 0;
    float m_wheelPos = 0;
    Array<int> m_pad{20};
    int m_lastChar = 0;
    int m_updLast = 0;
    int m_updFps = 0;
    int m_updFpsAvg = 0;
    int m_mouseX = 0;
    int m_mouseY = 0;
    int m_pointerDown = 0;
    Array<int> m_touchDown{10};
    Array<int> m_touchX{10};
    Array<int> m_touchY{10};
    int m_pointerUsed = 0;
    int m_keyUsed = 0;
    int m_optionsOpen = 0;
    int m_creditsOpen = 0;
    int m_optionsSlide = 0;
    float m_creditsX = 0;
    int m_rescued = 0;
    // The window size when the game started.
    int m_startDevW = 0;
    int m_startDevH = 0;
    // The title logo's drop counter; start-up sets it.
    int m_titleDrop = 0;

    // Level state the driver reads when a level ends; the level itself fills it in.
    int m_level = 0;
    int m_levelOver = 0;
    int m_endReason = 0;
    int m_score = 0;
    // 50 penguin records of 20 floats, field 9 the state (8 rescued).
    Array<float> m_pen{5100};
    // The play state; entries 50 to 57 are the skill counters.
    Array<float> m_player{512};

    // --- Draw queue and drawing helpers (game/draw_queue.cpp) ---
    static constexpr int kDrawQueueFloats = 37500;
    static constexpr int kRecordFloats = 15;
    // The last start that keeps a whole record inside the queue.
    static constexpr int kLastRecordStart = kDrawQueueFloats - 16;
    static constexpr float kRectRecord = -3717;
    static constexpr float kOvalRecord = -3716;
    static constexpr float kLineRecord = -3715;

    int p_DrawImg(int slot, float x, float y, float frame = 0);
    int p_Rect(float x, float y, float width, float height);
    int p_Oval(float x, float y, float xRadius, float yRadius);
    int p_Line(float x1, float y1, float x2, float y2);
    // The text routine (game/text.cpp).
    int p_Text(float x, float y, const String& text, float alignX = 0, float alignY = 0, int fontOffset = 0);
    int p_SetCol(float r, float g, float b, float a = kNoArg);
    int p_Ink(int colour, float brightness = 1);
    int p_Alpha(float a);
    int p_SetRot(float angle);
    int p_SetSize(float sx, float sy = kNoArg);
    int p_ResetDraw();
    int p_CLS2D(float r = kNoArg, float g = kNoArg, float b = kNoArg, float a = 1);
    int p_DoBG(int r = -123, int g = -123, int b = -123, float a = -123);
    String p_rstr(int value, int digits, const String& pad);
    // Fits the virtual screen to a window of that size; p_OnRender does it every frame
    // (both in game/render.cpp).
    int p_FitScreen(int width, int height);

    Array<float> m_drawQueue{kDrawQueueFloats};
    int m_drawCount = 0;
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

    // --- Asset loading (game/assets.cpp) ---
    static constexpr int kImageSlots = 100;
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

    Array<Ref<c_Image>> m_images{kImageSlots};
    Array<int> m_imgInfo{3 * kImageSlots};
    int m_curFont = 0;
    int m_hdLevel = 1;
    float m_imgScale = 1;
    int m_loadStep = 0;
    int m_jinglePlayed = 0;
    int m_spinAngle = 0;
    int m_spinRadius = 0;

    // --- Particles, snow and stars (game/particles.cpp) ---
    // A whole number from a to b for whole a <= b, from the shared generator.
    int p_Rand(float a, float b);
    // An angle or speed of -3717 means none was given: a random one is used.
    int p_ThrowParticle(float x, float y, int kind, int colour, float angle = -3717, float speed = -3717);
    int p_FreeParticle();
    int p_ResetParticles(int n);
    int p_DoParticles(float scale);
    int p_ResetStars(int n);
    int p_DoSnow(float dx, float dy);

    // Particle records of 10 floats: kind, x, y, vx, vy, rotation, spin, life, colour, frame.
    Array<float> m_part{5100};
    int m_partMax = 250;
    // Snowflake records of 10 floats: frame, x, y, depth, unused, rotation, spin.
    Array<float> m_star{5100};
    int m_starMax = 100;
    // The level's drawing offsets, subtracted from particle positions (set by the level layout).
    float m_camX = 0;
    float m_camY = 0;

    // --- Sound effects and music (game/sound.cpp) ---
    int p_LoadSFX(int n);
    int p_PlaySFX(int n, float rate, float volume, float pan);
    int p_PlaySFX(int n, float volume);
    // "-1" restarts the last tune started.
    int p_PlayTune(String name, int flags);
    int p_StopTune();

    Array<Ref<c_Sound>> m_sfx{100};
    // Channel table; p_OnCreate sets entry i to i.
    Array<int> m_chan{33};
    int m_chanIdx = 0;
    int m_musicOn = 0;
    String m_tune;

    // --- Saved progress, badges and highscores (game/saved_progress.cpp, game/badges.cpp) ---
    int p_Save();
    int p_Load();
    // The saved-data string of the current arrays, and the restore from one.
    String p_SaveString();
    int p_LoadString(const String& text);
    String p_BadgeID(int id);
    String p_BadgeName(int id);
    String p_BadgeDetail(int id);
    int p_ShowBadges();

    Array<int> m_options{25};
    // Badge flags, 0 or 1.
    Array<int> m_badges{256};
    // Per level L (b = 10 * (L - 1)): top ten at b..b+9, record at 150+b..150+b+9.
    Array<int> m_progress{750};
    // Badge pop-up list: the badge id and the age in updates of each slot (0: free).
    Array<int> m_badgeShow{15};
    Array<int> m_badgeTime{15};

    // --- Online check-in (game/check_in.cpp) ---
    // Sends the start-up check-in to CheckInURL; p_OnCreate calls it when J_On_Allow is 1.
    int p_CheckIn();
    int p_GetURL(String url, String query);
    void p_OnHttpRequestComplete(c_HttpRequest* request) override;

    String m_reply{"N/A"};
    Ref<c_HttpRequest> m_request;
    int m_replied = 0;
};
