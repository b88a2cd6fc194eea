#include "window/readingarea/DocumentSaver.h"

#include "core/AtomicFile.h"
#include "core/TextRoutines.h"
#include "core/Errors.h"
#include "formats/RtfWriter.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QTextEdit>

namespace {

bool hasExtension(const QString& path, QLatin1StringView extension)
{
    return QFileInfo(path).suffix().compare(extension, Qt::CaseInsensitive) == 0;
}

QByteArray plainTextBytes(const QString& text)
{
    QString withCrLf = text;
    withCrLf.replace(QLatin1Char('\n'), QLatin1String("\r\n"));
    return withCrLf.toUtf8();
}

FileError writeError(const QString& path, const QString& reason)
{
    // The reason is a sentence of its own ("the disk is full" becomes "The disk is full").
    return FileError(QCoreApplication::translate("DocumentSaver", "Cannot create file \"%1\". %2")
                         .arg(QDir::toNativeSeparators(path), reason.left(1).toUpper() + reason.mid(1)));
}

} // namespace

FileDialogSpec saveTextDialog()
{
    FileDialogSpec dialog;
    dialog.title = QCoreApplication::translate("DocumentSaver", "Save Text Document");
    dialog.filter = QCoreApplication::translate("DocumentSaver", "Text File (*.txt)|*.txt|RichText File (*.rtf)|*.rtf");
    dialog.defaultExtension = QStringLiteral("txt");
    return dialog;
}

SaveFormat saveFormatFor(const QString& path, TextMode mode)
{
    if (hasExtension(path, QLatin1StringView("txt")))
        return SaveFormat::PlainText;
    if (hasExtension(path, QLatin1StringView("rtf")))
        return SaveFormat::RichText;
    return mode == TextMode::Rich ? SaveFormat::RichText : SaveFormat::PlainText;
}

bool nothingToSave(const QTextEdit* readingArea)
{
    return TrimControl(readingArea->toPlainText()).isEmpty() && !readingArea->document()->isModified();
}

void writeReadingArea(const QTextEdit* readingArea, const QString& path, SaveFormat format)
{
    const QByteArray bytes =
        format == SaveFormat::RichText ? writeRtf(readingArea->document()) : plainTextBytes(readingArea->toPlainText());
    AtomicFile file(path);
    if (!file.open() || !file.write(bytes) || !file.commit())
        throw writeError(path, file.errorString());
}

void SaveTextTo(QTextEdit* readingArea, const QString& path, TextMode& mode)
{
    SwitchTextMode(readingArea, mode, hasExtension(path, QLatin1StringView("txt")) ? TextMode::Plain : TextMode::Rich);
    writeReadingArea(readingArea, path, saveFormatFor(path, mode));
}

void SaveTextAsTo(QTextEdit* readingArea, const QString& path, TextMode& mode)
{
    SwitchTextMode(readingArea, mode, TextMode::Plain);
    writeReadingArea(readingArea, path, saveFormatFor(path, mode));
    SwitchTextMode(readingArea, mode, TextMode::Rich);
}

namespace {

// The name chosen in the save dialog, or an empty string when there is nothing to save or the user
// cancelled.
QString chooseSaveName(const QTextEdit* readingArea)
{
    if (nothingToSave(readingArea)) {
        prompts().message(QCoreApplication::translate("DocumentSaver", "There is nothing to save."),
                          MessageKind::Information);
        return {};
    }
    const FileDialogSpec dialog = saveTextDialog();
    return withDefaultExtension(prompts().saveFile(dialog), dialog.defaultExtension);
}

} // namespace

bool SaveReadingArea(QTextEdit* readingArea, TextMode& mode)
{
    const QString path = chooseSaveName(readingArea);
    if (path.isEmpty())
        return false;
    SaveTextTo(readingArea, path, mode);
    return true;
}

bool SaveReadingAreaAs(QTextEdit* readingArea, TextMode& mode)
{
    const QString path = chooseSaveName(readingArea);
    if (path.isEmpty())
        return false;
    SaveTextAsTo(readingArea, path, mode);
    return true;
}
