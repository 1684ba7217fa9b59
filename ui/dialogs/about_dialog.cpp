#include "about_dialog.h"

#include <QFile>
#include <QLabel>
#include <QPixmap>
#include <QPushButton>

#include "dialog_units.h"

using qzm::dialogs::DluRect;
using qzm::dialogs::DluSize;

namespace {

const QString kIconPath = QStringLiteral(":/skin/icon-32.png");

}  // namespace

CAboutDlg::CAboutDlg(QWidget* parent) : QDialog(parent) {
    setWindowTitle(QStringLiteral("About QZMPlayer"));
    setFixedSize(DluSize(235, 55));

    // The icon comes with the skin's resources; a program built without them shows none.
    if (QFile::exists(kIconPath)) {
        auto* icon = new QLabel(this);
        icon->setObjectName(QStringLiteral("IDR_MAINFRAME"));
        icon->setPixmap(QPixmap(kIconPath));
        icon->setAlignment(Qt::AlignCenter);
        icon->setGeometry(DluRect(10, 10, 20, 20));
    }

    auto* text = new QLabel(QStringLiteral("QZMPlayer Version 0.35"), this);
    text->setTextFormat(Qt::PlainText);
    const QRect place = DluRect(40, 10, 119, 8);
    text->setGeometry(place.x(), place.y(), place.width(), text->sizeHint().height());

    auto* ok = new QPushButton(QStringLiteral("OK"), this);
    ok->setGeometry(DluRect(178, 7, 50, 14));
    ok->setDefault(true);
    ok->setFocus();
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
}
