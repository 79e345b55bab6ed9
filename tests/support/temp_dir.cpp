#include "tests/support/temp_dir.h"

#include "tests/support/test_rerun.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace testing_support {

TempDir::TempDir(const std::string& base) {
    const TestFolder folder = NewTestFolder(base);
    path_ = folder.path;
    index_ = folder.index;
    owned_ = folder.owned;
}

TempDir::~TempDir() {
    TestFolderGone(index_);
    std::error_code ec;
    if (owned_)
        std::filesystem::remove_all(path_, ec);
}

bool WriteTextFile(const std::string& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << bytes;
    return static_cast<bool>(out);
}

std::string ReadTextFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

std::string TestOutputDir() {
    const char* env = std::getenv("PELORIN_TEST_OUTPUT");
    std::string dir =
        env && *env ? env
                    : (std::filesystem::temp_directory_path() / "pelorin-test-output").string();
    std::filesystem::create_directories(dir);
    return dir + "/";
}

} // namespace testing_support
