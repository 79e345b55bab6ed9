#pragma once
// Every test starts and ends with the same global state, whatever ran before it in the process:
// the test executables' main puts it back around each test, so that fixtures need not.

namespace testing_support {

// Set by a fixture that keeps one window open for all the tests of its suite; any other window
// still open when a test ends is closed.
extern bool windowKeptForSuite;

// Adds a reset of a layer above the platform (the framework's globals) to those run around each
// test, before the platform's own.
void AddStateReset(void (*reset)());

// The platform's replaceable parts back to what they are at start: the clock, delay, seed, end,
// notify, local time, file-change, JPEG output and flip hooks, the sockets' link timeouts, the
// event queue and polled input, the drawing state and its log.
void ResetPlatformState();

} // namespace testing_support
