#pragma once
// A fresh temporary folder for one test, removed with everything in it when the test ends. A part
// of the test that runs in a process of its own finds the same folder (see test_rerun.h).

#include <string>

namespace testing_support {

class TempDir {
public:
    // In base ("" for the system's temporary folder).
    explicit TempDir(const std::string& base = "");
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    // The folder, with a trailing "/".
    const std::string& Path() const { return path_; }
    // Path() + name.
    std::string File(const std::string& name) const { return path_ + name; }

private:
    std::string path_;
    int index_ = -1;
    bool owned_ = true;
};

// Writes bytes to a file, creating it; false on failure.
bool WriteTextFile(const std::string& path, const std::string& bytes);
// The whole file, or "" when it cannot be read.
std::string ReadTextFile(const std::string& path);
// The folder where tests leave files for people to look at (screenshots), with a trailing "/".
std::string TestOutputDir();

} // namespace testing_support
