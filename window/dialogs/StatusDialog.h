#pragma once

#include <QDialog>
#include <QPointer>

class QLabel;
class QProgressBar;
class QPushButton;

// Tells the user that a long, blocking operation is under way; stays on top until its caller closes it.
class StatusDialog : public QDialog
{
    Q_OBJECT
public:
    explicit StatusDialog(QWidget* parent = nullptr);
    QLabel* Label1 = nullptr;
    QProgressBar* progressBar = nullptr; // shown by long operations that can tell how far they are
    QPushButton* buCancel = nullptr;

    // Shows the bar and a Cancel button and makes the window modal, so no other command starts meanwhile.
    void showProgress();
    // Sets the share done (0 to 1), or a moving bar for a negative share; repaints the window at once.
    void setProgress(double share);
    bool cancelled() const { return mCancelled; }

private:
    bool mCancelled = false;
};

using StatusHandle = QPointer<StatusDialog>;

// Shows a status window and paints it before returning; the handle is null when it could not be shown.
StatusHandle ShowStatus(const QString& caption, const QString& message);
// Closes and frees the window; a null handle is harmless.
void CloseStatus(const StatusHandle& handle);
