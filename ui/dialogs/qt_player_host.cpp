#include "qt_player_host.h"

#include <QMessageBox>
#include <QStringList>

#include "select_file_dialog.h"

QtPlayerHost::QtPlayerHost(QWidget* parent) : m_parent(parent) {}

void QtPlayerHost::SetParent(QWidget* parent) {
    m_parent = parent;
}

void QtPlayerHost::ShowMessage(std::string_view text) {
    QMessageBox box(QMessageBox::Warning, QStringLiteral("QZM Player"),
                    QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())), QMessageBox::Ok,
                    m_parent);
    box.setTextFormat(Qt::PlainText);
    box.exec();
}

int QtPlayerHost::ChooseVideo(std::span<const std::string> names) {
    QStringList list;
    list.reserve(static_cast<qsizetype>(names.size()));
    for (const std::string& name : names) {
        list.append(QString::fromStdString(name));
    }
    CSelectFileDlg dialog(list, m_parent);
    return dialog.exec() == QDialog::Accepted ? dialog.SelectedRow() : -1;
}
