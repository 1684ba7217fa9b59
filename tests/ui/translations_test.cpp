// The player in Russian: every text of the window, its dialogs and messages is translated, and each
// fits its control in both languages at the usual and a large font.
#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
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
            texts.push_back({label->text(), label->sizeHint().width() <= label->width()});
        } else if (auto* button = qobject_cast<QPushButton*>(w)) {
            QStyleOptionButton option;
            option.initFrom(button);
            const QRect inside =
                button->style()->subElementRect(QStyle::SE_PushButtonContents, &option, button);
            texts.push_back({button->text(), m.horizontalAdvance(button->text()) <= inside.width()});
        } else if (auto* group = qobject_cast<QGroupBox*>(w)) {
            texts.push_back({group->title(), group->minimumSizeHint().width() <= group->width()});
        } else if (auto* box = qobject_cast<QComboBox*>(w)) {
            for (int i = 0; i < box->count(); ++i) {  // the size the longest item asks for
                texts.push_back({box->itemText(i), box->sizeHint().width() <= box->width()});
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

// Everything the program shows that it words itself: the window's tooltips, the dialogs' texts, the
// messages of the engine and of the window.
std::vector<Text> Shown() {
    qzm::testing::RecordingHost host;
    CPlayerDlg window(host);
    std::vector<Text> texts;
    for (const ImageButton* button : window.findChildren<ImageButton*>()) {
        texts.push_back({button->toolTip(), true});
    }
    const std::unique_ptr<QWidget> dialogs[] = {
        std::make_unique<CAboutDlg>(), std::make_unique<CInfoDlg>(StreamHeader::Empty()),
        std::make_unique<COptionsDlg>(0), std::make_unique<CSelectFileDlg>(QStringList{"DEMO"})};
    for (const auto& dialog : dialogs) {
        dialog->show();
        std::ranges::copy(Texts(*dialog), std::back_inserter(texts));
    }
    for (const std::string_view message : {kMsgInvalidStream, kMsgUnsupportedVersion, kMsgWrongCommand,
                                           kMsgWrongLScreenMarker, kMsgNoVideos}) {
        texts.push_back({QtPlayerHost::Translated(message), true});
    }
    texts.push_back({UnreadableFileMessage("/no/such.qzm"), true});
    return texts;
}

// In Russian every text is another than the English one, but for those Russian writes alike.
TEST(Translations, EverythingIsInRussianAndFitsAsInEnglishAtTheUsualAndALargeFont) {
    const QFont usual = QApplication::font();
    QFont large = usual;
    large.setPixelSize(30);
    for (const QFont& font : {usual, large}) {
        QApplication::setFont(font);
        const std::vector<Text> english = Shown();
        QTranslator russian;  // as lrelease compiled it for the program
        ASSERT_TRUE(russian.load(QStringLiteral(QZM_TRANSLATIONS_DIR "/qzmplayer_ru.qm")));
        QCoreApplication::installTranslator(&russian);
        const std::vector<Text> texts = Shown();
        QCoreApplication::removeTranslator(&russian);
        ASSERT_EQ(texts.size(), english.size());
        for (std::size_t i = 0; i < texts.size(); ++i) {
            SCOPED_TRACE(english[i].text.toStdString() + " / " + texts[i].text.toStdString() + " at " +
                         std::to_string(QFontInfo(font).pixelSize()) + " px");
            EXPECT_TRUE(english[i].fits);
            EXPECT_TRUE(texts[i].fits);
            EXPECT_TRUE(texts[i].text != english[i].text || texts[i].text == "OK");
        }
    }
    QApplication::setFont(usual);
}

}  // namespace
}  // namespace qzm::ui::testing
