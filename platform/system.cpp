#include "platform/system.h"

#include "platform/child_program_internal.h"
#include "platform/events_internal.h"
#include "platform/graphics.h"
#include "platform/utf8_internal.h"

#include <SDL.h>
#include <algorithm>
#include <atomic>
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <memory>
#include <mutex>
#include <pthread.h>
#include <pwd.h>
#include <strings.h>
#include <sys/prctl.h>
#include <unistd.h>
#include <vector>

namespace platform {

namespace {

std::mutex systemMutex;
std::function<void(const std::string&, bool)> notifyHandler;
std::function<void(int)> endHandler;
std::vector<std::function<void()>> endFunctions;
std::function<std::tm()> localTimeSource;

bool EnvSet(const char* name) {
    const char* value = std::getenv(name);
    return value && *value;
}

bool HeadlessDriver(const char* name) {
    return name && (strcasecmp(name, "offscreen") == 0 || strcasecmp(name, "dummy") == 0);
}

// True when a message box could not be seen or would block a run that nobody watches.
bool NoDesktop() {
    if (EnvSet("PELORIN_HEADLESS"))
        return true;
    if (!EnvSet("DISPLAY") && !EnvSet("WAYLAND_DISPLAY"))
        return true;
    if (SDL_WasInit(SDL_INIT_VIDEO))
        return HeadlessDriver(SDL_GetCurrentVideoDriver());
    // SDL_VIDEODRIVER may list several drivers; SDL tries the first one first.
    const char* wanted = std::getenv("SDL_VIDEODRIVER");
    if (!wanted)
        return false;
    std::string first(wanted);
    first.resize(std::min(first.size(), first.find(',')));
    return HeadlessDriver(first.c_str());
}

// The program that shows the message box (platform/message_box), beside the running program.
constexpr const char* MESSAGE_BOX_PROGRAM = "pelorin-message-box";
// How often the wait for the box looks for a request to end.
constexpr int BOX_POLL_MS = 10;

// Shows the box in a process of its own and waits for it. A request to end meanwhile ends it (SDL
// shows the box in a fork of that process, which ends with it) and returns, the request left
// pending for the next poll. False when no box was shown that way: the program is missing, cannot
// be started, could not show one, or ended without an answer (a crash). A box shown in this
// process could not be closed so, and a fork of this process without a new program would share
// its SDL and X state. In a process group of its own: a terminal's Ctrl-C is the game's to answer.
bool ShowBoxInItsOwnProcess(const std::string& title, const std::string& text, bool serious) {
    detail::TChildProgram box(MESSAGE_BOX_PROGRAM, {title, serious ? "1" : "0", text}, true);
    if (!box.Started())
        return false;
    while (!box.WaitForEnd(BOX_POLL_MS)) {
        if (detail::EndRequested()) {
            box.Kill();
            return true;
        }
    }
    return box.Answer() == "1";
}

// While the box is shown in this process, SDL shows it in a fork of this process: that fork ends
// with the game, however the game ends, instead of staying on the desktop.
std::atomic<bool> boxInThisProcess{false};
pid_t boxParent = 0;

void EndWithTheGame() {
    if (!boxInThisProcess.load())
        return;
    prctl(PR_SET_PDEATHSIG, SIGKILL);
    if (getppid() != boxParent)
        _exit(1);
}

// The box in this process, which SDL waits for without end: a request to end there ends the game
// at once, as it did before the game caught it. Nothing is lost: what must be written (the restored
// settings before their notice, the fatal log before its box) is written before a box is shown.
void ShowBoxInThisProcess(const std::string& title, const std::string& text, bool serious) {
    static std::once_flag watch;
    std::call_once(watch, [] { pthread_atfork(nullptr, nullptr, EndWithTheGame); });
    detail::TRequestsEndAtOnce atOnce;
    if (detail::EndRequested())
        return; // asked just before its default action was back
    boxParent = getpid();
    boxInThisProcess = true;
    const Uint32 kind = serious ? SDL_MESSAGEBOX_ERROR : SDL_MESSAGEBOX_INFORMATION;
    SDL_ShowSimpleMessageBox(kind, title.c_str(), text.c_str(), nullptr);
    boxInThisProcess = false;
}

} // namespace

// ---- Messages and the end of the process -------------------------------------------------------

void Notify(const std::string& text, bool serious) {
    std::function<void(const std::string&, bool)> handler;
    {
        std::lock_guard<std::mutex> lock(systemMutex);
        handler = notifyHandler;
    }
    if (handler) {
        handler(text, serious);
        return;
    }
    PrintError(text);
    // A box shown while the program is on its way to its end would be closed at once.
    if (NoDesktop() || detail::EndRequested())
        return;
    const std::string title = AppTitle();
    const std::string shown = NotifyBoxText(text);
    if (!ShowBoxInItsOwnProcess(title, shown, serious))
        ShowBoxInThisProcess(title, shown, serious);
}

namespace {

// Marks drawn on the character before them (accents of a decomposed letter, variation selectors):
// a line never starts with one.
bool IsCombiningMark(char32_t code) {
    return (code >= 0x300 && code <= 0x36F) || (code >= 0x1AB0 && code <= 0x1AFF) ||
           (code >= 0x1DC0 && code <= 0x1DFF) || (code >= 0x20D0 && code <= 0x20FF) ||
           (code >= 0xFE00 && code <= 0xFE0F) || (code >= 0xFE20 && code <= 0xFE2F);
}

// Where the character at `at` ends: its UTF-8 sequence and the combining marks after it.
size_t CharacterEnd(const std::string& text, size_t at) {
    if (at >= text.size())
        return text.size();
    char32_t code = 0;
    size_t end = detail::Utf8SequenceEnd(text, at, code);
    while (end < text.size()) {
        const size_t next = detail::Utf8SequenceEnd(text, end, code);
        if (!IsCombiningMark(code))
            break;
        end = next;
    }
    return end;
}

size_t CharacterCount(const std::string& text) {
    size_t count = 0;
    for (size_t at = 0; at < text.size(); at = CharacterEnd(text, at))
        ++count;
    return count;
}

} // namespace

std::string NotifyBoxText(const std::string& text) {
    std::string shown;
    for (const std::string& line : BreakIntoLines(text, [](const std::string& candidate) {
             return CharacterCount(candidate) <= static_cast<size_t>(NOTIFY_LINE_CHARS);
         })) {
        if (!shown.empty())
            shown += '\n';
        shown += line;
    }
    return shown;
}

namespace {

bool IsPathSeparator(char c) {
    return c == '/' || c == '\\';
}

// One line of the text (no line feed in it), broken where it does not fit. An empty line stands
// as it is: there is nothing to break, whatever fits says of it.
void BreakLine(std::string rest, const std::function<bool(const std::string&)>& fits,
               std::vector<std::string>& lines) {
    while (!rest.empty() && !fits(rest)) {
        // The places between characters, and the longest head that fits: one character at least.
        std::vector<bool> between(rest.size() + 1, false);
        for (size_t at = 0; at < rest.size();) {
            at = CharacterEnd(rest, at);
            between[at] = true;
        }
        size_t full = CharacterEnd(rest, 0);
        if (full == rest.size())
            break; // one character alone
        for (size_t next = full + 1; next < rest.size(); ++next) {
            if (!between[next])
                continue;
            if (!fits(rest.substr(0, next)))
                break;
            full = next;
        }
        // The last break within it: at a space, which goes, or after a separator that closes a
        // folder name (a path's leading one stays with it). Text stands on both sides of such a
        // break. A space that carries a mark is a character like any other, never a break: the
        // mark would go on without it. Where no such break fits (a word, or a run of spaces,
        // longer than the line) the line is broken where it is full, so that a run of spaces
        // longer than a line gives a line of spaces alone.
        const size_t firstShown = rest.find_first_not_of(' ');
        const size_t lastShown = rest.find_last_not_of(' ');
        size_t cut = 0;
        bool atSpace = false;
        for (size_t i = full; i > firstShown && cut == 0; --i) {
            if (!between[i] || i > lastShown)
                continue;
            if (rest[i] == ' ' && CharacterEnd(rest, i) == i + 1) {
                cut = i;
                atSpace = true;
            } else if (i > 1 && IsPathSeparator(rest[i - 1]) && rest[i - 2] != ' ') {
                cut = i;
            }
        }
        if (cut == 0)
            cut = full;
        lines.push_back(rest.substr(0, cut));
        rest.erase(0, cut + (atSpace ? 1 : 0));
    }
    lines.push_back(std::move(rest));
}

} // namespace

std::vector<std::string> BreakIntoLines(const std::string& text,
                                        const std::function<bool(const std::string&)>& fits) {
    std::vector<std::string> lines;
    size_t start = 0;
    for (;;) {
        const size_t lf = text.find('\n', start);
        std::string line = text.substr(start, lf == std::string::npos ? lf : lf - start);
        if (lf != std::string::npos && !line.empty() && line.back() == '\r')
            line.pop_back();
        BreakLine(std::move(line), fits, lines);
        if (lf == std::string::npos)
            return lines;
        start = lf + 1;
    }
}

void SetNotifyHandler(std::function<void(const std::string&, bool)> handler) {
    std::lock_guard<std::mutex> lock(systemMutex);
    notifyHandler = std::move(handler);
}

void RuntimeError(const std::string& text) {
    throw TRuntimeError(text);
}

void End(int status) {
    std::function<void(int)> handler;
    {
        std::lock_guard<std::mutex> lock(systemMutex);
        handler = endHandler;
    }
    if (handler) {
        handler(status);
        PrintError("platform::End: the end handler returned; aborting");
        std::abort();
    }
    std::fflush(nullptr);
    // Last registered, first run: the display goes before the layers it was built on. Each one is
    // taken off the list first, so an End called from inside one does not run it twice.
    for (;;) {
        std::function<void()> fn;
        {
            std::lock_guard<std::mutex> lock(systemMutex);
            if (endFunctions.empty())
                break;
            fn = std::move(endFunctions.back());
            endFunctions.pop_back();
        }
        try {
            if (fn)
                fn();
        } catch (...) {
            // The process is going anyway; one failing shutdown step must not stop the others.
        }
    }
    std::fflush(nullptr);
    _exit(status);
}

void SetEndHandler(std::function<void(int)> handler) {
    std::lock_guard<std::mutex> lock(systemMutex);
    endHandler = std::move(handler);
}

void AtEnd(std::function<void()> fn) {
    std::lock_guard<std::mutex> lock(systemMutex);
    endFunctions.push_back(std::move(fn));
}

void Print(const std::string& text) {
    std::string line = text + "\n";
    std::fwrite(line.data(), 1, line.size(), stdout);
    std::fflush(stdout);
}

void PrintError(const std::string& text) {
    std::string line = text + "\n";
    std::fwrite(line.data(), 1, line.size(), stderr);
    std::fflush(stderr);
}

void Warn(const std::string& subsystem, const std::string& text) {
    PrintError(subsystem + ": " + text);
}

// ---- Local date and time -----------------------------------------------------------------------

std::tm LocalTime() {
    std::function<std::tm()> source;
    {
        std::lock_guard<std::mutex> lock(systemMutex);
        source = localTimeSource;
    }
    if (source)
        return source();
    std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    return local;
}

void SetLocalTimeSource(std::function<std::tm()> source) {
    std::lock_guard<std::mutex> lock(systemMutex);
    localTimeSource = std::move(source);
}

std::string CurrentDate() {
    // A table rather than strftime: the names stay English whatever the locale.
    static const char* const months[12] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                           "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
    const std::tm t = LocalTime();
    const int month = t.tm_mon >= 0 && t.tm_mon < 12 ? t.tm_mon : 0;
    char text[64];
    std::snprintf(text, sizeof text, "%02d %s %04d", t.tm_mday, months[month],
                  static_cast<int>(static_cast<int64_t>(t.tm_year) + 1900));
    return text;
}

std::string CurrentTime() {
    const std::tm t = LocalTime();
    char text[64];
    std::snprintf(text, sizeof text, "%02d:%02d:%02d", t.tm_hour, t.tm_min, t.tm_sec);
    return text;
}

// ---- The program and its folders ---------------------------------------------------------------

std::string AppFile() {
    static const std::string file = [] {
        char* path = realpath("/proc/self/exe", nullptr);
        std::string result = path ? path : "";
        std::free(path);
        return result;
    }();
    return file;
}

std::string AppDir() {
    const std::string file = AppFile();
    const size_t slash = file.rfind('/');
    return slash == std::string::npos ? std::string() : file.substr(0, slash + 1);
}

std::string CurrentDir() {
    std::vector<char> buffer(4096);
    while (!getcwd(buffer.data(), buffer.size())) {
        if (errno != ERANGE)
            return std::string();
        buffer.resize(buffer.size() * 2);
    }
    std::string dir = buffer.data();
    while (dir.size() > 1 && dir.back() == '/')
        dir.pop_back();
    return dir;
}

namespace {

// The home folder: $HOME, else the user database's entry for this user (a start without HOME, as
// from some service managers); "" when neither has one.
std::string HomeFolder() {
    if (const char* home = std::getenv("HOME"); home && *home)
        return home;
    std::vector<char> buffer(4096);
    passwd entry{};
    passwd* found = nullptr;
    int failed;
    while ((failed = getpwuid_r(getuid(), &entry, buffer.data(), buffer.size(), &found)) ==
               ERANGE &&
           buffer.size() < (1u << 20))
        buffer.resize(buffer.size() * 2);
    return failed == 0 && found && found->pw_dir ? found->pw_dir : "";
}

} // namespace

std::string SharedUserDataFolder() {
    std::string folder;
    const char* xdg = std::getenv("XDG_DATA_HOME");
    const std::string home = HomeFolder();
    if (xdg && xdg[0] == '/')
        folder = xdg;
    else if (!home.empty())
        folder = home + (home.back() == '/' ? "" : "/") + ".local/share";
    while (folder.size() > 1 && folder.back() == '/')
        folder.pop_back();
    return folder;
}

} // namespace platform
