#include "options_dialog.h"

#include <QComboBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>

#include "dialog_layout.h"

using qzm::dialogs::DluRect;
using qzm::dialogs::DluSize;

namespace {

constexpr int kTop = 3;  // dialog units

}  // namespace

COptionsDlg::COptionsDlg(int currentFilter, QWidget* parent) : QDialog(parent) {
    setWindowTitle(tr("Options"));
    const qzm::ui::DialogUnits u = qzm::dialogs::UnitsOf(*this);
    // The template, with a margin of kTop above and below the group, whose title would otherwise touch
    // the dialog's edge.
    setFixedSize(DluSize(u, 186, 40 + 2 * kTop));

    auto* group = new QGroupBox(tr("Scale method"), this);
    group->setGeometry(DluRect(u, 5, kTop, 120, 40));

    m_scaleMethod = new QComboBox(this);
    m_scaleMethod->setObjectName(QStringLiteral("IDC_SCALE_METHOD"));
    m_scaleMethod->setEditable(true);
    // The item index is the filter index: typed text never becomes an item, and no completion
    // picks an item behind the user's back.
    m_scaleMethod->setInsertPolicy(QComboBox::NoInsert);
    m_scaleMethod->setCompleter(nullptr);
    m_scaleMethod->addItems({tr("Nearest"), tr("Bilinear"), tr("Biquadratic"), tr("Bicubuc")});
    const QRect box = DluRect(u, 10, kTop + 15, 110, 12);
    m_scaleMethod->setGeometry(box.x(), box.y(), box.width(), m_scaleMethod->sizeHint().height());
    // The player draws with the nearest method for an index it has no renderer for.
    m_scaleMethod->setCurrentIndex(
        currentFilter >= 0 && currentFilter < m_scaleMethod->count() ? currentFilter : 0);
    connect(m_scaleMethod->lineEdit(), &QLineEdit::textEdited, this, &COptionsDlg::OnTextEdited);

    auto* ok = new QPushButton(tr("OK"), this);
    ok->setGeometry(DluRect(u, 129, kTop + 7, 50, 14));
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    auto* cancel = new QPushButton(tr("Cancel"), this);
    cancel->setGeometry(DluRect(u, 129, kTop + 24, 50, 14));
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);

    m_scaleMethod->setFocus();
}

int COptionsDlg::ChosenFilter() const {
    return m_scaleMethod->currentIndex();
}

void COptionsDlg::OnTextEdited(const QString& text) {
    // An item is selected only while the field names it; any other text selects none. Changing the
    // index rewrites the field, so the user's text and cursor are put back.
    const int index = m_scaleMethod->findText(text, Qt::MatchFixedString);
    if (index == m_scaleMethod->currentIndex()) {
        return;
    }
    QLineEdit* edit = m_scaleMethod->lineEdit();
    const int cursor = edit->cursorPosition();
    m_scaleMethod->setCurrentIndex(index);
    edit->setText(text);
    edit->setCursorPosition(cursor);
}
