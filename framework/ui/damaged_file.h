#pragma once
// What the profile and score files do with a file they cannot read: it is moved aside, never
// overwritten, so that nothing is lost, and a line on standard error says where it went.

#include <string>

// Renames the file (or whatever stands in its place) to a free name beside it: path +
// ".damaged", then ".damaged.2", ".damaged.3", ... and reports "<what>: '<path>' is damaged; kept
// as '<new name>', <replacement>". True when it was moved; when it could not be, that is reported
// instead and the file is left as it is.
bool KeepDamagedFile(const std::string& path, const std::string& what,
                     const std::string& replacement);
