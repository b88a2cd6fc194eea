#pragma once

// The program entry: the single-copy guard, the splash, the main window and the event loop.
int RunParlivo(int argc, char** argv);
