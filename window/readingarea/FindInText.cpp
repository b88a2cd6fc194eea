#include "window/readingarea/FindInText.h"

#include "core/Prompts.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextEdit>
#include <QVBoxLayout>

namespace {

bool isWordCharacter(char32_t c)
{
    return QChar::isLetterOrNumber(c) || QChar::isMark(c) || c == U'_';
}

// The code point that ends just before `position`, or 0 at the start.
char32_t codePointBefore(const QString& text, qsizetype position)
{
    if (position <= 0)
        return 0;
    const QChar c = text.at(position - 1);
    if (c.isLowSurrogate() && position >= 2 && text.at(position - 2).isHighSurrogate())
        return QChar::surrogateToUcs4(text.at(position - 2), c);
    return c.unicode();
}

char32_t codePointAt(const QString& text, qsizetype position)
{
    if (position >= text.size())
        return 0;
    const QChar c = text.at(position);
    if (c.isHighSurrogate() && position + 1 < text.size() && text.at(position + 1).isLowSurrogate())
        return QChar::surrogateToUcs4(c, text.at(position + 1));
    return c.unicode();
}

bool isWholeWord(const QString& text, qsizetype start, qsizetype length)
{
    const qsizetype end = start + length;
    const bool joinedBefore =
        isWordCharacter(codePointBefore(text, start)) && isWordCharacter(codePointAt(text, start));
    const bool joinedAfter = isWordCharacter(codePointBefore(text, end)) && isWordCharacter(codePointAt(text, end));
    return !joinedBefore && !joinedAfter;
}

// A match must not split a surrogate pair: that would select half an emoji.
bool splitsPair(const QString& text, qsizetype position)
{
    return position > 0 && position < text.size() && text.at(position).isLowSurrogate() &&
           text.at(position - 1).isHighSurrogate();
}

bool acceptable(const QString& text, qsizetype start, qsizetype length, const FindOptions& options)
{
    if (splitsPair(text, start) || splitsPair(text, start + length))
        return false;
    return !options.wholeWord || isWholeWord(text, start, length);
}

// The selection as the search text: paragraph breaks as the document's plain text writes them.
QString plainSelection(const QTextCursor& cursor)
{
    QString text = cursor.selectedText();
    text.replace(QChar::ParagraphSeparator, QLatin1Char('\n'));
    text.replace(QChar::LineSeparator, QLatin1Char('\n'));
    text.replace(QChar::Nbsp, QLatin1Char(' '));
    return text;
}

} // namespace

qsizetype FindInPlainText(const QString& text, const QString& needle, qsizetype from, const FindOptions& options)
{
    if (needle.isEmpty())
        return -1;
    const Qt::CaseSensitivity cs = options.matchCase ? Qt::CaseSensitive : Qt::CaseInsensitive;
    from = std::clamp<qsizetype>(from, 0, text.size());
    if (options.down) {
        for (qsizetype at = text.indexOf(needle, from, cs); at >= 0; at = text.indexOf(needle, at + 1, cs)) {
            if (acceptable(text, at, needle.size(), options))
                return at;
        }
        return -1;
    }
    // QString::lastIndexOf reads a negative start as counted from the end, so stop before that.
    for (qsizetype start = from - needle.size(); start >= 0;) {
        const qsizetype at = text.lastIndexOf(needle, start, cs);
        if (at < 0)
            return -1;
        if (acceptable(text, at, needle.size(), options))
            return at;
        start = at - 1;
    }
    return -1;
}

std::optional<QPoint> FindDialogPosition(const QRect& dialog, const QRect& first, const QRect& last,
                                         const QRect& screen)
{
    if (!dialog.intersects(first) && !dialog.intersects(last))
        return std::nullopt;
    const int textTop = first.top();
    if (dialog.height() + 20 < textTop - screen.top())
        return QPoint(dialog.x(), textTop - 20 - dialog.height());
    // Below the text only when the whole dialog then stays on the screen.
    if (textTop + 40 + dialog.height() <= screen.bottom() + 1)
        return QPoint(dialog.x(), textTop + 40);
    return std::nullopt;
}

