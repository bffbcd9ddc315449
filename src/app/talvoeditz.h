#pragma once

// The program: the one-instance rule, the application, the six windows
// and the event loop. Returns the process's exit code.
int runTalvoEditZ(int argc, char **argv);
