#pragma once

#include "core/Prompts.h"

// The real dialogs: message boxes, file and colour dialogs, and the name prompt.
class QtPrompts : public Prompts
{
public:
    void message(const QString& text, MessageKind kind) override;
    bool confirm(const QString& text) override;
    int choose(const QString& text, const QString& details, const QStringList& answers) override;
    QString openFile(const FileDialogSpec& request) override;
    QString saveFile(const FileDialogSpec& request) override;
    std::optional<QColor> pickColour(const QColor& initial) override;
    QString promptLine(const QString& caption, const QString& prompt, const QString& initial) override;
};
