// Helpers for driving the dialogs: a double click on a list row as a user makes it, and acting on a
// modal dialog from inside its exec().
#pragma once

#include <functional>

#include <gtest/gtest.h>

#include <QApplication>
#include <QListWidget>
#include <QTest>
#include <QTimer>
#include <QWidget>

// Press, release, then the double click: item views act on a double click only on the row the press
// went to, as it is with a real mouse.
inline void DoubleClickRow(QListWidget& list, int row) {
    const QPoint at = list.visualItemRect(list.item(row)).center();
    QTest::mouseClick(list.viewport(), Qt::LeftButton, {}, at);
    QTest::mouseDClick(list.viewport(), Qt::LeftButton, {}, at);
}

// Once a modal widget is active, calls `act` with it (e.g. to click a button), which is to end it.
// A dialog still open after `act` is closed, and one that never appears is given up on after about
// five seconds: the test fails rather than hangs.
inline void WhenModal(std::function<void(QWidget*)> act, int triesLeft = 500) {
    QTimer::singleShot(10, [act = std::move(act), triesLeft]() mutable {
        if (QWidget* modal = QApplication::activeModalWidget()) {
            act(modal);
            if (modal->isVisible()) {
                ADD_FAILURE() << "the modal dialog is still open";
                modal->close();
            }
        } else if (triesLeft > 0) {
            WhenModal(std::move(act), triesLeft - 1);
        }
    });
}
