#pragma once

// The program entry: the single-copy guard, the splash, the main window and the event loop.
int RunParlivo(int argc, char** argv);

class MainWindow;

// However the program is asked to end, the reader's work is kept first: on a signal to end (SIGTERM at logout or
// from `kill`, SIGHUP, SIGINT) the window keeps its work and the program quits; when the desktop session asks the
// program to save, and as it quits, the work is kept too.
void KeepWorkAtTheEnd(MainWindow& reader);
