#pragma once

#include <QDialog>
#include <QPoint>
#include <QRect>
#include <QString>
#include <optional>

class QCheckBox;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QTextEdit;

struct FindOptions
{
    bool matchCase = false;
    bool wholeWord = false;
    bool down = true;
};

// Where `needle` first occurs in `text` searching once from `from`, never wrapping: downwards, a match that
// starts at `from` or later; upwards, the last match that ends at `from` or earlier. -1 when there is none.
// Positions count UTF-16 units; a whole word is one not joined to a letter, digit or "_" at either end.
qsizetype FindInPlainText(const QString& text, const QString& needle, qsizetype from, const FindOptions& options);

// Where the find dialog should move so that it stops covering the found text, or nothing when it may stay.
// `first` and `last` are the screen rectangles of the found text's first and last characters.
std::optional<QPoint> FindDialogPosition(const QRect& dialog, const QRect& first, const QRect& last,
                                         const QRect& screen);

// The reading area's modeless find dialog: search text, match case, whole word, direction, Find Next.
// It belongs to the reading area and is kept between uses, so it remembers its text and options.
class FindDialog : public QDialog
{
    Q_OBJECT

public:
    explicit FindDialog(QTextEdit* readingArea);

    QString searchText() const;
    void setSearchText(const QString& text);
    FindOptions options() const;
    void setOptions(const FindOptions& options);

    // Searches once from the selection and selects what it finds; tells the user and returns false when
    // there is nothing more in that direction (the selection then stays as it was).
    bool findNext();

private:
    void buFindNextClick();
    void edFindTextChange();
    void keepOutOfTheWay(qsizetype start, qsizetype length);
    QRect characterRect(qsizetype position) const;

    QTextEdit* mReadingArea;
    QLineEdit* edFindText;
    QCheckBox* cbWholeWord;
    QCheckBox* cbMatchCase;
    QRadioButton* rbUp;
    QRadioButton* rbDown;
    QPushButton* buFindNext;
    QPushButton* buCancel;
};

// Shows the reading area's find dialog, creating it on first use; the selected text, when there is any,
// becomes the search text. The dialog stays open until the user closes it.
FindDialog* FindInText(QTextEdit* readingArea);
