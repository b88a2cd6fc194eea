#pragma once

#include "core/Errors.h"

#include <QByteArray>
#include <QString>

#include <atomic>
#include <chrono>

// Word-processor documents (.doc and the like) are opened by converting them with LibreOffice, run
// headless with a private profile so that it never meets the user's own LibreOffice windows.

// Raised when no word processor is installed, when it fails or when it does not finish in time.
class WordProcessorError : public ParlivoError
{
    using ParlivoError::ParlivoError;
};

// The program that converts: the one set with setWordProcessorProgram, else "soffice" or "libreoffice"
// found on PATH; empty when there is none.
QString wordProcessorProgram();
// Tests point the conversion at another program; an empty string brings back the search on PATH.
void setWordProcessorProgram(const QString& program);

// Converts the document at `path` to `format` (a LibreOffice export format such as "rtf", "html",
// "txt" or "doc") and returns the bytes of the converted document. Waits at most `limit`, and only until
// `stop` (when given) is set, keeping the windows painted but taking no user input meanwhile; a converter
// still running then is killed with everything it started. Leaves no files behind. Throws WordProcessorError.
QByteArray convertDocument(const QString& path, const QString& format,
                           std::chrono::milliseconds limit = std::chrono::seconds(60),
                           const std::atomic<bool>* stop = nullptr);

// Removes the work folders of conversions whose Parlivo has gone (killed, or the computer turned off during
// a conversion) from the temporary folder, leaving those of conversions still running. Run at start.
void removeStaleConversionFolders();
