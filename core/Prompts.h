#pragma once

#include <QColor>
#include <QString>
#include <QStringList>
#include <optional>

// What a file dialog shows. The filter is written the Windows way,
// "Text File (*.txt)|*.txt|RichText File (*.rtf)|*.rtf", so the design's texts stay as they are.
struct FileDialogSpec
{
    QString title;
    QString filter;
    QString defaultExtension; // added to a name typed without one, e.g. "txt"
    QString initialFolder;
    QString fileName; // preset name
    bool mustExist = false;
};

enum class MessageKind
{
    Information,
    Error,
    Warning
};

// Every modal interaction goes through this interface: the program installs the Qt version,
// tests install a scripted one that answers from a script and records the questions.
class Prompts
{
public:
    virtual ~Prompts() = default;

    virtual void message(const QString& text, MessageKind kind = MessageKind::Information) = 0;
    // A question with Yes and No; true for Yes.
    virtual bool confirm(const QString& text) = 0;
    // A question with a button for each answer, the last one cancelling (Escape and the close box too);
    // `details` is shown under the question. The index of the answer chosen.
    virtual int choose(const QString& text, const QString& details, const QStringList& answers) = 0;
    // The chosen path, or an empty string when the user cancelled.
    virtual QString openFile(const FileDialogSpec& request) = 0;
    virtual QString saveFile(const FileDialogSpec& request) = 0;
    // The chosen colour, or nothing when the user cancelled.
    virtual std::optional<QColor> pickColour(const QColor& initial) = 0;
    // The line entered exactly as typed, or an empty string (cancel and an empty line alike).
    virtual QString promptLine(const QString& caption, const QString& prompt, const QString& initial) = 0;
};

// The prompts the whole program uses; the program and tests install theirs at start.
Prompts& prompts();
void setPrompts(Prompts* prompts);

// Turns "Text File (*.txt)|*.txt|Rich (*.rtf)|*.rtf" into Qt's "Text File (*.txt);;Rich (*.rtf)".
QString qtFilterFromWindowsFilter(const QString& filter);
// Adds ".ext" to a file name that has no extension.
QString withDefaultExtension(const QString& path, const QString& extension);
