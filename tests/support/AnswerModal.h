#pragma once

#include <QApplication>
#include <QPointer>
#include <QTimer>
#include <QWidget>
#include <gtest/gtest.h>

// Answers the modal window the code under test is about to show: once its event loop runs, `answer` gets the
// window as a Window and must close it. Should another window or none be showing, or should the window still
// be open after `answer` (a failed ASSERT inside it returns early), the failure is recorded and the window is
// hidden, which ends its event loop: the test fails at once instead of waiting for a window nobody closes.
template <typename Window, typename Answer> void answerModal(Answer answer)
{
    QTimer::singleShot(0, [answer] {
        const QPointer<QWidget> modal = QApplication::activeModalWidget();
        auto* window = qobject_cast<Window*>(modal.data());
        if (!window) {
            ADD_FAILURE() << "expected a modal " << Window::staticMetaObject.className() << ", found "
                          << (modal ? modal->metaObject()->className() : "none");
        } else {
            answer(window);
        }
        if (modal && modal->isVisible()) {
            ADD_FAILURE() << "the modal " << modal->metaObject()->className() << " was left open";
            modal->hide();
        }
    });
}
