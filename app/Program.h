#pragma once
// Program entry: the command-line export when asked for, otherwise the windows.
int RunProgram(int argc, char** argv);
