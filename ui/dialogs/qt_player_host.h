// The player's host in the window: messages as modal message boxes, the choice among several videos
// through the select-file dialog.
#pragma once

#include <QPointer>
#include <QString>
#include <QWidget>

#include "player_host.h"

class QtPlayerHost : public qzm::IPlayerHost {
public:
    explicit QtPlayerHost(QWidget* parent = nullptr);

    // The window that owns the message boxes and the chooser (the main window, once it exists).
    void SetParent(QWidget* parent);

    // A modal box titled "QZM Player" with `text` in the program's language and one OK button.
    void ShowMessage(std::string_view text) override;
    // The select-file dialog over `names` (UTF-8); the chosen row, or -1 when dismissed.
    int ChooseVideo(std::span<const std::string> names) override;

    // One of the engine's fixed texts in the program's language; any other text (UTF-8, which the
    // window words itself) as it is.
    static QString Translated(std::string_view text);

private:
    QPointer<QWidget> m_parent;
};
