#include "framework/util/globals.h"

float Delta = 1.0f;
int ScreenWidth = 800;
int ScreenHeight = 600;
int DebugInt = 0;
int ShowErrors = 1;
