// "File information": what the current stream header says, as labels and values side by side.
// The main window shows it modeless, so playback goes on behind it.
#pragma once

#include <array>

#include <QDialog>

#include "file_information.h"

class QListWidget;

class CInfoDlg : public QDialog {
    Q_OBJECT

public:
    explicit CInfoDlg(const std::array<qzm::InfoRow, 9>& rows, QWidget* parent = nullptr);

private:
    QListWidget* m_labels = nullptr;  // "IDC_LIST", the left column
    QListWidget* m_values = nullptr;  // "IDC_VALUES", row i beside label i
};
