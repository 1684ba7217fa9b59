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

// The labels of the file information's rows, in its order.
constexpr const char* kLabels[] = {
    QT_TRANSLATE_NOOP("CInfoDlg", "Filename:"), QT_TRANSLATE_NOOP("CInfoDlg", "Version:"),
    QT_TRANSLATE_NOOP("CInfoDlg", "Clip:"),     QT_TRANSLATE_NOOP("CInfoDlg", "Author:"),
    QT_TRANSLATE_NOOP("CInfoDlg", "Frames:"),   QT_TRANSLATE_NOOP("CInfoDlg", "Framerate:"),
    QT_TRANSLATE_NOOP("CInfoDlg", "Duration:"), QT_TRANSLATE_NOOP("CInfoDlg", "Filesize:"),
    QT_TRANSLATE_NOOP("CInfoDlg", "Bitrate:"),
};

}  // namespace

std::array<CInfoDlg::Row, 9> CInfoDlg::Rows(const qzm::StreamHeader& header) {
    const std::array<qzm::InfoRow, 9> english = qzm::FileInformation(header);
    const qzm::InfoFigures f = qzm::InformationFigures(header);
    // Fractions come with a decimal point; a language may write another mark.
    const auto decimal = [](const std::string& number) {
        return QString::fromStdString(number).replace(QLatin1Char('.'), tr(".", "decimal mark"));
    };
    std::array<Row, 9> rows;
    for (std::size_t i = 0; i < rows.size(); ++i) {
        rows[i] = {tr(kLabels[i]), QString::fromStdString(english[i].value)};
    }
    // The rows that are words: the name, title and author are the file's own, the numbers are plain.
    rows[5].value = f.frameRate.empty() ? tr("n/a (delay 0)") : tr("%1 fps").arg(decimal(f.frameRate));
    rows[6].value = tr("%1 min  %2 sec  %n frm", nullptr, f.ticks).arg(f.minutes).arg(f.seconds);
    rows[7].value = tr("%n blocks (%1 kbytes)", nullptr, f.blocks).arg(decimal(f.kilobytes));
    rows[8].value = tr("%1 bytes/sec").arg(f.bytesPerSecond);
    return rows;
}

CInfoDlg::CInfoDlg(const qzm::StreamHeader& header, QWidget* parent) : QDialog(parent) {
    setWindowTitle(tr("File information"));
    const qzm::ui::DialogUnits u = qzm::dialogs::UnitsOf(*this);
    setFixedSize(DluSize(u, 222, 146));
    m_labels = MakeColumn(this, QStringLiteral("IDC_LIST"), DluRect(u, 5, 5, 50, 115));
    m_values = MakeColumn(this, QStringLiteral("IDC_VALUES"), DluRect(u, 55, 5, 160, 115));

    for (const Row& row : Rows(header)) {
        m_labels->addItem(row.label);
        auto* item = new QListWidgetItem(row.value, m_values);
        item->setToolTip(row.value);  // a long title may not fit the column
    }
    // Both columns scroll together, so row i of the labels stays beside row i of the values.
    connect(m_labels->verticalScrollBar(), &QScrollBar::valueChanged, m_values->verticalScrollBar(),
            &QScrollBar::setValue);
    connect(m_values->verticalScrollBar(), &QScrollBar::valueChanged, m_labels->verticalScrollBar(),
            &QScrollBar::setValue);

    auto* ok = new QPushButton(tr("OK"), this);
    ok->setGeometry(DluRect(u, 5, 125, 210, 14));
    ok->setDefault(true);
    ok->setFocus();
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
}
