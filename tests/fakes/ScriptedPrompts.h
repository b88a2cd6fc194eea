#pragma once

#include "core/Prompts.h"

#include <QList>
#include <QStringList>

// Answers every modal question from a script and records what was asked, so no test blocks on a window.
// Installs itself for its lifetime.
class ScriptedPrompts : public Prompts
{
public:
    ScriptedPrompts();
    ~ScriptedPrompts() override;

    QStringList messages; // every message shown, in order
    QList<MessageKind> messageKinds;
    QStringList questions; // every confirmation asked
    QList<bool> answers;   // answers to confirmations, in order; Yes when the list runs out
    QStringList choiceDetails; // the details under each question with several answers
    QList<int> choices;        // answers to those questions, in order; the first answer when the list runs out
    QStringList files;     // answers to file dialogs, in order; cancel when the list runs out
    QList<FileDialogSpec> fileDialogs;
    QList<std::optional<QColor>> colours;
    QStringList lines; // answers to promptLine
    QStringList lineCaptions;

    void message(const QString& text, MessageKind kind) override;
    bool confirm(const QString& text) override;
    int choose(const QString& text, const QString& details, const QStringList& answers) override;
    QString openFile(const FileDialogSpec& request) override;
    QString saveFile(const FileDialogSpec& request) override;
    std::optional<QColor> pickColour(const QColor& initial) override;
    QString promptLine(const QString& caption, const QString& prompt, const QString& initial) override;
};
