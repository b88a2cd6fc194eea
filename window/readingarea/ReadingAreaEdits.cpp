#include "window/readingarea/ReadingAreaEdits.h"
#include "formats/DocumentLoading.h"

#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextDocumentFragment>
#include <QTextEdit>

namespace {
// Runs `edit` on a cursor over the whole text, inside one edit block, with plain formats where the old text was.
template <typename Edit> void replaceWhole(QTextEdit* readingArea, Edit edit)
{
    QTextCursor cursor(readingArea->document());
    cursor.beginEditBlock();
    RemoveWholeText(cursor);
    edit(cursor);
    cursor.endEditBlock();
    cursor.setPosition(0);
    readingArea->setTextCursor(cursor);
}
} // namespace

void ClearReadingAreaText(QTextEdit* readingArea)
{
    replaceWhole(readingArea, [](QTextCursor&) {});
}

void ReplaceReadingAreaText(QTextEdit* readingArea, const QString& text)
{
    replaceWhole(readingArea, [&text](QTextCursor& cursor) { cursor.insertText(text); });
}

void ReplaceReadingAreaContent(QTextEdit* readingArea, const QTextDocument& content)
{
    replaceWhole(readingArea, [&content](QTextCursor& cursor) {
        cursor.insertFragment(QTextDocumentFragment(&content));
        // The fragment gives its first paragraph the format of the one it lands in; give back its own.
        QTextCursor first(cursor.document());
        first.setBlockFormat(content.firstBlock().blockFormat());
        first.setBlockCharFormat(content.firstBlock().charFormat());
    });
}

int AppendReadingAreaText(QTextEdit* readingArea, const QString& text)
{
    QTextCursor end(readingArea->document());
    end.beginEditBlock();
    end.movePosition(QTextCursor::End);
    end.insertBlock(QTextBlockFormat(), QTextCharFormat());
    const int from = end.position();
    end.insertText(text, QTextCharFormat());
    end.endEditBlock();
    return from;
}
