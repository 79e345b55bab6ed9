// Idle cost: the processor share, peak memory and time to the first picture of the game at rest,
// as ratios to a bare SDL2 + OpenGL loop measured in the same run.
//
//   bench_idle_bench [seconds] [rounds]      (defaults: 5 seconds, 5 rounds)
//
// Each round starts two child processes of this program, one after the other (the order
// alternates between rounds): the bare loop, which draws one 800 by 600 texture a frame paced to
// 60 Hz, and the game through its own start-up, which is measured at rest on the title screen,
// then clicked through to a two-player board and measured at rest there. Both run on SDL's
// offscreen video driver with OpenAL's null output, the game's folders in a fresh temporary one.
// A process's figures are user + system time of all its threads over wall time (after a second
// of settling), its peak resident memory, and the time from its start to its first flip.
#include "framework/graphics/mouse_pointer.h"
#include "framework/shell/game.h"
#include "framework/shell/game_fade.h"
#include "framework/ui/menu.h"
#include "game/app/program.h"
#include "game/board/program_data.h"
#include "platform/graphics.h"
#include "platform/input.h"

#include <SDL.h>
#include <SDL_opengl.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <fstream>
#include <map>
#include <spawn.h>
#include <sstream>
#include <string>
#include <sys/resource.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#include <vector>

extern char** environ;

namespace {

using Clock = std::chrono::steady_clock;

constexpr int RESULT_FD = 3;         // where a child writes its figures
constexpr double SETTLE_SECONDS = 1; // at rest before measuring
constexpr double CHILD_LIMIT = 120;  // seconds before a child is given up
constexpr int W = 800, H = 600, HERTZ = 60;

double Now() {
    return std::chrono::duration<double>(Clock::now().time_since_epoch()).count();
}

double CpuSeconds() {
    rusage use{};
    getrusage(RUSAGE_SELF, &use);
    auto seconds = [](const timeval& t) { return t.tv_sec + t.tv_usec / 1e6; };
    return seconds(use.ru_utime) + seconds(use.ru_stime);
}

// Peak resident memory of this process so far, in MB.
double PeakMb() {
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line))
        if (line.rfind("VmHWM:", 0) == 0)
            return std::atof(line.c_str() + 6) / 1024.0;
    return 0;
}

void Report(const std::string& line) {
    const std::string text = line + "\n";
    if (write(RESULT_FD, text.data(), text.size()) < 0)
        std::perror("idle_bench: result");
}

// Frames shown so far by the child.
int64_t frames = 0;

// A window of measuring: processor time, wall time and frames from Begin to End.
struct Window {
    double cpu0 = 0, wall0 = 0;
    int64_t frames0 = 0;
    void Begin() {
        cpu0 = CpuSeconds();
        wall0 = Now();
        frames0 = frames;
    }
    // "name cpu-share peak-mb frames-per-second"
    void End(const char* name) const {
        const double wall = Now() - wall0;
        const double share = (CpuSeconds() - cpu0) / wall;
        Report(std::string(name) + " " + std::to_string(share) + " " + std::to_string(PeakMb()) +
               " " + std::to_string(static_cast<double>(frames - frames0) / wall));
    }
};

// ---- The bare loop ---------------------------------------------------------------------------

