#pragma once

#include <QDialog>
#include <QPointer>

class QLabel;

// Tells the user that a long, blocking operation is under way; stays on top until its caller closes it.
class TfrmStatus : public QDialog
{
    Q_OBJECT
public:
    explicit TfrmStatus(QWidget* parent = nullptr);
    QLabel* Label1 = nullptr;
};

using StatusHandle = QPointer<TfrmStatus>;

// Shows a status window and paints it before returning; the handle is null when it could not be shown.
StatusHandle ShowStatus(const QString& caption, const QString& message);
// Closes and frees the window; a null handle is harmless.
void CloseStatus(const StatusHandle& handle);
