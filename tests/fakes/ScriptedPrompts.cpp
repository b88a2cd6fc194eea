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

QString ScriptedPrompts::openFile(const FileDialogSpec& spec)
{
    fileDialogs << spec;
    return files.isEmpty() ? QString() : files.takeFirst();
}

QString ScriptedPrompts::saveFile(const FileDialogSpec& spec)
{
    fileDialogs << spec;
    return files.isEmpty() ? QString() : withDefaultExtension(files.takeFirst(), spec.defaultExtension);
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
