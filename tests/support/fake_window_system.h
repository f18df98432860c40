// The scripted window system under the name the tests know it by.
#pragma once

#include "framework/app/scripted_window_system.h"

using FakeWindowSystem = VoScriptedWindowSystem;
