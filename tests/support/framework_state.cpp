// The framework's globals join the state put back around each test.

#include "framework/shell/game.h"
#include "framework/util/error.h"
#include "tests/support/state_reset.h"
#include "tests/support/temp_dir.h"

namespace {

void ResetFramework() {
    ResetGlobals();
    // A fatal error's log goes to the test output folder, not to the working folder.
    ccErrorPath = testing_support::TestOutputDir();
}

const bool added = (testing_support::AddStateReset(ResetFramework), true);

} // namespace
