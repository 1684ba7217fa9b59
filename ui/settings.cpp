#include "settings.h"

#include <QSettings>
#include <QStandardPaths>
#include <QStringList>

#include "profile_int.h"

namespace qzm::ui {

namespace {
const QString kFilterKey = QStringLiteral("Render/Filter");
}

QString SettingsFilePath() {
    return QStandardPaths::writableLocation(QStandardPaths::ConfigLocation) +
           QStringLiteral("/QZMPlayer.ini");
}

int ReadFilterSetting() {
    const QSettings settings(SettingsFilePath(), QSettings::IniFormat);
    const QVariant value = settings.value(kFilterKey);
    // A value with commas in it reads as a list; its text is the items joined again.
    const QString text = value.typeId() == QMetaType::QStringList
                             ? value.toStringList().join(QLatin1Char(','))
                             : value.toString();
    return ParseProfileInt(text.toStdString());
}

void WriteFilterSetting(int filter) {
    QSettings settings(SettingsFilePath(), QSettings::IniFormat);
    settings.setValue(kFilterKey, filter);
    settings.sync();
}

}  // namespace qzm::ui
