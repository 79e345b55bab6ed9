#include "fuzz/fuzz_support.h"

#include "framework/util/error.h"
#include "platform/files.h"
#include "platform/system.h"

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <vector>

namespace fuzz {

namespace {

std::string folder;

void RemoveFolder() {
    if (!folder.empty())
        platform::DeleteDir(folder, true);
}

} // namespace

void Setup() {
    if (!folder.empty())
        return;
    // In memory where there is such a folder: the saves flush every file to disk.
    char name[] = "/dev/shm/pelorin-fuzz-XXXXXX";
    char fallback[] = "/tmp/pelorin-fuzz-XXXXXX";
    const char* made = mkdtemp(name);
    if (!made)
        made = mkdtemp(fallback);
    if (!made)
        Fail("cannot make a scratch folder");
    folder = std::string(made) + "/";
    std::atexit(RemoveFolder);
    ccGraphicalErrors = 0;
    platform::SetNotifyHandler([](const std::string&, bool) {});
}

const std::string& Folder() {
    return folder;
}

void WriteFile(const std::string& name, const std::string& bytes) {
    std::ofstream out(folder + name, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    if (!out)
        Fail("cannot write " + folder + name);
}

void ClearFolder() {
    std::vector<std::string> names;
    platform::ReadDir(folder, names);
    for (const std::string& name : names)
        if (!platform::DeleteFile(folder + name))
            platform::DeleteDir(folder + name, true);
}

bool GuardedCall(void (*call)(void*), void* context) {
    try {
        call(context);
    } catch (const platform::TRuntimeError&) {
        return false;
    }
    return true;
}

void Fail(const std::string& what) {
    // On standard output: the runs may close standard error to quiet the program's reports.
    std::fprintf(stdout, "fuzz check failed: %s\n", what.c_str());
    std::fflush(stdout);
    std::abort();
}

} // namespace fuzz
