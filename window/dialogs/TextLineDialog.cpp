#include "window/dialogs/TextLineDialog.h"

#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>

TextLineDialog::TextLineDialog(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint)
{
    setObjectName(QStringLiteral("frmGetTextLine"));
    setWindowTitle(tr("Save"));
    setFixedSize(436, 122);
    QFont verdana(QStringLiteral("Verdana"));
    verdana.setPixelSize(11);
    setFont(verdana);

    labPrompt = new QLabel(tr("Name"), this);
    labPrompt->setObjectName(QStringLiteral("labPrompt"));
    labPrompt->setGeometry(16, 12, 401, 16);
    edFilename = new QLineEdit(this);
    edFilename->setObjectName(QStringLiteral("edFilename"));
    edFilename->setGeometry(16, 32, 401, 24);
    edFilename->setMaxLength(20);
    labPrompt->setBuddy(edFilename); // a screen reader names the field by the prompt above it
    buSave = new QPushButton(tr("&Ok"), this);
    buSave->setObjectName(QStringLiteral("buSave"));
    buSave->setGeometry(256, 76, 75, 28);
    buSave->setAutoDefault(false);
    buCancel = new QPushButton(tr("&Cancel"), this);
    buCancel->setObjectName(QStringLiteral("buCancel"));
    buCancel->setGeometry(342, 76, 75, 28);
    buCancel->setAutoDefault(false);

    connect(buSave, &QPushButton::clicked, this, &QDialog::accept);
    connect(buCancel, &QPushButton::clicked, this, &QDialog::reject);
    // Enter in the name field acts as OK.
    connect(edFilename, &QLineEdit::returnPressed, buSave, &QPushButton::click);
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->geometry().center() - rect().center());
}

QString TextLineDialog::result() const
{
    return QDialog::result() == QDialog::Accepted ? edFilename->text() : QString();
}

void TextLineDialog::keyPressEvent(QKeyEvent* event)
{
    // No cancel button and no close box: Escape does nothing, the user chooses a button or presses Enter.
    if (event->key() == Qt::Key_Escape) {
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

QString PromptLine(const QString& caption, const QString& prompt, const QString& initial)
{
    TextLineDialog window;
    window.edFilename->setText(initial);
    window.setWindowTitle(caption);
    window.labPrompt->setText(prompt);
    window.exec();
    return window.result();
}
