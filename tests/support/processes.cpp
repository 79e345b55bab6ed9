#include "tests/support/processes.h"

#include "tests/support/temp_dir.h"

#include <dirent.h>
#include <limits.h>
#include <sstream>
#include <unistd.h>

namespace testing_support {

namespace {

// The fields of /proc/<pid>/stat after the command's name (the state first); none once it is gone.
std::vector<std::string> StatFields(pid_t pid) {
    const std::string stat = ReadTextFile("/proc/" + std::to_string(pid) + "/stat");
    const size_t name = stat.rfind(')');
    std::vector<std::string> fields;
    if (name == std::string::npos)
        return fields;
    std::istringstream rest(stat.substr(name + 1));
    for (std::string field; rest >> field;)
        fields.push_back(field);
    return fields;
}

} // namespace

Process ProcessNow(pid_t pid) {
    const std::vector<std::string> fields = StatFields(pid);
    return fields.size() > 19 ? Process{pid, fields[19]} : Process{};
}

std::vector<Process> Descendants(pid_t pid) {
    std::vector<std::pair<pid_t, Process>> all; // parent, process
    if (DIR* proc = opendir("/proc")) {
        while (const dirent* entry = readdir(proc)) {
            const pid_t p = static_cast<pid_t>(std::atoi(entry->d_name));
            const std::vector<std::string> fields =
                p > 0 ? StatFields(p) : std::vector<std::string>();
            if (fields.size() > 19)
                all.push_back({std::stoi(fields[1]), Process{p, fields[19]}});
        }
        closedir(proc);
    }
    std::vector<Process> found;
    std::vector<pid_t> parents = {pid};
    while (!parents.empty()) {
        const pid_t parent = parents.back();
        parents.pop_back();
        for (const auto& [up, process] : all)
            if (up == parent) {
                found.push_back(process);
                parents.push_back(process.pid);
            }
    }
    return found;
}

bool Running(const Process& p) {
    const std::vector<std::string> fields = StatFields(p.pid);
    return p.pid > 0 && fields.size() > 19 && fields[19] == p.started && fields[0] != "Z";
}

std::vector<std::string> Arguments(pid_t pid) {
    const std::string line = ReadTextFile("/proc/" + std::to_string(pid) + "/cmdline");
    std::vector<std::string> args;
    for (size_t at = 0; at < line.size();) {
        const size_t end = line.find('\0', at);
        args.push_back(line.substr(at, end - at));
        at = end == std::string::npos ? line.size() : end + 1;
    }
    return args;
}

std::string ProgramOf(pid_t pid) {
    char path[PATH_MAX];
    const ssize_t length =
        readlink(("/proc/" + std::to_string(pid) + "/exe").c_str(), path, sizeof path);
    return length > 0 ? std::string(path, static_cast<size_t>(length)) : std::string();
}

bool Within(double seconds, const std::function<bool()>& done) {
    for (int i = 0; i <= static_cast<int>(seconds * 50); ++i) {
        if (done())
            return true;
        usleep(20000);
    }
    return done();
}

} // namespace testing_support
