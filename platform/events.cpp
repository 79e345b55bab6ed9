// The event queue: SDL's events turned into TEvents on the main thread, the hooks that see each
// one, and input injected for tests along the same path.
#include "platform/display_internal.h"
#include "platform/events_internal.h"
#include "platform/input.h"
#include "platform/utf8_internal.h"

#include <SDL.h>

#include <algorithm>
#include <atomic>
#include <csignal>
#include <cstring>
#include <deque>
#include <string_view>
#include <vector>

namespace platform {

namespace {

// A loop that never takes events from the queue must not grow it without end: past the limit the
// oldest event goes (hooks, and so the polled input, have seen it already).
constexpr size_t QUEUE_LIMIT = 4096;

struct Hook {
    int handle;
    int priority;
    EventHook fn;
    bool active = true;
};

std::deque<TEvent> queue;
TEvent current;
std::vector<std::shared_ptr<Hook>> hooks; // highest priority first, then in order of adding
int nextHandle = 1;
bool polling = false;
int mouseX = 0, mouseY = 0;
// An injected move still in SDL's queue: injected buttons and wheel steps happen where it goes.
bool movePending = false;
int pendingX = 0, pendingY = 0;
uint32_t injectedCharEvent = 0; // SDL user event type of an injected control character

// A request to end (SIGINT, SIGTERM, SIGHUP) not yet turned into an event. Set by the signal
// handler, in whatever thread it runs: lock-free, so safe there.
std::atomic<int> endRequested{0};
static_assert(std::atomic<int>::is_always_lock_free);

constexpr int REQUESTS_TO_END[] = {SIGINT, SIGTERM, SIGHUP};

// The program caught the requests for its whole run: SDL's start and end leave them alone.
bool caughtForTheRun = false;

void NoteRequestToEnd(int) {
    endRequested.store(1);
}

// Whether the signal's action is the plain handler given (SIG_DFL for the default action); the
// action is left in action.
bool HandledBy(int signal, void (*handler)(int), struct sigaction& action) {
    return sigaction(signal, nullptr, &action) == 0 && (action.sa_flags & SA_SIGINFO) == 0 &&
           action.sa_handler == handler;
}

// Each request to end that still has its default action becomes the flag; one ignored from the
// start (a hang-up under nohup) stays ignored. Standard error may be a pipe whose reader went with
// the terminal ("| tee"): a line written on the way to the orderly end then fails instead of
// ending the program.
void CatchAll() {
    if (SDL_GetHintBoolean(SDL_HINT_NO_SIGNAL_HANDLERS, SDL_FALSE))
        return;
    struct sigaction action;
    if (HandledBy(SIGPIPE, SIG_DFL, action)) {
        action.sa_handler = SIG_IGN;
        sigaction(SIGPIPE, &action, nullptr);
    }
    for (const int signal : REQUESTS_TO_END) {
        if (!HandledBy(signal, SIG_DFL, action))
            continue;
        action.sa_handler = NoteRequestToEnd;
        sigemptyset(&action.sa_mask);
        action.sa_flags = SA_RESTART;
        sigaction(signal, &action, nullptr);
    }
}

// A request to end that is caught gets its default action back; true when it was caught.
bool Release(int signal) {
    struct sigaction action;
    if (!HandledBy(signal, NoteRequestToEnd, action))
        return false;
    action.sa_handler = SIG_DFL;
    return sigaction(signal, &action, nullptr) == 0;
}

void Emit(int id, int data = 0, int x = 0, int y = 0) {
    TEvent e;
    e.id = id;
    e.data = data;
    e.x = x;
    e.y = y;
    EmitEvent(e);
}

bool IsControlChar(int c) {
    return c == 8 || c == 9 || c == 13 || c == 27;
}

// Typed text: each code point of the UTF-8 text that fits in a byte becomes a character event.
void EmitText(const char* text) {
    const std::string_view bytes(text);
    for (size_t at = 0; at < bytes.size();) {
        char32_t code = 0;
        at = detail::Utf8SequenceEnd(bytes, at, code);
        if (code >= 32 && code <= 255)
            Emit(EVENT_KEYCHAR, static_cast<int>(code));
    }
}

int ButtonFromSdl(int button) {
    // SDL numbers the middle button 2 and the right one 3.
    return button == SDL_BUTTON_MIDDLE ? 3 : button == SDL_BUTTON_RIGHT ? 2 : button;
}

int SdlButton(int button) {
    return button == 3 ? SDL_BUTTON_MIDDLE : button == 2 ? SDL_BUTTON_RIGHT : button;
}

void Translate(const SDL_Event& e) {
    switch (e.type) {
    case SDL_QUIT:
        Emit(EVENT_APPTERMINATE);
        break;
    case SDL_WINDOWEVENT:
        switch (e.window.event) {
        case SDL_WINDOWEVENT_CLOSE:
            Emit(EVENT_APPTERMINATE);
            break;
        case SDL_WINDOWEVENT_FOCUS_LOST:
            Emit(EVENT_APPSUSPEND);
            break;
        case SDL_WINDOWEVENT_FOCUS_GAINED:
            Emit(EVENT_APPRESUME);
            break;
        case SDL_WINDOWEVENT_ENTER:
            Emit(EVENT_MOUSEENTER, 0, mouseX, mouseY);
            break;
        case SDL_WINDOWEVENT_LEAVE:
            Emit(EVENT_MOUSELEAVE, 0, mouseX, mouseY);
            break;
        default:
            break;
        }
        break;
    case SDL_KEYDOWN:
    case SDL_KEYUP: {
        int key = KeyCodeFromSDL(e.key.keysym.sym);
        if (!key)
            key = detail::KeyCodeFromScancode(e.key.keysym.scancode);
        if (!key)
            break;
        if (e.type == SDL_KEYUP) {
            Emit(EVENT_KEYUP, key);
            break;
        }
        Emit(e.key.repeat ? EVENT_KEYREPEAT : EVENT_KEYDOWN, key);
        // Text input never carries these: they come from their keys, repeats included.
        if (IsControlChar(key))
            Emit(EVENT_KEYCHAR, key);
        break;
    }
    case SDL_TEXTINPUT:
        EmitText(e.text.text);
        break;
    case SDL_MOUSEMOTION:
        movePending = false;
        detail::WindowToLogical(e.motion.x, e.motion.y, mouseX, mouseY);
        Emit(EVENT_MOUSEMOVE, 0, mouseX, mouseY);
        break;
    case SDL_MOUSEBUTTONDOWN:
    case SDL_MOUSEBUTTONUP:
        detail::WindowToLogical(e.button.x, e.button.y, mouseX, mouseY);
        Emit(e.type == SDL_MOUSEBUTTONDOWN ? EVENT_MOUSEDOWN : EVENT_MOUSEUP,
             ButtonFromSdl(e.button.button), mouseX, mouseY);
        break;
    case SDL_MOUSEWHEEL: {
        const int steps = e.wheel.direction == SDL_MOUSEWHEEL_FLIPPED ? -e.wheel.y : e.wheel.y;
        if (steps != 0)
            Emit(EVENT_MOUSEWHEEL, steps, mouseX, mouseY);
        break;
    }
    default:
        if (injectedCharEvent != 0 && e.type == injectedCharEvent)
            Emit(EVENT_KEYCHAR, e.user.code);
        break;
    }
}

// Injected input takes SDL's queue while a display is open, so that it meets the real input in
// order and is mapped as real input is; without a display it is translated at once.
void Inject(SDL_Event& e) {
    if (detail::DisplayReady()) {
        e.common.timestamp = SDL_GetTicks();
        if (SDL_PushEvent(&e) == 1)
            return;
    }
    Translate(e);
}

class PollGuard {
public:
    PollGuard() { polling = true; }
    ~PollGuard() { polling = false; }
    PollGuard(const PollGuard&) = delete;
    PollGuard& operator=(const PollGuard&) = delete;
};

} // namespace

namespace detail {

void LastMousePosition(int& x, int& y) {
    x = mouseX;
    y = mouseY;
}

void CatchRequestsWhileSdlRuns() {
    CatchAll();
}

void ReleaseRequestsAfterSdl() {
    if (caughtForTheRun)
        return;
    for (const int signal : REQUESTS_TO_END)
        Release(signal);
}

bool EndRequested() {
    return endRequested.load() != 0;
}

TRequestsEndAtOnce::TRequestsEndAtOnce() {
    static_assert(std::size(REQUESTS_TO_END) == std::size(decltype(released_){}));
    for (size_t i = 0; i < std::size(REQUESTS_TO_END); ++i)
        released_[i] = Release(REQUESTS_TO_END[i]);
}

TRequestsEndAtOnce::~TRequestsEndAtOnce() {
    for (size_t i = 0; i < std::size(REQUESTS_TO_END); ++i) {
        struct sigaction action;
        if (!released_[i] || !HandledBy(REQUESTS_TO_END[i], SIG_DFL, action))
            continue;
        action.sa_handler = NoteRequestToEnd;
        sigaction(REQUESTS_TO_END[i], &action, nullptr);
    }
}

} // namespace detail

void CatchRequestsToEnd() {
    CatchAll();
    caughtForTheRun = true;
}

// ---- Queue -----------------------------------------------------------------------------------

void PollSystem() {
    // A hook that asks for polled input would come back here: the outer pass drains everything.
    if (polling)
        return;
    PollGuard guard;
    if (detail::InitSdlEvents()) {
        SDL_Event e;
        while (SDL_PollEvent(&e))
            Translate(e);
    }
    if (endRequested.exchange(0) != 0)
        Emit(EVENT_APPTERMINATE);
    detail::CheckTimers();
    detail::WatchAudioDevice();
}

bool PeekEvent() {
    if (queue.empty())
        PollSystem();
    return !queue.empty();
}

bool PollEvent() {
    if (queue.empty())
        PollSystem();
    if (queue.empty()) {
        current = TEvent();
        return false;
    }
    current = queue.front();
    queue.pop_front();
    return true;
}

const TEvent& CurrentEvent() {
    return current;
}

void EmitEvent(const TEvent& event) {
    // A snapshot: hooks added now wait for the next event, hooks removed now do not run.
    const std::vector<std::shared_ptr<Hook>> snapshot = hooks;
    for (const std::shared_ptr<Hook>& hook : snapshot)
        if (hook->active)
            hook->fn(event);
    if (queue.size() >= QUEUE_LIMIT)
        queue.pop_front();
    queue.push_back(event);
}

void ClearEvents() {
    queue.clear();
}

void DropInputEvents() {
    PollSystem();
    std::erase_if(queue, [](const TEvent& e) {
        switch (e.id) {
        case EVENT_KEYDOWN:
        case EVENT_KEYUP:
        case EVENT_KEYCHAR:
        case EVENT_KEYREPEAT:
        case EVENT_MOUSEDOWN:
        case EVENT_MOUSEUP:
        case EVENT_MOUSEWHEEL:
            return true;
        default:
            return false;
        }
    });
}

int AddHook(EventHook hook, int priority) {
    auto entry = std::make_shared<Hook>(Hook{nextHandle++, priority, std::move(hook)});
    const auto at = std::find_if(hooks.begin(), hooks.end(), [&](const std::shared_ptr<Hook>& h) {
        return h->priority < priority;
    });
    hooks.insert(at, entry);
    return entry->handle;
}

void RemoveHook(int handle) {
    const auto at = std::find_if(hooks.begin(), hooks.end(), [&](const std::shared_ptr<Hook>& h) {
        return h->handle == handle;
    });
    if (at == hooks.end())
        return;
    (*at)->active = false;
    hooks.erase(at);
}

// ---- Injected input --------------------------------------------------------------------------

void InjectKey(int key, bool down) {
    const int sym = detail::SdlKeyFromKeyCode(key);
    if (!sym) {
        // A code SDL has no key for still reaches the hooks and the queue.
        TEvent e;
        e.id = down ? EVENT_KEYDOWN : EVENT_KEYUP;
        e.data = key;
        EmitEvent(e);
        return;
    }
    SDL_Event e;
    std::memset(&e, 0, sizeof e);
    e.type = down ? SDL_KEYDOWN : SDL_KEYUP;
    e.key.windowID = detail::SdlWindowId();
    e.key.state = down ? SDL_PRESSED : SDL_RELEASED;
    e.key.keysym.sym = sym;
    e.key.keysym.scancode =
        detail::DisplayReady() ? SDL_GetScancodeFromKey(sym) : SDL_SCANCODE_UNKNOWN;
    Inject(e);
}

void InjectText(const std::string& text) {
    for (unsigned char c : text) {
        SDL_Event e;
        std::memset(&e, 0, sizeof e);
        if (IsControlChar(c)) {
            // Text input carries no control characters: a user event of our own does.
            if (injectedCharEvent == 0 && detail::DisplayReady())
                injectedCharEvent = SDL_RegisterEvents(1);
            if (injectedCharEvent == 0 || injectedCharEvent == static_cast<uint32_t>(-1)) {
                injectedCharEvent = 0;
                Emit(EVENT_KEYCHAR, c);
                continue;
            }
            e.type = injectedCharEvent;
            e.user.code = c;
        } else if (c >= 32) {
            e.type = SDL_TEXTINPUT;
            e.text.windowID = detail::SdlWindowId();
            // The byte as a Latin-1 code point, in UTF-8.
            if (c < 0x80) {
                e.text.text[0] = static_cast<char>(c);
            } else {
                e.text.text[0] = static_cast<char>(0xC0 | (c >> 6));
                e.text.text[1] = static_cast<char>(0x80 | (c & 0x3F));
            }
        } else {
            continue;
        }
        Inject(e);
    }
}

void InjectMouseMove(int x, int y) {
    SDL_Event e;
    std::memset(&e, 0, sizeof e);
    e.type = SDL_MOUSEMOTION;
    e.motion.windowID = detail::SdlWindowId();
    int wx, wy, oldX, oldY;
    detail::LogicalToWindow(x, y, wx, wy);
    detail::LogicalToWindow(movePending ? pendingX : mouseX, movePending ? pendingY : mouseY, oldX,
                            oldY);
    movePending = true;
    pendingX = x;
    pendingY = y;
    e.motion.x = wx;
    e.motion.y = wy;
    e.motion.xrel = wx - oldX;
    e.motion.yrel = wy - oldY;
    Inject(e);
}

void InjectMouseButton(int button, bool down) {
    if (button < 1 || button > 255)
        return;
    SDL_Event e;
    std::memset(&e, 0, sizeof e);
    e.type = down ? SDL_MOUSEBUTTONDOWN : SDL_MOUSEBUTTONUP;
    e.button.windowID = detail::SdlWindowId();
    e.button.button = static_cast<Uint8>(SdlButton(button));
    e.button.state = down ? SDL_PRESSED : SDL_RELEASED;
    e.button.clicks = 1;
    int wx, wy;
    detail::LogicalToWindow(movePending ? pendingX : mouseX, movePending ? pendingY : mouseY, wx,
                            wy);
    e.button.x = wx;
    e.button.y = wy;
    Inject(e);
}

void InjectMouseWheel(int steps) {
    SDL_Event e;
    std::memset(&e, 0, sizeof e);
    e.type = SDL_MOUSEWHEEL;
    e.wheel.windowID = detail::SdlWindowId();
    e.wheel.y = steps;
    e.wheel.direction = SDL_MOUSEWHEEL_NORMAL;
    Inject(e);
}

void InjectQuit() {
    SDL_Event e;
    std::memset(&e, 0, sizeof e);
    e.type = SDL_QUIT;
    Inject(e);
}

} // namespace platform
