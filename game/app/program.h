#pragma once
// The program: start-up, the main loop and the end.

// Runs the whole program; returns only when a test replaces the end of the process.
int RunProgram();
