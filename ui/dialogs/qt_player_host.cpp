#include "qt_player_host.h"

#include <algorithm>

#include <QCoreApplication>
#include <QMessageBox>
#include <QStringList>

#include "select_file_dialog.h"

namespace {

// The engine's fixed texts, each with its source for the translations.
struct EngineText {
    std::string_view english;
    const char* source;
};
constexpr EngineText kEngineTexts[] = {
    {qzm::kMsgInvalidStream, QT_TRANSLATE_NOOP("QtPlayerHost", "Invalid stream!")},
    {qzm::kMsgUnsupportedVersion, QT_TRANSLATE_NOOP("QtPlayerHost", "Unsupported version!")},
    {qzm::kMsgWrongCommand, QT_TRANSLATE_NOOP("QtPlayerHost", "Wrong command!")},
    {qzm::kMsgWrongLScreenMarker, QT_TRANSLATE_NOOP("QtPlayerHost", "Wrong LSCREEN marker!")},
    {qzm::kMsgNoVideos, QT_TRANSLATE_NOOP("QtPlayerHost", "No videofiles found!")},
};
static_assert(std::ranges::all_of(kEngineTexts, [](const EngineText& t) { return t.english == t.source; }),
              "a source differs from the engine's text");

}  // namespace

QString QtPlayerHost::Translated(std::string_view text) {
    for (const EngineText& known : kEngineTexts) {
        if (known.english == text) {
            return QCoreApplication::translate("QtPlayerHost", known.source);
        }
    }
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

QtPlayerHost::QtPlayerHost(QWidget* parent) : m_parent(parent) {}

void QtPlayerHost::SetParent(QWidget* parent) {
    m_parent = parent;
}

void QtPlayerHost::ShowMessage(std::string_view text) {
    QMessageBox box(QMessageBox::Warning, QStringLiteral("QZM Player"), Translated(text), QMessageBox::Ok,
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
