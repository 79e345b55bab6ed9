#include "platform/input.h"
#include "platform/system.h"

#include <SDL.h>
#include <gtest/gtest.h>

#include <csignal>
#include <cstring>
#include <vector>

namespace {

using namespace platform;

// Every test starts with an empty queue, no polled input and the real clock, and leaves the same.
class Events : public ::testing::Test {
protected:
    void SetUp() override { Reset(); }
    void TearDown() override {
        for (int h : hooks_)
            RemoveHook(h);
        Reset();
    }
    static void Reset() {
        DisablePolledInput();
        PollSystem();
        ClearEvents();
        SetMilliSecsSource({});
    }
    int Hook(EventHook fn, int priority = 0) {
        hooks_.push_back(AddHook(std::move(fn), priority));
        return hooks_.back();
    }
    static std::vector<TEvent> Drain() {
        std::vector<TEvent> events;
        while (PollEvent())
            events.push_back(CurrentEvent());
        return events;
    }
    static TEvent Make(int id, int data = 0) {
        TEvent e;
        e.id = id;
        e.data = data;
        return e;
    }

private:
    std::vector<int> hooks_;
};

TEST_F(Events, HooksRunByPriorityAndMayChangeTheListWhileRunning) {
    std::vector<std::string> ran;
    int late = 0;
    int removed = 0;
    removed = Hook([&](const TEvent&) { ran.push_back("removed"); }, -5);
    Hook([&](const TEvent&) { ran.push_back("low"); }, -1);
    Hook(
        [&](const TEvent& e) {
            ran.push_back("high");
            if (e.data == 1) {
                RemoveHook(removed); // not run for this event any more
                late = Hook([&](const TEvent&) { ran.push_back("late"); }, 100);
            }
        },
        10);
    int self = 0;
    self = Hook(
        [&](const TEvent&) {
            ran.push_back("once");
            RemoveHook(self); // removing itself while running is safe
        },
        0);

    EmitEvent(Make(EVENT_KEYDOWN, 1));
    EXPECT_EQ(ran, (std::vector<std::string>{"high", "once", "low"}));
    ran.clear();
    EmitEvent(Make(EVENT_KEYDOWN, 2));
    EXPECT_EQ(ran, (std::vector<std::string>{"late", "high", "low"}));
    RemoveHook(late);

    const std::vector<TEvent> events = Drain();
    ASSERT_EQ(events.size(), 2u);
    EXPECT_EQ(events[0].data, 1);
    EXPECT_EQ(events[1].data, 2);
    EXPECT_FALSE(PollEvent());
    EXPECT_EQ(CurrentEvent().id, 0);
}

TEST_F(Events, FullQueueDropsTheOldest) {
    int seen = 0;
    Hook([&](const TEvent&) { ++seen; });
    for (int i = 0; i < 5000; ++i)
        EmitEvent(Make(EVENT_MOUSEMOVE, i));
    EXPECT_EQ(seen, 5000); // hooks see everything
    const std::vector<TEvent> events = Drain();
    ASSERT_EQ(events.size(), 4096u);
    EXPECT_EQ(events.front().data, 5000 - 4096);
    EXPECT_EQ(events.back().data, 4999);
}

TEST_F(Events, TimersTickOncePerPollOnTheFakeClock) {
    int now = 1000;
    SetMilliSecsSource([&] { return now; });
    std::vector<TEvent> ticks;
    Hook([&](const TEvent& e) {
        if (e.id == EVENT_TIMERTICK)
            ticks.push_back(e);
    });
    TimerPtr timer = CreateTimer(10.0f); // every 100 ms
    ASSERT_TRUE(timer);
    EXPECT_EQ(CreateTimer(0.0f), nullptr);

    now += 99;
    PollSystem();
    EXPECT_TRUE(ticks.empty());
    now += 1;
    PollSystem();
    PollSystem();
    ASSERT_EQ(ticks.size(), 1u);
    EXPECT_EQ(ticks[0].source, timer.get());
    EXPECT_EQ(timer->Ticks(), 1);

    now += 350; // three and a half periods late: one coalesced tick
    PollSystem();
    EXPECT_EQ(ticks.size(), 2u);
    EXPECT_EQ(timer->Ticks(), 4);

    now -= 5000; // a clock stepped back does not undo time
    PollSystem();
    EXPECT_EQ(timer->Ticks(), 4);

    timer->Stop();
    now += 1000;
    PollSystem();
    EXPECT_EQ(ticks.size(), 2u);
    EXPECT_EQ(timer->Ticks(), 4);

    TimerPtr dropped = CreateTimer(100.0f);
    dropped.reset();
    now += 1000;
    PollSystem();
    EXPECT_EQ(ticks.size(), 2u);
}

TEST_F(Events, PolledInputFollowsEmittedAndInjectedEvents) {
    EmitEvent(Make(EVENT_KEYDOWN, KEY_A)); // before enabling: not seen
    EnablePolledInput();
    EXPECT_EQ(KeyHit(KEY_A), 0);

    InjectKey(KEY_A, true);
    EmitEvent(Make(EVENT_KEYREPEAT, KEY_A));
    InjectKey(KEY_A, false);
    InjectKey(KEY_A, true);
    EXPECT_EQ(KeyDown(KEY_A), 1);
    EXPECT_EQ(KeyHit(KEY_A), 2);
    EXPECT_EQ(KeyHit(KEY_A), 0); // reset by asking
    InjectKey(KEY_A, false);
    EXPECT_EQ(KeyDown(KEY_A), 0);

    InjectText("a\xE9!");
    InjectKey(KEY_BACKSPACE, true); // the key types its character
    InjectText("\r");
    EXPECT_EQ(GetChar(), 'a');
    EXPECT_EQ(GetChar(), 0xE9);
    EXPECT_EQ(GetChar(), '!');
    EXPECT_EQ(GetChar(), 8);
    EXPECT_EQ(GetChar(), 13);
    EXPECT_EQ(GetChar(), 0);

    InjectMouseMove(120, 80);
    InjectMouseButton(2, true);
    InjectMouseWheel(-3);
    EXPECT_EQ(MouseX(), 120);
    EXPECT_EQ(MouseY(), 80);
    EXPECT_EQ(MouseDown(2), 1);
    EXPECT_EQ(MouseHit(2), 1);
    EXPECT_EQ(MouseHit(1), 0);
    EXPECT_EQ(MouseZ(), -3);

    InjectKey(KEY_SPACE, true);
    FlushKeys();
    FlushMouse();
    EXPECT_EQ(KeyHit(KEY_SPACE), 0);
    EXPECT_EQ(KeyDown(KEY_SPACE), 0);
    EXPECT_EQ(MouseDown(2), 0);
    EXPECT_EQ(MouseZ(), 0);

    DisablePolledInput();
    InjectKey(KEY_A + 1, true);
    EXPECT_EQ(KeyHit(KEY_A + 1), 0);
    EXPECT_EQ(KeyHit(-1) + KeyHit(256) + MouseHit(0) + MouseHit(99), 0);
}

// Input left queued by a loop that pumped nothing, in the layer's queue and still in SDL's: the
// key, character, button and wheel events go, everything else stays in order.
TEST_F(Events, DroppingInputKeepsTheOtherEventsInOrder) {
    int now = 1000;
    SetMilliSecsSource([&] { return now; });
    TimerPtr timer = CreateTimer(10.0f);
    int seen = 0;
    Hook([&](const TEvent&) { ++seen; });
    EmitEvent(Make(EVENT_KEYDOWN, KEY_A));
    EmitEvent(Make(EVENT_APPSUSPEND));
    EmitEvent(Make(EVENT_KEYREPEAT, KEY_A));
    EmitEvent(Make(EVENT_KEYUP, KEY_A));
    EmitEvent(Make(EVENT_MOUSEMOVE, 7));
    auto push = [](SDL_Event e) { ASSERT_EQ(SDL_PushEvent(&e), 1) << SDL_GetError(); };
    SDL_Event e;
    std::memset(&e, 0, sizeof e);
    e.type = SDL_KEYDOWN;
    e.key.keysym.sym = SDLK_n;
    push(e);
    std::memset(&e, 0, sizeof e);
    e.type = SDL_TEXTINPUT;
    std::strcpy(e.text.text, "n");
    push(e);
    std::memset(&e, 0, sizeof e);
    e.type = SDL_MOUSEBUTTONDOWN;
    e.button.button = SDL_BUTTON_LEFT;
    push(e);
    e.type = SDL_MOUSEBUTTONUP;
    push(e);
    std::memset(&e, 0, sizeof e);
    e.type = SDL_MOUSEWHEEL;
    e.wheel.y = 1;
    push(e);
    std::memset(&e, 0, sizeof e);
    e.type = SDL_WINDOWEVENT;
    e.window.event = SDL_WINDOWEVENT_CLOSE;
    push(e);
    now += 100; // the music's refill tick is due too

    DropInputEvents();
    EXPECT_EQ(seen, 12); // the hooks saw all of them
    const int expected[] = {EVENT_APPSUSPEND, EVENT_MOUSEMOVE, EVENT_APPTERMINATE, EVENT_TIMERTICK};
    const std::vector<TEvent> events = Drain();
    ASSERT_EQ(events.size(), std::size(expected));
    for (size_t i = 0; i < events.size(); ++i)
        EXPECT_EQ(events[i].id, expected[i]) << i;
    EXPECT_EQ(events[1].data, 7);
    EXPECT_EQ(events[3].source, timer.get());
}

// SDL's own events, as the window system sends them, through PollSystem.
TEST_F(Events, SdlEventsBecomeLayerEvents) {
    auto push = [](SDL_Event e) { ASSERT_EQ(SDL_PushEvent(&e), 1) << SDL_GetError(); };
    SDL_Event e;
    std::memset(&e, 0, sizeof e);

    e.type = SDL_KEYDOWN;
    e.key.keysym.sym = SDLK_BACKSPACE;
    push(e);
    e.key.repeat = 1; // auto-repeat: no key-down, but the character again
    push(e);
    e.key.keysym.sym = SDLK_KP_ENTER;
    e.key.repeat = 0;
    push(e);
    e.key.keysym.sym = SDLK_PLUS; // no code of its own: the physical key's
    e.key.keysym.scancode = SDL_SCANCODE_EQUALS;
    push(e);
    e.type = SDL_KEYUP;
    e.key.keysym.sym = SDLK_a;
    push(e);

    std::memset(&e, 0, sizeof e);
    e.type = SDL_TEXTINPUT;
    std::strcpy(e.text.text, "x\xC3\xA9\xE2\x82\xAC"); // x, e acute, euro sign (beyond 255)
    push(e);

    std::memset(&e, 0, sizeof e);
    e.type = SDL_MOUSEBUTTONDOWN;
    e.button.button = SDL_BUTTON_MIDDLE;
    e.button.x = 7;
    e.button.y = 9;
    push(e);
    e.type = SDL_MOUSEBUTTONUP;
    e.button.button = SDL_BUTTON_RIGHT;
    push(e);

    std::memset(&e, 0, sizeof e);
    e.type = SDL_MOUSEWHEEL;
    e.wheel.y = 2;
    e.wheel.direction = SDL_MOUSEWHEEL_FLIPPED;
    push(e);

    std::memset(&e, 0, sizeof e);
    e.type = SDL_WINDOWEVENT;
    for (Uint8 w : {SDL_WINDOWEVENT_FOCUS_LOST, SDL_WINDOWEVENT_FOCUS_GAINED, SDL_WINDOWEVENT_ENTER,
                    SDL_WINDOWEVENT_LEAVE, SDL_WINDOWEVENT_CLOSE}) {
        e.window.event = w;
        push(e);
    }
    std::memset(&e, 0, sizeof e);
    e.type = SDL_QUIT;
    push(e);

    struct Expected {
        int id, data;
    };
    const Expected expected[] = {
        {EVENT_KEYDOWN, 8},          {EVENT_KEYCHAR, 8},    {EVENT_KEYREPEAT, 8},
        {EVENT_KEYCHAR, 8},          {EVENT_KEYDOWN, 13},   {EVENT_KEYCHAR, 13},
        {EVENT_KEYDOWN, KEY_EQUALS}, {EVENT_KEYUP, KEY_A},  {EVENT_KEYCHAR, 'x'},
        {EVENT_KEYCHAR, 0xE9},       {EVENT_MOUSEDOWN, 3},  {EVENT_MOUSEUP, 2},
        {EVENT_MOUSEWHEEL, -2},      {EVENT_APPSUSPEND, 0}, {EVENT_APPRESUME, 0},
        {EVENT_MOUSEENTER, 0},       {EVENT_MOUSELEAVE, 0}, {EVENT_APPTERMINATE, 0},
        {EVENT_APPTERMINATE, 0},
    };
    const std::vector<TEvent> events = Drain();
    ASSERT_EQ(events.size(), std::size(expected));
    for (size_t i = 0; i < events.size(); ++i) {
        EXPECT_EQ(events[i].id, expected[i].id) << i;
        EXPECT_EQ(events[i].data, expected[i].data) << i;
    }
    EXPECT_EQ(events[10].x, 7); // without a display, window and logical positions agree
    EXPECT_EQ(events[10].y, 9);
}

// SIGINT, SIGTERM and SIGHUP each ask the program to end: one EVENT_APPTERMINATE at the next poll,
// however often the signal came meanwhile. A signal ignored from the start (a hang-up under nohup)
// stays ignored.
TEST_F(Events, ASignalToEndIsOneRequestToEndAtTheNextPoll) {
    struct Case {
        int signal;
        bool ignoredFromTheStart;
    };
    const Case cases[] = {{SIGINT, false}, {SIGTERM, false}, {SIGHUP, false}, {SIGHUP, true}};
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message()
                     << strsignal(c.signal) << (c.ignoredFromTheStart ? ", ignored" : ""));
        struct sigaction before, ignored = {}, during;
        ignored.sa_handler = SIG_IGN;
        sigemptyset(&ignored.sa_mask);
        ASSERT_EQ(sigaction(c.signal, c.ignoredFromTheStart ? &ignored : nullptr, &before), 0);
        // The test process may itself have been started with the signal ignored: nothing to see.
        if (before.sa_handler == SIG_IGN && !c.ignoredFromTheStart)
            continue;
        CatchRequestsToEnd();
        ASSERT_EQ(sigaction(c.signal, nullptr, &during), 0);
        const bool caught = during.sa_handler != SIG_DFL && during.sa_handler != SIG_IGN;
        // Raised where nothing catches it, it would end the tests.
        if (caught || during.sa_handler == SIG_IGN) {
            raise(c.signal);
            raise(c.signal);
        }
        const std::vector<TEvent> events = Drain();
        const std::vector<TEvent> later = Drain();
        if (c.ignoredFromTheStart) {
            sigaction(c.signal, &before, nullptr);
            EXPECT_EQ(during.sa_handler, SIG_IGN);
            EXPECT_TRUE(events.empty());
            continue;
        }
        ASSERT_TRUE(caught);
        ASSERT_EQ(events.size(), 1u);
        EXPECT_EQ(events[0].id, EVENT_APPTERMINATE);
        EXPECT_TRUE(later.empty());
    }
}

} // namespace
