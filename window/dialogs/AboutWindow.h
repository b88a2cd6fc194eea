#pragma once

#include <QDialog>

class QLabel;
class QTimer;

// The about window, shown as a four-second splash before the main window is made.
class AboutWindow : public QDialog
{
    Q_OBJECT
public:
    explicit AboutWindow(QWidget* parent = nullptr);

    QLabel* Image1 = nullptr;
    QLabel* Image2 = nullptr;
    QLabel* laProductName = nullptr;
    QLabel* laVersion = nullptr;
    QLabel* laEdition = nullptr;
    QTimer* tiAbout = nullptr;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
};

// Shows the about window modally until its timer closes it (four seconds).
void ShowAbout(const QString& edition, int milliseconds = 4000);
