#pragma once

// Set from a signal handler (Ctrl+C) and checked between pieces of work, so an interrupted export removes its
// temporary files and a spoken text stops cleanly.
void RequestStop();
bool StopRequested();
void ClearStopRequest();
