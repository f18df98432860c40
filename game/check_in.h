// Where the start-up check-in goes: a module global, so that a test can point it elsewhere.
#pragma once

#include "framework/app/string.h"

extern String CheckInURL;
