#pragma once
// The program: start-up, the shared data loaded once, the main loop and the orderly end.

// Runs the whole program; it ends the process in Shutdown or in a fatal error, so it returns only
// when a test has replaced the end of the process.
int RunProgram();
// Loads the shared sounds, images and the player profile, then shows the first screen.
int LoadData();
// Ends the process in order: the good-exit marker, the system pointer, then the exit status (0
// after a normal end, non-zero after an error that start-up caught).
[[noreturn]] void Shutdown(int status = 0);
// Hook for releasing the game's resources before the end.
int CleanUp();
