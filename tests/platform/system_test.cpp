#include "platform/system.h"

#include <gtest/gtest.h>

#include <pwd.h>
#include <unistd.h>

#include <algorithm>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <iterator>
#include <random>
#include <set>
#include <string>
#include <vector>

namespace {

using namespace platform;

// Sets or clears environment variables for one test and puts them back afterwards.
class EnvGuard {
public:
    void Set(const char* name, const char* value) {
        Remember(name);
        if (value)
            setenv(name, value, 1);
        else
            unsetenv(name);
    }
    ~EnvGuard() {
        for (auto it = saved_.rbegin(); it != saved_.rend(); ++it) {
            if (it->set)
                setenv(it->name.c_str(), it->value.c_str(), 1);
            else
                unsetenv(it->name.c_str());
        }
    }

private:
    struct Saved {
        std::string name, value;
        bool set;
    };
    void Remember(const char* name) {
        const char* v = std::getenv(name);
        saved_.push_back({name, v ? v : "", v != nullptr});
    }
    std::vector<Saved> saved_;
};

struct EndCalled {
    int status;
};

TEST(Clock, FakeSourceAndDelayHandlerReplaceTheRealOnes) {
    int now = 1000;
    std::vector<int> delays;
    SetMilliSecsSource([&] { return now; });
    SetDelayHandler([&](int ms) {
        delays.push_back(ms);
        now += ms;
    });
    EXPECT_EQ(MilliSecs(), 1000);
    Delay(16);
    Delay(0);
    Delay(-5);
    EXPECT_EQ(MilliSecs(), 1016);
    EXPECT_EQ(delays, std::vector<int>{16});

    SetMilliSecsSource(nullptr);
    SetDelayHandler(nullptr);
    const int a = MilliSecs();
    const int b = MilliSecs();
    EXPECT_GE(MilliSecsDiff(b, a), 0);
}

TEST(Clock, DifferencesSurviveTheWrap) {
    struct Case {
        int now, then, diff;
    };
    const Case cases[] = {
        {10, 3, 7},
        {3, 10, -7},
        {INT_MIN + 4, INT_MAX - 5, 10}, // the count wrapped between the two readings
        {INT_MAX, INT_MIN, -1},
        {0, 0, 0},
    };
    for (const Case& c : cases)
        EXPECT_EQ(MilliSecsDiff(c.now, c.then), c.diff) << c.now << " - " << c.then;
}

TEST(Notify, HandlerReceivesTheTextInsteadOfTheBox) {
    std::vector<std::pair<std::string, bool>> seen;
    SetNotifyHandler([&](const std::string& text, bool serious) {
        seen.push_back({text, serious});
    });
    Notify("first");
    Notify("second", true);
    SetNotifyHandler(nullptr);
    ASSERT_EQ(seen.size(), 2u);
    EXPECT_EQ(seen[0], std::make_pair(std::string("first"), false));
    EXPECT_EQ(seen[1], std::make_pair(std::string("second"), true));
}

TEST(Notify, WithoutADesktopTheTextGoesToStandardError) {
    struct Case {
        const char* display;
        const char* wayland;
        const char* driver;
        const char* headless;
    };
    // Each of these must return at once; a box on a real desktop would block the test.
    const Case cases[] = {
        {nullptr, nullptr, nullptr, nullptr},      {"", "", nullptr, nullptr},
        {":0", nullptr, "offscreen", nullptr},     {nullptr, "wayland-0", "dummy", nullptr},
        {":0", nullptr, "Offscreen,x11", nullptr}, {":0", "wayland-0", nullptr, "1"},
    };
    for (const Case& c : cases) {
        EnvGuard env;
        env.Set("PELORIN_HEADLESS", c.headless);
        env.Set("DISPLAY", c.display);
        env.Set("WAYLAND_DISPLAY", c.wayland);
        env.Set("SDL_VIDEODRIVER", c.driver);
        testing::internal::CaptureStderr();
        Notify("Cannot open the file", true);
        EXPECT_EQ(testing::internal::GetCapturedStderr(), "Cannot open the file\n");
    }
}

TEST(BreakIntoLines, BreaksAtSpacesAndPathSeparatorsAndLosesNoCharacter) {
    struct Case {
        const char* text;
        std::vector<std::string> lines; // of at most 10 characters
    };
    const Case cases[] = {
        {"", {""}},
        {"fits fine", {"fits fine"}},
        {"the quick brown fox", {"the quick", "brown fox"}},
        {"a  b   c  d  e    f", {"a  b   c ", "d  e    f"}},
        {"/home/user/a/b.ini", {"/home/", "user/a/", "b.ini"}},
        {"C:\\Games\\Pelorin", {"C:\\Games\\", "Pelorin"}},
        {"abcdefghijklmnopqrstuvwxy", {"abcdefghij", "klmnopqrst", "uvwxy"}},
        {"save /verylongfoldername/x", {"save", "/verylongf", "oldername/", "x"}},
        {"one\r\ntwo\n\nthree", {"one", "two", "", "three"}},
        {"ends here   ", {"ends", "here   "}},
        {"  indented line", {"  indented", "line"}},
    };
    auto fits = [](const std::string& line) { return line.size() <= 10; };
    for (const Case& c : cases)
        EXPECT_EQ(BreakIntoLines(c.text, fits), c.lines) << c.text;
    // A character wider than the line still stands on a line of its own.
    EXPECT_EQ(BreakIntoLines("abc", [](const std::string&) { return false; }),
              (std::vector<std::string>{"a", "b", "c"}));
}

// Cases that once looped without end or split a mark from its space, with a fits that refuses
// the empty line and counts characters.
TEST(BreakIntoLines, EndsForAnyFitsAndKeepsMarksWithTheirSpace) {
    struct Case {
        const char* text;
        size_t width;
        std::vector<std::string> lines;
    };
    const Case cases[] = {
        {"", 3, {""}},
        {"a\n\nb", 3, {"a", "", "b"}},
        {"ends\n", 3, {"end", "s", ""}},
        {"\n", 3, {"", ""}},
        // The space under an accent is a character, not a break: the mark stays with it.
        {"ab \xcc\x81"
         "cd",
         3,
         {"ab \xcc\x81", "cd"}},
        {"ab \xcc\x81"
         "c d",
         4,
         {"ab \xcc\x81"
          "c",
          "d"}},
        // A run of spaces longer than a line is broken where the line is full.
        {"a            b", 5, {"a    ", "     ", "  b"}},
        {"       x", 3, {"   ", "   ", " x"}},
    };
    // Characters, an accent (U+0300 to U+036F) counted with the character before it.
    auto characters = [](const std::string& line) {
        size_t count = 0;
        for (size_t i = 0; i < line.size(); ++i) {
            const auto byte = static_cast<unsigned char>(line[i]);
            if ((byte & 0xC0) != 0x80 && byte != 0xCC && byte != 0xCD)
                ++count;
        }
        return count;
    };
    for (const Case& c : cases) {
        auto fits = [&](const std::string& line) {
            return !line.empty() && characters(line) <= c.width;
        };
        EXPECT_EQ(BreakIntoLines(c.text, fits), c.lines) << c.text;
    }
    EXPECT_EQ(BreakIntoLines("a\n", [](const std::string&) { return false; }),
              (std::vector<std::string>{"a", ""}));
}

// Random texts of letters of one to four bytes, accents, spaces (some under an accent), path
// separators and line feeds: every line fits or holds one character, none starts with an accent,
// and the lines put together give the text back but for the one space at a break.
TEST(BreakIntoLines, RandomTextsComeBackWhole) {
    const char* const pieces[] = {"a",         "Z", "\xc3\xa9", "\xe2\x82\xac", "\xf0\x9f\x8e\xb2",
                                  "e\xcc\x81", " ", " ",        " \xcc\x81",    "/",
                                  "\n"};
    auto characters = [](const std::string& line) {
        size_t count = 0;
        for (size_t i = 0; i < line.size(); ++i) {
            const auto byte = static_cast<unsigned char>(line[i]);
            if ((byte & 0xC0) != 0x80 && byte != 0xCC)
                ++count;
        }
        return count;
    };
    // Whether the text is the lines joined, each break made by a line feed, by one dropped space
    // or by nothing: the places in the text where each line may start, line by line.
    auto rebuilds = [](const std::string& text, const std::vector<std::string>& lines) {
        std::set<size_t> starts = {0};
        for (size_t index = 0; index < lines.size(); ++index) {
            const std::string& line = lines[index];
            std::set<size_t> next;
            for (const size_t at : starts) {
                if (text.compare(at, line.size(), line) != 0)
                    continue;
                const size_t end = at + line.size();
                if (index + 1 == lines.size()) {
                    if (end == text.size())
                        return true;
                } else if (end < text.size() && text[end] == '\n') {
                    next.insert(end + 1);
                } else {
                    next.insert(end);
                    if (end < text.size() && text[end] == ' ')
                        next.insert(end + 1);
                }
            }
            starts = std::move(next);
        }
        return false;
    };
    std::mt19937 random(20261211);
    for (int round = 0; round < 2000; ++round) {
        std::string text;
        const int length = static_cast<int>(random() % 40);
        for (int i = 0; i < length; ++i)
            text += pieces[random() % std::size(pieces)];
        const size_t width = 1 + random() % 8;
        auto fits = [&](const std::string& line) {
            return !line.empty() && characters(line) <= width;
        };
        const std::vector<std::string> lines = BreakIntoLines(text, fits);
        ASSERT_FALSE(lines.empty());
        for (const std::string& line : lines) {
            EXPECT_TRUE(line.empty() || fits(line) || characters(line) == 1) << text;
            EXPECT_NE(line.rfind("\xcc\x81", 0), 0u) << "a line starts with an accent: " << text;
            EXPECT_EQ(line.find('\n'), std::string::npos) << text;
        }
        EXPECT_TRUE(rebuilds(text, lines)) << text;
    }
}

// Whether text is well-formed UTF-8 (no stray continuation byte, no sequence cut short).
bool IsUtf8(const std::string& text) {
    for (size_t i = 0; i < text.size();) {
        const auto lead = static_cast<unsigned char>(text[i]);
        const size_t length = lead < 0x80                   ? 1
                              : lead >= 0xC2 && lead < 0xE0 ? 2
                              : lead >= 0xE0 && lead < 0xF0 ? 3
                              : lead >= 0xF0 && lead < 0xF5 ? 4
                                                            : 0;
        if (length == 0 || i + length > text.size())
            return false;
        for (size_t k = 1; k < length; ++k)
            if ((static_cast<unsigned char>(text[i + k]) & 0xC0) != 0x80)
                return false;
        i += length;
    }
    return true;
}

// The characters of UTF-8 text; an accent mark (U+0300 to U+036F) counts with its letter.
size_t Utf8Characters(const std::string& text) {
    return static_cast<size_t>(std::count_if(text.begin(), text.end(), [](char c) {
        const auto byte = static_cast<unsigned char>(c);
        return (byte & 0xC0) != 0x80 && byte != 0xCC && byte != 0xCD;
    }));
}

// A folder name of accented letters (two-, three- and four-byte characters, and an "e" with its
// accent as a separate mark) longer than a line, with no space or separator to break at.
TEST(BreakIntoLines, BreaksBetweenCharactersAndKeepsEveryOne) {
    std::string word;
    for (int i = 0; i < 12; ++i)
        word += "\xc3\xa9t\xc3\xa9\xe2\x82\xac\xf0\x9f\x8e\xb2"
                "e\xcc\x81";
    const std::string path = "/home/" + word + "/";
    const std::string text = "Cannot create shared data folder " + path;
    const struct {
        const char* what;
        std::function<bool(const std::string&)> fits;
    } measures[] = {
        {"bytes", [](const std::string& line) { return line.size() <= 10; }},
        {"characters", [](const std::string& line) { return Utf8Characters(line) <= 7; }},
    };
    for (const auto& measure : measures) {
        SCOPED_TRACE(measure.what);
        const std::vector<std::string> lines = BreakIntoLines(path, measure.fits);
        ASSERT_GT(lines.size(), 5u);
        std::string joined;
        for (const std::string& line : lines) {
            EXPECT_TRUE(IsUtf8(line)) << line;
            EXPECT_TRUE(measure.fits(line)) << line;
            EXPECT_NE(line.rfind("\xcc\x81", 0), 0u) << "a line starts with a lone accent";
            joined += line;
        }
        EXPECT_EQ(joined, path);
    }

    // The box counts characters, not bytes; only the space at a break goes.
    std::vector<std::string> shown;
    std::string box = NotifyBoxText(text);
    for (size_t lf; (lf = box.find('\n')) != std::string::npos; box.erase(0, lf + 1))
        shown.push_back(box.substr(0, lf));
    shown.push_back(box);
    ASSERT_EQ(shown.size(), 3u);
    EXPECT_EQ(shown[0], "Cannot create shared data folder /home/");
    std::string joined;
    for (const std::string& line : shown) {
        EXPECT_TRUE(IsUtf8(line)) << line;
        EXPECT_LE(Utf8Characters(line), static_cast<size_t>(NOTIFY_LINE_CHARS)) << line;
        joined += line;
    }
    EXPECT_EQ(Utf8Characters(shown[1]), static_cast<size_t>(NOTIFY_LINE_CHARS));
    EXPECT_EQ(joined, text);
}

TEST(Notify, TheBoxShowsLinesOfAtMostSixtyCharactersAndStandardErrorOneLine) {
    const std::string path = "/home/somebody/with/a/rather/long/folder/path/that/goes/on/and/on/"
                             "for/quite/a/while/.local/share/Pelorin Demo/";
    const std::string text = "Cannot create shared data folder " + path;
    const std::string shown = NotifyBoxText(text);
    EXPECT_EQ(shown, "Cannot create shared data folder /home/somebody/with/a/\n"
                     "rather/long/folder/path/that/goes/on/and/on/for/quite/a/\n"
                     "while/.local/share/Pelorin Demo/");
    EXPECT_EQ(NotifyBoxText("Default ini file restored!"), "Default ini file restored!");

    EnvGuard env;
    env.Set("PELORIN_HEADLESS", "1");
    testing::internal::CaptureStderr();
    Notify(text);
    EXPECT_EQ(testing::internal::GetCapturedStderr(), text + "\n");
}

TEST(End, HandlerReplacesTheWholeEnd) {
    bool ranAtEnd = false;
    AtEnd([&] { ranAtEnd = true; });
    SetEndHandler([](int status) { throw EndCalled{status}; });
    try {
        End(7);
    } catch (const EndCalled& e) {
        EXPECT_EQ(e.status, 7);
    }
    SetEndHandler(nullptr);
    EXPECT_FALSE(ranAtEnd);
}

TEST(EndDeathTest, RunsAtEndFunctionsInReverseOrderThenExitsWithTheStatus) {
    EXPECT_EXIT(
        {
            AtEnd([] { std::fputs("audio closed\n", stderr); });
            AtEnd([] { throw std::runtime_error("a failing step"); });
            AtEnd([] { std::fputs("display closed\n", stderr); });
            std::fputs("buffered", stdout); // flushed before the process goes
            End(3);
        },
        testing::ExitedWithCode(3), "display closed\naudio closed\n");
}

TEST(EndDeathTest, AHandlerThatReturnsAborts) {
    EXPECT_DEATH(
        {
            SetEndHandler([](int) {});
            End(0);
        },
        "end handler returned");
}

TEST(RuntimeError, ThrowsTheLayersErrorWithTheText) {
    try {
        RuntimeError("Image not found");
        FAIL() << "no exception";
    } catch (const TRuntimeError& e) {
        EXPECT_STREQ(e.what(), "Image not found");
    }
}

TEST(Dates, FormatTheLocalTimeWithEnglishMonthNames) {
    struct Case {
        int year, month, day, hour, min, sec;
        const char* date;
        const char* time;
    };
    const Case cases[] = {
        {2026, 11, 9, 7, 5, 3, "09 Dec 2026", "07:05:03"},
        {1999, 0, 31, 23, 59, 59, "31 Jan 1999", "23:59:59"},
        {2024, 4, 1, 0, 0, 0, "01 May 2024", "00:00:00"},
    };
    std::setlocale(LC_ALL, "");
    for (const Case& c : cases) {
        SetLocalTimeSource([&c] {
            std::tm t{};
            t.tm_year = c.year - 1900;
            t.tm_mon = c.month;
            t.tm_mday = c.day;
            t.tm_hour = c.hour;
            t.tm_min = c.min;
            t.tm_sec = c.sec;
            return t;
        });
        EXPECT_EQ(CurrentDate(), c.date);
        EXPECT_EQ(CurrentTime(), c.time);
    }
    SetLocalTimeSource(nullptr);
    EXPECT_EQ(CurrentDate().size(), 11u);
}

TEST(Folders, ProgramAndWorkingDirectories) {
    const std::string file = AppFile();
    ASSERT_FALSE(file.empty());
    EXPECT_EQ(file[0], '/');
    EXPECT_EQ(AppDir(), file.substr(0, file.rfind('/') + 1));
    EXPECT_NE(CurrentDir().back(), '/');
}

// Without HOME the user database gives the home folder; only a user it does not know has none.
TEST(Folders, SharedUserDataFolderFollowsXdgThenHome) {
    const passwd* user = getpwuid(getuid());
    ASSERT_TRUE(user && user->pw_dir && *user->pw_dir);
    std::string known = user->pw_dir;
    known += (known.back() == '/' ? "" : "/") + std::string(".local/share");
    struct Case {
        const char* xdg;
        const char* home;
        std::string expected;
    };
    const Case cases[] = {
        {"/data/share/", "/home/ann", "/data/share"},
        {"relative/share", "/home/ann", "/home/ann/.local/share"},
        {"", "/home/ann/", "/home/ann/.local/share"},
        {nullptr, nullptr, known},
        {nullptr, "", known},
        {"relative/share", nullptr, known},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.xdg ? c.xdg : "(unset)") + ", " + (c.home ? c.home : "(unset)"));
        EnvGuard env;
        env.Set("XDG_DATA_HOME", c.xdg);
        env.Set("HOME", c.home);
        EXPECT_EQ(SharedUserDataFolder(), c.expected);
    }

    // A user that the database does not know, in a child that becomes that user.
    if (getuid() != 0)
        GTEST_SKIP() << "becoming a user the database does not know needs root";
    uid_t stranger = 54321;
    while (getpwuid(stranger))
        ++stranger;
    EXPECT_EXIT(
        {
            unsetenv("HOME");
            unsetenv("XDG_DATA_HOME");
            _exit(setuid(stranger) != 0 ? 2 : SharedUserDataFolder().empty() ? 0 : 1);
        },
        testing::ExitedWithCode(0), "");
}

} // namespace
