#pragma once

#include <QApplication>

// The application object: a failure that escapes any handler is shown in the general error box with its own
// text, and the program goes on.
class ParlivoApplication : public QApplication
{
    Q_OBJECT
public:
    using QApplication::QApplication;
    bool notify(QObject* receiver, QEvent* event) override;
};

// The general error box.
void ShowErrorBox(const QString& text);