int BareLoop(double seconds) {
    if (SDL_Init(SDL_INIT_VIDEO) != 0)
        return 1;
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_MAJOR_VERSION, 2);
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_MINOR_VERSION, 1);
    SDL_GL_SetAttribute(SDL_GL_DOUBLEBUFFER, 1);
    SDL_Window* window = SDL_CreateWindow("bare", SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED, W,
                                          H, SDL_WINDOW_OPENGL | SDL_WINDOW_SHOWN);
    if (!window || !SDL_GL_CreateContext(window))
        return 1;
    const bool vsync = SDL_GL_SetSwapInterval(1) == 0;

    std::vector<uint8_t> pixels(static_cast<size_t>(W) * H * 4);
    for (int y = 0; y < H; ++y)
        for (int x = 0; x < W; ++x) {
            uint8_t* p = &pixels[(static_cast<size_t>(y) * W + x) * 4];
            p[0] = static_cast<uint8_t>(x);
            p[1] = static_cast<uint8_t>(y);
            p[2] = static_cast<uint8_t>(x ^ y);
            p[3] = 255;
        }
    GLuint texture = 0;
    glGenTextures(1, &texture);
    glBindTexture(GL_TEXTURE_2D, texture);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA8, W, H, 0, GL_RGBA, GL_UNSIGNED_BYTE, pixels.data());
    glViewport(0, 0, W, H);
    glMatrixMode(GL_PROJECTION);
    glOrtho(0, W, H, 0, -1, 1);
    glEnable(GL_TEXTURE_2D);

    const auto period = std::chrono::nanoseconds(1'000'000'000 / HERTZ);
    Clock::time_point last = Clock::now();
    bool first = true;
    double atRest = 0;
    Window window_;
    bool measuring = false;
    for (;;) {
        SDL_Event event;
        while (SDL_PollEvent(&event)) {
        }
        glBegin(GL_QUADS);
        glTexCoord2f(0, 0);
        glVertex2i(0, 0);
        glTexCoord2f(1, 0);
        glVertex2i(W, 0);
        glTexCoord2f(1, 1);
        glVertex2i(W, H);
        glTexCoord2f(0, 1);
        glVertex2i(0, H);
        glEnd();
        // The offscreen driver's swap is a no-op on its surface, and a software renderer then
        // leaves frames nobody reads undrawn: a pixel read finishes the frame, so that it costs
        // what showing it on a display would. The game's frames are finished the same way.
        uint8_t pixel[4];
        glReadPixels(0, 0, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, pixel);
        ++frames;
        if (first) {
            first = false;
            Report("first " + std::to_string(Now()));
            atRest = Now() + SETTLE_SECONDS;
        }
        SDL_GL_SwapWindow(window);
        // Paced as the game's flip is: where the swap did not wait, sleep to the frame boundary.
        const Clock::time_point now = Clock::now();
        const bool swapWaited = vsync && now - last >= period * 3 / 4;
        if (!swapWaited && now < last + period) {
            std::this_thread::sleep_until(last + period);
            last += period;
        } else {
            last = now;
        }
        if (!measuring && Now() >= atRest) {
            measuring = true;
            window_.Begin();
        } else if (measuring && Now() - window_.wall0 >= seconds) {
            window_.End("bare");
            std::_Exit(0);
        }
    }
}

// ---- The game --------------------------------------------------------------------------------

// Runs at every flip of the game and walks it through the title and the board at rest.
class GameScript {
public:
    explicit GameScript(double seconds) : seconds_(seconds) {}

    void operator()() {
        // The frame is drawn, not yet shown: finished by a pixel read, as in the bare loop.
        platform::GrabPixmap(0, 0, 1, 1);
        ++frames;
        const double now = Now();
        if (frame_++ == 0)
            Report("first " + std::to_string(now));
        if (now - start_ > CHILD_LIMIT) {
            Report("stuck " + std::to_string(step_));
            std::_Exit(1);
        }
        switch (step_) {
        case 0: // the title screen shows
            if (!Idle(TitleScreen))
                return;
            Report("title-ready " + std::to_string(now));
            Next(now);
            return;
        case 1:
            if (now - since_ < SETTLE_SECONDS)
                return;
            window_.Begin();
            Next(now);
            return;
        case 2:
            if (now - since_ < seconds_)
                return;
            window_.End("title");
            Next(now);
            return;
        case 3: // the pointer goes to the two-player button, and clicks when it is there
            if (!Idle(TitleScreen) || !PointAt(Button("twoplayers")))
                return;
            platform::InjectMouseButton(1, true);
            Next(now);
            return;
        case 4:
            platform::InjectMouseButton(1, false);
            Next(now);
            return;
        case 5: // the board shows; the pointer is put aside, over nothing
            if (Game->CurrentTScreen == TitleScreen && !Game->GameFade->Active &&
                now - since_ > 1) {
                step_ = 3; // the click was not taken: again
                return;
            }
            if (!Idle(GameScreen) || !PointAt({W - 2, 2}))
                return;
            Next(now);
            return;
        case 6:
            if (now - since_ < SETTLE_SECONDS)
                return;
            window_.Begin();
            Next(now);
            return;
        case 7:
            if (now - since_ < seconds_)
                return;
            window_.End("board");
            std::_Exit(0);
        default:
            return;
        }
    }

private:
    struct Point {
        int x, y;
    };

    static bool Idle(const std::shared_ptr<TScreen>& screen) {
        return screen && Game->CurrentTScreen == screen && !Game->GameFade->Active;
    }
    static Point Button(const std::string& name) {
        const TButtonPtr b = Game->CurrentTScreen->Menu->FindButton(name);
        return {static_cast<int>(b->x) + b->w / 2, static_cast<int>(b->y) + b->h / 2};
    }
    // Moves the pointer there; true once the game has seen it arrive.
    static bool PointAt(Point p) {
        if (Game->Mouse->x == p.x && Game->Mouse->y == p.y)
            return true;
        platform::InjectMouseMove(p.x, p.y);
        return false;
    }
    void Next(double now) {
        ++step_;
        since_ = now;
    }

