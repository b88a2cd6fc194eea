#include "fakes/ScriptedPrompts.h"

ScriptedPrompts::ScriptedPrompts()
{
    setPrompts(this);
}

ScriptedPrompts::~ScriptedPrompts()
{
    setPrompts(nullptr);
}

void ScriptedPrompts::message(const QString& text, MessageKind kind)
{
    messages << text;
    messageKinds << kind;
}

bool ScriptedPrompts::confirm(const QString& text)
{
    questions << text;
    return answers.isEmpty() ? true : answers.takeFirst();
}

int ScriptedPrompts::choose(const QString& text, const QString& details, const QStringList&)
{
    questions << text;
    choiceDetails << details;
    return choices.isEmpty() ? 0 : choices.takeFirst();
}

QString ScriptedPrompts::openFile(const FileDialogSpec& request)
{
    fileDialogs << request;
    return files.isEmpty() ? QString() : files.takeFirst();
}

QString ScriptedPrompts::saveFile(const FileDialogSpec& request)
{
    fileDialogs << request;
    return files.isEmpty() ? QString() : withDefaultExtension(files.takeFirst(), request.defaultExtension);
}

std::optional<QColor> ScriptedPrompts::pickColour(const QColor&)
{
    return colours.isEmpty() ? std::nullopt : colours.takeFirst();
}

QString ScriptedPrompts::promptLine(const QString& caption, const QString&, const QString&)
{
    lineCaptions << caption;
    return lines.isEmpty() ? QString() : lines.takeFirst();
}
