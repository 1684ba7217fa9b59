#include "translations.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

namespace qzm::ui {
namespace {

// Whether messages are to be in the C locale's language: as gettext takes it, the first of LC_ALL,
// LC_MESSAGES and LANG that is set decides, and LANGUAGE counts only when that is not C.
bool MessagesInC() {
    for (const char* name : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
        const QByteArray value = qgetenv(name);
        if (!value.isEmpty()) {
            return value == "C" || value == "POSIX";
        }
    }
    return true;
}

}  // namespace

bool InstallTranslations(QCoreApplication& app) {
    if (MessagesInC()) {
        return false;
    }
    // The user's languages in order of preference; the first the player speaks wins, English (the
    // source's language) included.
    for (const QString& name : QLocale::system().uiLanguages()) {
        const QLocale language(name);
        if (language.language() == QLocale::English || language.language() == QLocale::C) {
            return false;
        }
        // Compiled in under :/i18n as qzmplayer_LANGUAGE.qm; "qzmplayer_ru_RU" falls back to "qzmplayer_ru".
        auto* own = new QTranslator(&app);
        if (!own->load(QStringLiteral("qzmplayer_") + language.name(), QStringLiteral(":/i18n"))) {
            delete own;
            continue;
        }
        QCoreApplication::installTranslator(own);
        auto* qt = new QTranslator(&app);
        if (qt->load(QStringLiteral("qtbase_") + language.name(),
                     QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
            QCoreApplication::installTranslator(qt);
        } else {
            delete qt;
        }
        return true;
    }
    return false;
}

}  // namespace qzm::ui
