#include "select_file_dialog.h"

#include <QKeyEvent>
#include <QListWidget>

#include "dialog_layout.h"

using qzm::dialogs::DluSize;

CSelectFileDlg::CSelectFileDlg(const QStringList& names, QWidget* parent)
    : QDialog(parent), m_list(new QListWidget(this)) {
    setWindowTitle(tr("Select file"));
    setFixedSize(DluSize(qzm::dialogs::UnitsOf(*this), 132, 90));

    m_list->setObjectName(QStringLiteral("IDC_LIST"));
    m_list->setGeometry(rect());  // the whole dialog: no strip of bare background beside it
    m_list->setSelectionMode(QAbstractItemView::SingleSelection);
    m_list->setSortingEnabled(false);  // the row is the index of the video
    m_list->addItems(names);
    // No row is current either, so the first arrow key selects the first name rather than the
    // second, and Enter before any choice finds nothing selected.
    m_list->setCurrentIndex(QModelIndex());
    m_list->setFocus();

    connect(m_list, &QListWidget::itemDoubleClicked, this, &QDialog::accept);
}

int CSelectFileDlg::SelectedRow() const {
    const QModelIndexList selected = m_list->selectionModel()->selectedRows();
    return selected.isEmpty() ? -1 : selected.first().row();
}

void CSelectFileDlg::keyPressEvent(QKeyEvent* event) {
    // The list leaves Enter to the dialog, which has no button to give it to.
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        if (SelectedRow() >= 0) {
            accept();
        } else {
            reject();
        }
        return;
    }
    QDialog::keyPressEvent(event);
}
