// The player in Russian: every text of the dialogs fits its control in both languages and at a large
// font, and the window, its messages and the engine's speak Russian when the translation is installed.
#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QStyleOptionButton>
#include <QTranslator>
#include <memory>

#include "about_dialog.h"
#include "image_button.h"
#include "info_dialog.h"
#include "options_dialog.h"
#include "player_dialog.h"
#include "qt_player_host.h"
#include "recording_host.h"
#include "select_file_dialog.h"

namespace qzm::ui::testing {
namespace {

// The Russian translation, as lrelease compiled it, installed while the object lives.
class Russian {
public:
    Russian() {
        EXPECT_TRUE(m_translator.load(QStringLiteral(QZM_TRANSLATIONS_DIR "/qzmplayer_ru.qm")));
        QCoreApplication::installTranslator(&m_translator);
    }
    ~Russian() { QCoreApplication::removeTranslator(&m_translator); }

private:
    QTranslator m_translator;
};

struct Text {
    QString text;
    bool fits;
};

// The texts a dialog shows, its title first, each with whether it fits its control as the style lays
// the control out.
std::vector<Text> Texts(const QWidget& dialog) {
    std::vector<Text> texts{{dialog.windowTitle(), true}};
    for (QWidget* w : dialog.findChildren<QWidget*>()) {
        const QFontMetrics m = w->fontMetrics();
        if (auto* label = qobject_cast<QLabel*>(w); label && !label->text().isEmpty()) {
            texts.push_back(
                {label->text(), m.horizontalAdvance(label->text()) <= label->contentsRect().width()});
        } else if (auto* button = qobject_cast<QPushButton*>(w)) {
            QStyleOptionButton option;
            option.initFrom(button);
            option.text = button->text();
            const QRect inside =
                button->style()->subElementRect(QStyle::SE_PushButtonContents, &option, button);
            texts.push_back({button->text(), m.horizontalAdvance(button->text()) <= inside.width()});
        } else if (auto* group = qobject_cast<QGroupBox*>(w)) {
            texts.push_back({group->title(), m.horizontalAdvance(group->title()) + 2 * m.averageCharWidth() <=
                                                 group->width()});
        } else if (auto* box = qobject_cast<QComboBox*>(w)) {
            for (int i = 0; i < box->count(); ++i) {
                // The line edit's text sits 2 pixels inside it at either side.
                texts.push_back({box->itemText(i),
                                 m.horizontalAdvance(box->itemText(i)) + 4 <= box->lineEdit()->width()});
            }
        } else if (auto* list = qobject_cast<QListWidget*>(w);
                   list && list->objectName() == "IDC_LIST" && qobject_cast<const CInfoDlg*>(&dialog)) {
            // Item views keep a margin of the focus frame and one pixel at either side of a text.
            const int margin =
                2 * (list->style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, list) + 1);
            for (int i = 0; i < list->count(); ++i) {
                const QString row = list->item(i)->text();
                texts.push_back({row, m.horizontalAdvance(row) + margin <= list->viewport()->width()});
            }
        }
    }
    return texts;
}

std::vector<std::unique_ptr<QWidget>> Dialogs() {
    std::vector<std::unique_ptr<QWidget>> dialogs;
    dialogs.push_back(std::make_unique<CAboutDlg>());
    dialogs.push_back(std::make_unique<CInfoDlg>(StreamHeader::Empty()));
    dialogs.push_back(std::make_unique<COptionsDlg>(0));
    dialogs.push_back(std::make_unique<CSelectFileDlg>(QStringList{"DEMO"}));
    for (auto& dialog : dialogs) {
        dialog->show();
    }
    return dialogs;
}

// In Russian every text is another than the English one, but for those Russian writes alike.
TEST(Translations, EveryDialogTextFitsInEnglishAndRussianAtTheUsualAndALargeFont) {
    const QFont usual = QApplication::font();
    QFont large = usual;
    large.setPixelSize(30);
    for (const QFont& font : {usual, large}) {
        QApplication::setFont(font);
        std::vector<std::vector<Text>> english;
        for (const auto& dialog : Dialogs()) {
            english.push_back(Texts(*dialog));
        }
        const Russian russian;
        const auto dialogs = Dialogs();
        for (std::size_t d = 0; d < dialogs.size(); ++d) {
            const std::vector<Text> texts = Texts(*dialogs[d]);
            ASSERT_EQ(texts.size(), english[d].size());
            for (std::size_t i = 0; i < texts.size(); ++i) {
                SCOPED_TRACE(english[d][i].text.toStdString() + " / " + texts[i].text.toStdString() + " at " +
                             std::to_string(QFontInfo(font).pixelSize()) + " px");
                EXPECT_TRUE(english[d][i].fits);
                EXPECT_TRUE(texts[i].fits);
                EXPECT_TRUE(texts[i].text != english[d][i].text || texts[i].text == "OK");
            }
        }
    }
    QApplication::setFont(usual);
}

TEST(Translations, TheWindowAndTheEngineMessagesSpeakRussian) {
    const Russian russian;
    qzm::testing::RecordingHost host;
    CPlayerDlg window(host);
    QStringList tips;
    for (const ImageButton* button : window.findChildren<ImageButton*>()) {
        tips << button->toolTip();
    }
    EXPECT_EQ(tips,
              QStringList({"Открыть", "Воспроизведение/пауза", "Стоп", "Информация о файле", "Параметры",
                           "О программе", "Поверх всех окон", "Свернуть", "Развернуть", "Закрыть"}));
    EXPECT_EQ(UnreadableFileMessage("/no/such.qzm"), "Не удаётся открыть «/no/such.qzm»: такого файла нет.");

    const std::pair<std::string_view, QString> engine[] = {
        {kMsgInvalidStream, "Неверный поток!"},
        {kMsgUnsupportedVersion, "Неподдерживаемая версия!"},
        {kMsgWrongCommand, "Неверная команда!"},
        {kMsgWrongLScreenMarker, "Неверный маркер LSCREEN!"},
        {kMsgNoVideos, "Видеофайлы не найдены!"},
        {"Не удаётся открыть «x»", "Не удаётся открыть «x»"},  // the window's own, already worded
    };
    for (const auto& [text, shown] : engine) {
        EXPECT_EQ(QtPlayerHost::Translated(text), shown);
    }
}

}  // namespace
}  // namespace qzm::ui::testing
