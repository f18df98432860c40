// Where the start-up check-in goes: the check-in server's address. A variable rather than a
// constant, so that the game can be pointed at another server before it starts.
#pragma once

#include "framework/app/string.h"

extern String CheckInURL;
