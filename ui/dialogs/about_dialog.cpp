#include "about_dialog.h"

#include <QIcon>
#include <QLabel>
#include <QPushButton>

#include "dialog_layout.h"

using qzm::dialogs::DluRect;
using qzm::dialogs::DluSize;

namespace {

// The icon is drawn at the size of a standard icon, taken from the set at the screen's resolution.
constexpr int kIconSize = 32;

}  // namespace

CAboutDlg::CAboutDlg(QWidget* parent) : QDialog(parent) {
    setWindowTitle(tr("About QZMPlayer"));
    const qzm::ui::DialogUnits u = qzm::dialogs::UnitsOf(*this);
    setFixedSize(DluSize(u, 235, 55));

    // The program's icon, as the application set it; a program without one shows none.
    if (const QIcon icon = windowIcon(); !icon.isNull()) {
        auto* label = new QLabel(this);
        label->setObjectName(QStringLiteral("IDR_MAINFRAME"));
        label->setPixmap(icon.pixmap(QSize(kIconSize, kIconSize), devicePixelRatioF()));
        label->setAlignment(Qt::AlignCenter);
        label->setGeometry(DluRect(u, 10, 10, 20, 20));
    }

    auto* text = new QLabel(tr("QZMPlayer Version %1").arg(QStringLiteral("0.35")), this);
    text->setTextFormat(Qt::PlainText);
    const QRect place = DluRect(u, 40, 10, 119, 8);
    text->setGeometry(place.x(), place.y(), place.width(), text->sizeHint().height());

    auto* ok = new QPushButton(tr("OK"), this);
    ok->setGeometry(DluRect(u, 178, 7, 50, 14));
    ok->setDefault(true);
    ok->setFocus();
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
}
