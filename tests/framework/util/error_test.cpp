#include "framework/util/error.h"

#include "framework/util/globals.h"
#include "framework/util/input.h"
#include "platform/files.h"
#include "platform/graphics.h"
#include "platform/system.h"
#include "tests/framework/util/local_time.h"
#include "tests/support/temp_dir.h"

#include <gtest/gtest.h>

#include <ctime>
#include <exception>
#include <string>
#include <vector>

namespace {

using testing_support::ReadTextFile;
using testing_support::TempDir;

struct EndCalled {
    int status;
};

std::tm FixedTime() {
    return util_tests::LocalTimeAt(2027, 3, 4, 9, 5, 7);
}

class ErrorReporting : public ::testing::Test {
protected:
    void SetUp() override {
        platform::SetNotifyHandler([this](const std::string& text, bool) {
            notes.push_back(text);
            logsAtTheBox.push_back(Log());
        });
        platform::SetEndHandler([](int status) { throw EndCalled{status}; });
        platform::SetLocalTimeSource(FixedTime);
        ccErrorPath = dir.Path();
    }
    std::string Log() const { return ReadTextFile(dir.File("ErrorLog.txt")); }

    TempDir dir;
    std::vector<std::string> notes;
    // The error log as it stood while each box was shown.
    std::vector<std::string> logsAtTheBox;
};

TEST_F(ErrorReporting, BeforeTheHandlerTheMessageBoxShowsItAndTheErrorIsRaised) {
    ccGraphicalErrors = 0;
    try {
        ccRunTimeError("Error loading file x.txt", 1);
        FAIL() << "no error raised";
    } catch (const platform::TRuntimeError& e) {
        EXPECT_STREQ(e.what(), "Error loading file x.txt");
    }
    EXPECT_EQ(notes, std::vector<std::string>{"Error loading file x.txt"});
    EXPECT_EQ(platform::FileType(dir.File("ErrorLog.txt")), platform::FILETYPE_NONE);
}

TEST_F(ErrorReporting, AFatalErrorInGameIsLoggedAndEndsWithAFailureStatus) {
    ccGraphicalErrors = 1;
    ASSERT_FALSE(platform::GraphicsOpen());
    try {
        ccRunTimeError("Screen 'title' does not have a destination screen set!", 1);
        FAIL() << "the process did not end";
    } catch (const EndCalled& end) {
        EXPECT_NE(end.status, 0);
    }
    EXPECT_EQ(Log(), "Date: 04 Mar 2027\r\nTime: 09:05:07\r\n"
                     "Screen 'title' does not have a destination screen set!\r\n");
    // With no display to draw the box on, the message still reaches the user.
    EXPECT_EQ(notes.size(), 1u);
    EXPECT_EQ(ccPolledInputState, 1);
}

TEST_F(ErrorReporting, TheLogHoldsOnlyTheLatestErrorAndANonFatalOneReturns) {
    EXPECT_EQ(ccRunTimeError("first", 0), 0);
    EXPECT_EQ(ccRunTimeError("second", 0), 0);
    EXPECT_EQ(Log(), "Date: 04 Mar 2027\r\nTime: 09:05:07\r\nsecond\r\n");
}

TEST_F(ErrorReporting, NoLogWhenSwitchedOffOrItsFolderIsMissing) {
    ccWriteErrors = 0;
    EXPECT_THROW(ccRunTimeError("a", 1), EndCalled);
    EXPECT_EQ(platform::FileType(dir.File("ErrorLog.txt")), platform::FILETYPE_NONE);

    ccWriteErrors = 1;
    ccErrorPath = dir.File("missing/");
    EXPECT_THROW(ccRunTimeError("b", 1), EndCalled);
    EXPECT_EQ(platform::FileType(dir.File("missing")), platform::FILETYPE_NONE);
}

TEST_F(ErrorReporting, HandleGeneralErrorPrefixesRuntimeErrorsWithTheProgress) {
    struct Case {
        int debugInt;
        std::exception_ptr error;
        std::string shown;
    };
    const std::vector<Case> cases = {
        {5, std::make_exception_ptr(platform::TRuntimeError("x")), "(5) x"},
        {0, std::make_exception_ptr(platform::TRuntimeError("x")), "x"},
        {28, std::make_exception_ptr(std::runtime_error("Cannot create Windowed Mode")),
         "(28) Cannot create Windowed Mode"},
        {5, std::make_exception_ptr(std::string("y")), "y"},
        {5, std::make_exception_ptr("z"), "z"},
        {5, std::make_exception_ptr(42), "Unknown error"},
    };
    for (const Case& c : cases) {
        notes.clear();
        logsAtTheBox.clear();
        DebugInt = c.debugInt;
        EXPECT_EQ(HandleGeneralError(c.error), 0);
        EXPECT_EQ(notes, std::vector<std::string>{c.shown}) << c.shown;
        // Logged before the box: a log-out or a kill at the box does not lose it.
        EXPECT_EQ(logsAtTheBox, std::vector<std::string>{"Date: 04 Mar 2027\r\nTime: 09:05:07\r\n" +
                                                         c.shown + "\r\n"})
            << c.shown;
    }
}

} // namespace
