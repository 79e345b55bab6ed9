#pragma once
// Clock, process, messages, dates, random numbers and number parsing: the machine services that the
// framework reaches through this layer. Every service that a test must control (the clock, the
// message box, the end of the process, the local time) goes through one replaceable function.

#include <cstdint>
#include <ctime>
#include <functional>
#include <stdexcept>
#include <string>
#include <vector>

namespace platform {

// ---- Clock -------------------------------------------------------------------------------------

// Milliseconds since the clock was first read (a monotonic clock), as a signed 32-bit count that
// wraps. Compute differences with MilliSecsDiff or in 64 bits: a signed overflow is undefined.
int MilliSecs();
// Difference now - then of two MilliSecs values, correct across one wrap.
int MilliSecsDiff(int now, int then);
// Replaces the clock (tests step a fake one). An empty function restores the real clock.
void SetMilliSecsSource(std::function<int()> source);
// Waits ms milliseconds (does nothing for ms <= 0). Replaceable, so that a fake clock can advance.
void Delay(int ms);
void SetDelayHandler(std::function<void(int)> handler);

// ---- Messages and the end of the process -------------------------------------------------------

// The system message box, captioned with AppTitle(); the text is also echoed to standard error.
// Never blocks a run without a desktop: with no display (neither DISPLAY nor WAYLAND_DISPLAY), with
// the offscreen or dummy video driver, or with PELORIN_HEADLESS set (for runs under Xvfb that
// nobody watches), the text goes to standard error only. The box runs in a process of its own (the
// program pelorin-message-box beside this one; in this process where that is missing): a request
// to end (EVENT_APPTERMINATE, see CatchRequestsToEnd) closes it, process and all, and stays pending
// for the next poll; while one is pending no box is shown.
void Notify(const std::string& text, bool serious = false);
// Replaces the message box (tests record the text). An empty function restores the real one.
void SetNotifyHandler(std::function<void(const std::string&, bool)> handler);
// The text as the message box shows it: broken into lines of at most NOTIFY_LINE_CHARS characters
// (UTF-8 characters, not bytes; BreakIntoLines), joined by line feeds. The box is as wide as its
// longest line: a line wider than the screen would run off both its edges.
constexpr int NOTIFY_LINE_CHARS = 60;
std::string NotifyBoxText(const std::string& text);
// The text broken into lines that fit: at its line feeds (a carriage return before one is
// dropped), then, where a line does not fit, at the last place where the part before fits and
// text follows: at a space without a combining mark (that one space is dropped) or after a path
// separator ("/" or "\\") that closes a folder name. A word, or a run of spaces, that has no such
// place is broken where the line is full. Breaks fall between UTF-8 characters, never inside one
// nor before a combining mark, and no other character is lost. fits says whether a line fits; one
// character always stands on a line, and an empty line stands as it is.
std::vector<std::string> BreakIntoLines(const std::string& text,
                                        const std::function<bool(const std::string&)>& fits);

// The error object that the layer raises; the start-up handler is the one place that catches it.
class TRuntimeError : public std::runtime_error {
public:
    explicit TRuntimeError(const std::string& text) : std::runtime_error(text) {}
};
[[noreturn]] void RuntimeError(const std::string& text);

// Ends the process with the status: closes audio and the display first, then exits without running
// static destructors. Tests replace it with a handler that throws; the handler must not return.
[[noreturn]] void End(int status = 0);
// What a replacement end handler throws to leave a program that it runs in-process: start-up's
// handler, which catches everything else, lets it pass.
struct TProcessEnd {
    int status = 0;
};
void SetEndHandler(std::function<void(int)> handler);
// Functions run by End before the process goes (the audio and display layers register theirs).
void AtEnd(std::function<void()> fn);

// One line of text to standard output.
void Print(const std::string& text);
// One line of text to standard error.
void PrintError(const std::string& text);
// One diagnostic line to standard error, "subsystem: text": a problem the program works around
// (no sound device, a damaged file set aside), where a fatal error would say too much.
void Warn(const std::string& subsystem, const std::string& text);

// ---- Local date and time -----------------------------------------------------------------------

// The local date as "%d %b %Y" with English month names ("09 Dec 2026"), and the local time as
// "%H:%M:%S", whatever the locale.
std::string CurrentDate();
std::string CurrentTime();
// The local broken-down time used by both; replaceable for tests.
std::tm LocalTime();
void SetLocalTimeSource(std::function<std::tm()> source);

// ---- The program and its folders ---------------------------------------------------------------

// Full path of the running executable, and its folder with a trailing "/".
std::string AppFile();
std::string AppDir();
// The working directory, without a trailing slash.
std::string CurrentDir();
// The shared user-data folder: $XDG_DATA_HOME when set and absolute, else $HOME/.local/share, with
// the user database's home folder when HOME is unset or empty, else "". No trailing slash.
std::string SharedUserDataFolder();

// ---- Random numbers ----------------------------------------------------------------------------
// One global generator with a fixed algorithm (SplitMix64 seeding a xorshift128+ stream), so that
// a seeded run repeats on every machine. SeedRnd(seed) runs SplitMix64 from the seed's 32 bits
// (zero-extended) for the two state words; each step is xorshift128+ with shifts 23, 17, 26 and
// yields the sum of the two state words. Before any SeedRnd the seed is 0.

void SeedRnd(int seed);
int RndSeed();
// A seed that differs from run to run (the system's random device, else the wall clock's
// nanoseconds with the process id), for seeding the generator at start-up. Replaceable: tests
// give a fixed one so that their runs repeat. An empty function restores the real source.
int RunSeed();
void SetRunSeedSource(std::function<int()> source);
// 32 hexadecimal digits that tell one call (one run of the program that makes one) from every
// other, in this process or another, on this machine or another: 128 bits of the system's random
// device, else the wall clock's nanoseconds, the process id and a count of the calls.
std::string UniqueStamp();
// An integer from lo to hi inclusive; the bounds may come in either order. Reduction: the top 32
// bits of one step, times the number of values, shifted right by 32 (no rejection; the bias is
// below one in 2^32 / count).
int Rand(int lo, int hi);
// A double in [0, 1): the top 53 bits of one step times 2^-53.
double RndDouble();
// A double from lo up to (not including) hi; the bounds may come in either order.
double Rnd(double lo, double hi);

// ---- Numbers from text -------------------------------------------------------------------------

// Leading blanks (space, tab) skipped, an optional sign, then decimal digits, or hexadecimal
// digits after "$", or binary digits after "%"; stops at the first other character; 0 when there
// is no digit; wraps as a 32-bit two's-complement number on overflow.
int StrToInt(const std::string& text);
// Leading blanks skipped, then the longest prefix that reads as a decimal floating-point number;
// 0.0 when there is none.
double StrToDouble(const std::string& text);
// Float to int by truncation toward zero, defined for every input: NaN gives 0, values beyond the
// int range give the nearest limit.
int TruncToInt(double value);

} // namespace platform
