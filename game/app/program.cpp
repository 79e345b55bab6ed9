#include "game/app/program.h"

int RunProgram() {
    return 0;
}
