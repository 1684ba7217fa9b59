// Helpers for driving the dialogs as a user does, also from inside a modal exec().
#pragma once

#include <functional>

#include <gtest/gtest.h>

#include <QApplication>
#include <QListWidget>
#include <QPushButton>
#include <QStringList>
#include <QTest>
#include <QTimer>

inline QPushButton* Button(const QWidget& dialog, const QString& text) {
    for (QPushButton* button : dialog.findChildren<QPushButton*>()) {
        if (button->text() == text) {
            return button;
        }
    }
    return nullptr;
}

inline QStringList Rows(const QListWidget& list) {
    QStringList rows;
    for (int i = 0; i < list.count(); ++i) {
        rows << list.item(i)->text();
    }
    return rows;
}

// Press, release, then the double click: item views act on a double click only on the row the press
// went to, as with a real mouse.
inline void DoubleClickRow(QListWidget& list, int row) {
    const QPoint at = list.visualItemRect(list.item(row)).center();
    QTest::mouseClick(list.viewport(), Qt::LeftButton, {}, at);
    QTest::mouseDClick(list.viewport(), Qt::LeftButton, {}, at);
}

// Once a modal widget is active, calls `act` with it, which is to end it. One still open afterwards
// is closed, and one that never appears is given up on after about five seconds: the test fails
// rather than hangs.
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