FindDialog::FindDialog(QTextEdit* readingArea)
    : QDialog(readingArea), mReadingArea(readingArea), edFindText(new QLineEdit(this)),
      cbWholeWord(new QCheckBox(tr("Match &whole word only"), this)),
      cbMatchCase(new QCheckBox(tr("Match &case"), this)), rbUp(new QRadioButton(tr("&Up"), this)),
      rbDown(new QRadioButton(tr("&Down"), this)), buFindNext(new QPushButton(tr("&Find Next"), this)),
      buCancel(new QPushButton(tr("Cancel"), this))
{
    setObjectName(QStringLiteral("FindDialog"));
    setWindowTitle(tr("Find"));
    setModal(false);
    edFindText->setObjectName(QStringLiteral("edFindText"));
    cbWholeWord->setObjectName(QStringLiteral("cbWholeWord"));
    cbMatchCase->setObjectName(QStringLiteral("cbMatchCase"));
    rbUp->setObjectName(QStringLiteral("rbUp"));
    rbDown->setObjectName(QStringLiteral("rbDown"));
    buFindNext->setObjectName(QStringLiteral("buFindNext"));
    buCancel->setObjectName(QStringLiteral("buCancel"));
    rbDown->setChecked(true);
    buFindNext->setDefault(true);
    buFindNext->setEnabled(false);

    auto* label = new QLabel(tr("Fi&nd what:"), this);
    label->setBuddy(edFindText);
    auto* direction = new QGroupBox(tr("Direction"), this);
    auto* directionLayout = new QHBoxLayout(direction);
    directionLayout->addWidget(rbUp);
    directionLayout->addWidget(rbDown);

    auto* searchRow = new QHBoxLayout;
    searchRow->addWidget(label);
    searchRow->addWidget(edFindText, 1);
    auto* options = new QVBoxLayout;
    options->addWidget(cbWholeWord);
    options->addWidget(cbMatchCase);
    auto* optionsRow = new QHBoxLayout;
    optionsRow->addLayout(options);
    optionsRow->addWidget(direction);
    auto* left = new QVBoxLayout;
    left->addLayout(searchRow);
    left->addLayout(optionsRow);
    auto* buttons = new QVBoxLayout;
    buttons->addWidget(buFindNext);
    buttons->addWidget(buCancel);
    buttons->addStretch();
    auto* layout = new QHBoxLayout(this);
    layout->addLayout(left, 1);
    layout->addLayout(buttons);

    connect(buFindNext, &QPushButton::clicked, this, &FindDialog::buFindNextClick);
    connect(buCancel, &QPushButton::clicked, this, &FindDialog::reject);
    connect(edFindText, &QLineEdit::textChanged, this, &FindDialog::edFindTextChange);
}

QString FindDialog::searchText() const
{
    return edFindText->text();
}

void FindDialog::setSearchText(const QString& text)
{
    edFindText->setText(text);
}

FindOptions FindDialog::options() const
{
    return {cbMatchCase->isChecked(), cbWholeWord->isChecked(), rbDown->isChecked()};
}

void FindDialog::setOptions(const FindOptions& options)
{
    cbMatchCase->setChecked(options.matchCase);
    cbWholeWord->setChecked(options.wholeWord);
    (options.down ? rbDown : rbUp)->setChecked(true);
}

bool FindDialog::findNext()
{
    const QString needle = searchText();
    if (needle.isEmpty())
        return false;
    const FindOptions how = options();
    QTextCursor cursor = mReadingArea->textCursor();
    const qsizetype from = how.down ? cursor.selectionEnd() : cursor.selectionStart();
    // The document's plain text counts each paragraph break as one character, so its positions are the
    // cursor's positions.
    const qsizetype found = FindInPlainText(mReadingArea->document()->toPlainText(), needle, from, how);
    if (found < 0) {
        prompts().message(tr("Could not find the text \"%1\".").arg(needle), MessageKind::Information);
        return false;
    }
    cursor.setPosition(int(found));
    cursor.setPosition(int(found + needle.size()), QTextCursor::KeepAnchor);
    mReadingArea->setTextCursor(cursor);
    mReadingArea->ensureCursorVisible();
    keepOutOfTheWay(found, needle.size());
    return true;
}

void FindDialog::buFindNextClick()
{
    findNext();
}

void FindDialog::edFindTextChange()
{
    buFindNext->setEnabled(!edFindText->text().isEmpty());
}

QRect FindDialog::characterRect(qsizetype position) const
{
    QTextCursor cursor(mReadingArea->document());
    cursor.setPosition(int(position));
    QRect rect = mReadingArea->cursorRect(cursor);
    if (cursor.movePosition(QTextCursor::NextCharacter)) {
        const QRect next = mReadingArea->cursorRect(cursor);
        if (next.top() == rect.top())
            rect = rect.united(next);
    }
    QWidget* viewport = mReadingArea->viewport();
    return QRect(viewport->mapToGlobal(rect.topLeft()), rect.size());
}

void FindDialog::keepOutOfTheWay(qsizetype start, qsizetype length)
{
    if (!isVisible())
        return;
    const QScreen* where = screen();
    if (!where)
        return;
    const auto moved = FindDialogPosition(frameGeometry(), characterRect(start),
                                          characterRect(start + std::max<qsizetype>(length - 1, 0)), where->geometry());
    if (moved)
        move(*moved);
}

FindDialog* FindInText(QTextEdit* readingArea)
{
    auto* dialog = readingArea->findChild<FindDialog*>(QString(), Qt::FindDirectChildrenOnly);
    if (!dialog)
        dialog = new FindDialog(readingArea);
    const QString selected = plainSelection(readingArea->textCursor());
    if (!selected.isEmpty())
        dialog->setSearchText(selected);
    dialog->show();
    dialog->raise();
    dialog->activateWindow();
    return dialog;
}
