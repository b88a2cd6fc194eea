#pragma once

// Prepares the process for the embedded browser; call in main() before the QApplication exists.
// The browser's sandbox refuses to start as root, so it is switched off only then.
void PrepareWebEngineEnvironment();
