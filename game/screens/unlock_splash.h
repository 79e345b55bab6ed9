#pragma once
// The splash that announces an unlocked bonus: a full-screen picture that fades in, stays and
// fades out, skipped by any key or mouse button. It blocks the caller until it has ended, so it is
// never shown in a networked game (the connection would not be served meanwhile).

#include <string>

// The picture of bonus n in imageFolder: "unlock" (n 0) or "unlock" + n, as PNG when that file
// exists, otherwise the JPEG path (whether or not it exists).
std::string UnlockPicturePath(const std::string& imageFolder, int n);

// Shows bonus n's picture for about 14 seconds (2 s in, 10 s full, 2 s out); always 0.
int UnlockSplash(int n);
