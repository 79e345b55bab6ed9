// The framework's globals join the state put back around each test.

#include "framework/shell/game.h"
#include "framework/util/error.h"
#include "tests/support/state_reset.h"
#include "tests/support/temp_dir.h"
#include "tests/support/test_rerun.h"

namespace {

void ResetFramework() {
    // A re-run of a test has its globals as they start, and would get SDL's threads from the
    // reset's poll: a forker's re-run must have none.
    if (!testing_support::InRerun())
        ResetGlobals();
    // A fatal error's log goes to the test output folder, not to the working folder.
    ccErrorPath = testing_support::TestOutputDir();
}

const bool added = (testing_support::AddStateReset(ResetFramework), true);

} // namespace
