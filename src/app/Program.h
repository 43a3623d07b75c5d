#pragma once

// The program entry: the title, the windows in their order, the event loop.
int runProgram(int argc, char* argv[]);