    double seconds_;
    double start_ = Now();
    double since_ = 0;
    int frame_ = 0, step_ = 0;
    Window window_;
};

int GameRun(double seconds) {
    GameScript script(seconds);
    platform::SetFlipHook([&script] { script(); });
    return RunProgram();
}

// ---- The parent ------------------------------------------------------------------------------

struct Child {
    std::map<std::string, std::vector<double>> lines; // first word -> the numbers after it
    double started = 0;
    bool ok = false;
};

// Runs this program as a child in the given role; its figures come back through a pipe.
Child RunChild(const std::string& role, double seconds, const std::string& home) {
    Child result;
    int pipeFds[2];
    if (pipe(pipeFds) != 0)
        return result;
    std::vector<std::string> env;
    for (char** e = environ; *e; ++e) {
        const std::string var = *e;
        static const char* const replaced[] = {
            "SDL_VIDEODRIVER=",  "ALSOFT_DRIVERS=", "SDL_AUDIODRIVER=",
            "PELORIN_HEADLESS=", "HOME=",           "XDG_"};
        if (std::none_of(std::begin(replaced), std::end(replaced),
                         [&](const char* r) { return var.rfind(r, 0) == 0; }))
            env.push_back(var);
    }
    for (const char* v : {"SDL_VIDEODRIVER=offscreen", "ALSOFT_DRIVERS=null",
                          "SDL_AUDIODRIVER=dummy", "PELORIN_HEADLESS=1"})
        env.emplace_back(v);
    env.push_back("HOME=" + home);
    for (const char* xdg :
         {"XDG_DATA_HOME", "XDG_CONFIG_HOME", "XDG_CACHE_HOME", "XDG_RUNTIME_DIR"})
        env.push_back(std::string(xdg) + "=" + home);
    std::vector<char*> envp;
    for (std::string& v : env)
        envp.push_back(v.data());
    envp.push_back(nullptr);
    std::string self = "/proc/self/exe", roleArg = role, secondsArg = std::to_string(seconds);
    std::string childArg = "--child";
    char* argv[] = {self.data(), childArg.data(), roleArg.data(), secondsArg.data(), nullptr};

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addclose(&actions, pipeFds[0]);
    posix_spawn_file_actions_adddup2(&actions, pipeFds[1], RESULT_FD);
    posix_spawn_file_actions_addchdir_np(&actions, home.c_str());
    pid_t pid = -1;
    result.started = Now();
    const int spawned = posix_spawn(&pid, self.c_str(), &actions, nullptr, argv, envp.data());
    posix_spawn_file_actions_destroy(&actions);
    close(pipeFds[1]);
    if (spawned != 0) {
        close(pipeFds[0]);
        return result;
    }

    std::string text;
    char buffer[512];
    const double deadline = Now() + CHILD_LIMIT + 10;
    fcntl(pipeFds[0], F_SETFL, O_NONBLOCK);
    for (;;) {
        const ssize_t n = read(pipeFds[0], buffer, sizeof buffer);
        if (n > 0) {
            text.append(buffer, static_cast<size_t>(n));
            continue;
        }
        if (n == 0)
            break;
        if (Now() > deadline) {
            kill(pid, SIGKILL);
            break;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    close(pipeFds[0]);
    int status = 0;
    waitpid(pid, &status, 0);
    result.ok = WIFEXITED(status) && WEXITSTATUS(status) == 0;

    std::istringstream lines(text);
    std::string line;
    while (std::getline(lines, line)) {
        std::istringstream words(line);
        std::string key;
        words >> key;
        double value;
        while (words >> value)
            result.lines[key].push_back(value);
    }
    return result;
}

double Median(std::vector<double> v) {
    if (v.empty())
        return 0;
    std::sort(v.begin(), v.end());
    const size_t n = v.size();
    return n % 2 ? v[n / 2] : (v[n / 2 - 1] + v[n / 2]) / 2;
}

std::string MakeHome() {
    char path[] = "/tmp/idle_bench.XXXXXX";
    return mkdtemp(path) ? path : "";
}

void RemoveHome(const std::string& home) {
    if (home.rfind("/tmp/idle_bench.", 0) != 0)
        return;
    const std::string command = "rm -rf '" + home + "'";
    if (std::system(command.c_str()) != 0)
        std::fprintf(stderr, "idle_bench: could not remove %s\n", home.c_str());
}

struct Figures {
    double cpu = 0, mb = 0, fps = 0, first = 0;
};

// The figures of one process and one measured state, false when the child did not give them.
bool Take(const Child& c, const std::string& state, Figures& f) {
    const auto s = c.lines.find(state);
    const auto first = c.lines.find("first");
    if (!c.ok || s == c.lines.end() || s->second.size() < 3 || first == c.lines.end())
        return false;
    f.cpu = s->second[0];
    f.mb = s->second[1];
    f.fps = s->second[2];
    f.first = first->second[0] - c.started;
    return true;
}

} // namespace

int main(int argc, char** argv) {
    if (argc >= 4 && std::string(argv[1]) == "--child") {
        const double seconds = std::atof(argv[3]);
        return std::string(argv[2]) == "bare" ? BareLoop(seconds) : GameRun(seconds);
    }
    const double seconds = argc > 1 ? std::atof(argv[1]) : 5;
    const int rounds = argc > 2 ? std::atoi(argv[2]) : 5;
    if (!(seconds > 0) || rounds < 1) {
        std::fprintf(stderr, "usage: bench_idle_bench [seconds] [rounds]\n");
        return 2;
    }
    std::printf("idle bench: %d rounds, %.1f s measured per state, offscreen video, null audio\n",
                rounds, seconds);
    std::printf("%-6s %-8s %8s %9s %7s %9s %9s\n", "round", "state", "cpu", "peak MB", "fps",
                "first s", "ready s");

    std::map<std::string, std::vector<double>> cpu, mb, first, cpuRatio, mbRatio, firstRatio;
    std::vector<double> titleReady;
    int failures = 0;
    for (int round = 1; round <= rounds; ++round) {
        Child bare, game;
        for (int i = 0; i < 2; ++i) {
            // The order alternates, so that neither process always runs on a warmer machine.
            const bool bareNow = (i == 0) == (round % 2 == 1);
            const std::string home = MakeHome();
            (bareNow ? bare : game) = RunChild(bareNow ? "bare" : "game", seconds, home);
            RemoveHome(home);
        }
        Figures b, t, g;
        if (!Take(bare, "bare", b) || !Take(game, "title", t) || !Take(game, "board", g)) {
            std::printf("%-6d a child did not finish (bare %s, game %s)\n", round,
                        bare.ok ? "ok" : "failed", game.ok ? "ok" : "failed");
            ++failures;
            continue;
        }
        const double ready =
            game.lines["title-ready"].empty() ? 0 : game.lines["title-ready"][0] - game.started;
        titleReady.push_back(ready);
        std::printf("%-6d %-8s %8.3f %9.1f %7.1f %9.3f\n", round, "bare", b.cpu, b.mb, b.fps,
                    b.first);
        for (const auto& [name, f] : {std::pair{"title", t}, std::pair{"board", g}}) {
            // The game starts once: its first picture goes on the title's line.
            if (std::string(name) == "title")
                std::printf("%-6d %-8s %8.3f %9.1f %7.1f %9.3f %9.3f\n", round, name, f.cpu, f.mb,
                            f.fps, f.first, ready);
            else
                std::printf("%-6d %-8s %8.3f %9.1f %7.1f\n", round, name, f.cpu, f.mb, f.fps);
            cpu[name].push_back(f.cpu);
            mb[name].push_back(f.mb);
            first[name].push_back(f.first);
            cpuRatio[name].push_back(f.cpu / b.cpu);
            mbRatio[name].push_back(f.mb / b.mb);
            firstRatio[name].push_back(f.first / b.first);
        }
        cpu["bare"].push_back(b.cpu);
        mb["bare"].push_back(b.mb);
        first["bare"].push_back(b.first);
        std::fflush(stdout);
    }
    if (cpu["bare"].empty())
        return 1;

    std::printf("\nmedians of %zu rounds (ratios to the bare loop of the same round)\n",
                cpu["bare"].size());
    std::printf("%-8s %14s %17s %17s\n", "state", "cpu share", "peak memory MB", "first picture s");
    std::printf("%-8s %8.3f       %9.1f        %9.3f\n", "bare", Median(cpu["bare"]),
                Median(mb["bare"]), Median(first["bare"]));
    for (const char* name : {"title", "board"}) {
        std::printf("%-8s %8.3f x%4.2f %9.1f x%4.2f", name, Median(cpu[name]),
                    Median(cpuRatio[name]), Median(mb[name]), Median(mbRatio[name]));
        if (std::string(name) == "title")
            std::printf("  %9.3f x%4.2f", Median(first[name]), Median(firstRatio[name]));
        std::printf("\n");
    }
    std::printf("title screen at rest (fade-in done) %.3f s after the start\n", Median(titleReady));
    return failures == 0 ? 0 : 1;
}
