#pragma once
// The small programs of the layer that stand beside the game (the message box, the audio probe),
// started in a process of their own.

#include <string>
#include <sys/types.h>
#include <vector>

namespace platform::detail {

// Starts AppDir() + name with args: in a process group of its own when ownGroup, with errorFd as
// its standard error when it is not -1, none of this process's other descriptors, no signal
// blocked, and SIGINT, SIGTERM and SIGHUP at their default action unless ignored. Safe on any
// thread: nothing but async-signal-safe calls between the fork and the exec. The child's process
// id, or -1 when the program is missing or could not be started (nothing is left to reap then).
pid_t StartProgramBeside(const std::string& name, const std::vector<std::string>& args,
                         bool ownGroup, int errorFd = -1);

} // namespace platform::detail
