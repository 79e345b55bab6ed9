// Every test process runs with the same environment however it is started (ctest, by hand, under a
// debugger): audio on OpenAL Soft's null output, no blocking message box, files for people to look
// at in the build's test-output folder. Values already set by the caller are kept.

#include <cstdlib>

namespace {

struct TestEnvironment {
    TestEnvironment() {
        setenv("ALSOFT_DRIVERS", "null", 0);
        setenv("SDL_AUDIODRIVER", "dummy", 0);
        setenv("PELORIN_HEADLESS", "1", 0);
        setenv("PELORIN_TEST_OUTPUT", PELORIN_TEST_OUTPUT_DIR, 0);
        setenv("PELORIN_SOURCE_DIR", PELORIN_SOURCE_ROOT, 0);
    }
};

const TestEnvironment environment;

} // namespace
