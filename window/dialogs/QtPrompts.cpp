#include "window/dialogs/QtPrompts.h"

#include "window/dialogs/TextLineDialog.h"

#include <QApplication>
#include <QColorDialog>
#include <QFileDialog>
#include <QMessageBox>
#include <QPushButton>

namespace {
QString runFileDialog(const FileDialogSpec& request, QFileDialog::AcceptMode mode)
{
    QFileDialog dialog(QApplication::activeWindow(), request.title, request.initialFolder);
    dialog.setAcceptMode(mode);
    dialog.resize(820, 520);
    dialog.setNameFilter(qtFilterFromWindowsFilter(request.filter));
    dialog.setDefaultSuffix(request.defaultExtension);
    dialog.setFileMode(mode == QFileDialog::AcceptOpen && request.mustExist ? QFileDialog::ExistingFile
                                                                            : QFileDialog::AnyFile);
    // The design replaces existing files without a question.
    dialog.setOption(QFileDialog::DontConfirmOverwrite);
    if (!request.fileName.isEmpty())
        dialog.selectFile(request.fileName);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    return dialog.selectedFiles().constFirst();
}
} // namespace

void QtPrompts::message(const QString& text, MessageKind kind)
{
    const QString title = QApplication::applicationDisplayName();
    switch (kind) {
    case MessageKind::Error:
        QMessageBox::critical(QApplication::activeWindow(), title, text);
        break;
    case MessageKind::Warning:
        QMessageBox::warning(QApplication::activeWindow(), title, text);
        break;
    case MessageKind::Information:
        QMessageBox::information(QApplication::activeWindow(), title, text);
        break;
    }
}

bool QtPrompts::confirm(const QString& text)
{
    return QMessageBox::question(QApplication::activeWindow(), QApplication::applicationDisplayName(), text,
                                 QMessageBox::Yes | QMessageBox::No) == QMessageBox::Yes;
}

int QtPrompts::choose(const QString& text, const QString& details, const QStringList& answers)
{
    QMessageBox box(QMessageBox::Question, QApplication::applicationDisplayName(), text, QMessageBox::NoButton,
                    QApplication::activeWindow());
    box.setInformativeText(details);
    QList<QAbstractButton*> buttons;
    for (qsizetype i = 0; i < answers.size(); ++i)
        buttons << box.addButton(answers[i],
                                 i + 1 == answers.size() ? QMessageBox::RejectRole : QMessageBox::AcceptRole);
    if (!buttons.isEmpty()) {
        box.setDefaultButton(qobject_cast<QPushButton*>(buttons.constFirst()));
        box.setEscapeButton(buttons.constLast());
    }
    box.exec();
    const qsizetype chosen = buttons.indexOf(box.clickedButton());
    return int(chosen < 0 ? answers.size() - 1 : chosen);
}

QString QtPrompts::openFile(const FileDialogSpec& request)
{
    return runFileDialog(request, QFileDialog::AcceptOpen);
}

QString QtPrompts::saveFile(const FileDialogSpec& request)
{
    return runFileDialog(request, QFileDialog::AcceptSave);
}

std::optional<QColor> QtPrompts::pickColour(const QColor& initial)
{
    const QColor colour = QColorDialog::getColor(initial, QApplication::activeWindow());
    if (!colour.isValid())
        return std::nullopt;
    return colour;
}

QString QtPrompts::promptLine(const QString& caption, const QString& prompt, const QString& initial)
{
    return PromptLine(caption, prompt, initial);
}
