#pragma once
// Fatal errors as a test sees them: before start-up's handler runs, ccRunTimeError shows the
// message box and raises the error, which the test catches.

#include "framework/util/error.h"
#include "platform/system.h"

#include <string>
#include <vector>

class FatalErrorCapture {
public:
    FatalErrorCapture() : saved_(ccGraphicalErrors) {
        ccGraphicalErrors = 0;
        platform::SetNotifyHandler(
            [this](const std::string& text, bool) { Messages.push_back(text); });
    }
    ~FatalErrorCapture() {
        platform::SetNotifyHandler(nullptr);
        ccGraphicalErrors = saved_;
    }
    FatalErrorCapture(const FatalErrorCapture&) = delete;
    FatalErrorCapture& operator=(const FatalErrorCapture&) = delete;

    // The message of the error that fn raises, or "" when it raises none.
    template <class Fn> static std::string MessageOf(Fn&& fn) {
        try {
            fn();
        } catch (const platform::TRuntimeError& error) {
            return error.what();
        }
        return std::string();
    }

    std::vector<std::string> Messages; // what the message box showed

private:
    int saved_;
};
