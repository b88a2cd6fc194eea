#pragma once

#include <QDialog>

class QLabel;
class QLineEdit;
class QPushButton;

// Asks for one short line of text, such as the name of a colour scheme.
class TextLineDialog : public QDialog
{
    Q_OBJECT
public:
    explicit TextLineDialog(QWidget* parent = nullptr);

    // The line entered, exactly as typed, when accepted; otherwise the empty string.
    QString result() const;

    QLabel* labPrompt = nullptr;
    QLineEdit* edFilename = nullptr;
    QPushButton* buSave = nullptr;
    QPushButton* buCancel = nullptr;

protected:
    void keyPressEvent(QKeyEvent* event) override;
};

// Shows the name prompt modally; the text entered, or an empty string.
QString PromptLine(const QString& caption, const QString& prompt, const QString& initial);
