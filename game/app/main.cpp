#include "game/app/program.h"
#include "platform/input.h"

int main() {
    // From the first moment, for the whole run: a request to end at a message box of start-up
    // closes the box. Here rather than in RunProgram, which tests also run in their own process.
    platform::CatchRequestsToEnd();
    return RunProgram();
}
