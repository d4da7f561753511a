#pragma once
// Program entry: the command-line export when asked for, otherwise the windows.
int RunProgram(int argc, char** argv);
// Gives the application, so every window and dialog, the program's icon.
void InstallApplicationIcon();
