// The game's application object. Until the game's screens are built it opens the loop at 60
// updates a second and reports its lifecycle on the log.
#pragma once

#include "framework/app/app.h"

class c_MyApp : public c_App {
public:
    int p_OnCreate() override;
    int p_OnSuspend() override;
    int p_OnResume() override;
    int p_OnUpdate() override;
    int p_OnRender() override;
};
