#include "info_dialog.h"

#include <QListWidget>
#include <QPushButton>
#include <QScrollBar>

#include "dialog_layout.h"

using qzm::dialogs::DluRect;
using qzm::dialogs::DluSize;

namespace {

QListWidget* MakeColumn(QWidget* parent, const QString& name, const QRect& geometry) {
    auto* list = new QListWidget(parent);
    list->setObjectName(name);
    list->setGeometry(geometry);
    list->setSelectionMode(QAbstractItemView::NoSelection);
    list->setFocusPolicy(Qt::TabFocus);
    list->setUniformItemSizes(true);
    list->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    return list;
}

}  // namespace

CInfoDlg::CInfoDlg(const std::array<qzm::InfoRow, 9>& rows, QWidget* parent) : QDialog(parent) {
    setWindowTitle(QStringLiteral("File information"));
    const qzm::ui::DialogUnits u = qzm::dialogs::UnitsOf(*this);
    setFixedSize(DluSize(u, 222, 146));
    m_labels = MakeColumn(this, QStringLiteral("IDC_LIST"), DluRect(u, 5, 5, 50, 115));
    m_values = MakeColumn(this, QStringLiteral("IDC_VALUES"), DluRect(u, 55, 5, 160, 115));

    for (const qzm::InfoRow& row : rows) {
        m_labels->addItem(QString::fromStdString(row.label));
        const QString value = QString::fromStdString(row.value);
        auto* item = new QListWidgetItem(value, m_values);
        item->setToolTip(value);  // a long title may not fit the column
    }
    // Both columns scroll together, so row i of the labels stays beside row i of the values.
    connect(m_labels->verticalScrollBar(), &QScrollBar::valueChanged, m_values->verticalScrollBar(),
            &QScrollBar::setValue);
    connect(m_values->verticalScrollBar(), &QScrollBar::valueChanged, m_labels->verticalScrollBar(),
            &QScrollBar::setValue);

    auto* ok = new QPushButton(QStringLiteral("OK"), this);
    ok->setGeometry(DluRect(u, 5, 125, 210, 14));
    ok->setDefault(true);
    ok->setFocus();
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
}
