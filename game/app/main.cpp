#include "game/app/program.h"

int main() {
    return RunProgram();
}
