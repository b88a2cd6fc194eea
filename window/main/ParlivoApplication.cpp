#include "window/main/ParlivoApplication.h"

#include "core/Prompts.h"

void ShowErrorBox(const QString& text)
{
    prompts().message(text, MessageKind::Error);
}

bool ParlivoApplication::notify(QObject* receiver, QEvent* event)
{
    try {
        return QApplication::notify(receiver, event);
    } catch (const std::exception& error) {
        ShowErrorBox(QString::fromUtf8(error.what()));
    } catch (...) {
        ShowErrorBox(tr("An unexpected error occurred."));
    }
    return false;
}
