// "File information": what the current stream header says, as labels and values side by side.
// The main window shows it modeless, so playback goes on behind it.
#pragma once

#include <array>

#include <QDialog>
#include <QString>

#include "file_information.h"

class QListWidget;

class CInfoDlg : public QDialog {
    Q_OBJECT

public:
    explicit CInfoDlg(const qzm::StreamHeader& header, QWidget* parent = nullptr);

    struct Row {
        QString label;
        QString value;
    };
    // The file information in the program's language: in English exactly FileInformation's rows.
    static std::array<Row, 9> Rows(const qzm::StreamHeader& header);

private:
    QListWidget* m_labels = nullptr;  // "IDC_LIST", the left column
    QListWidget* m_values = nullptr;  // "IDC_VALUES", row i beside label i
};
