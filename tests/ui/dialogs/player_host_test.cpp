// The window's player host: messages in modal boxes, the choice among videos in the chooser.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include <QListWidget>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>

#include "dialog_test_util.h"
#include "player_host.h"
#include "qt_player_host.h"
#include "select_file_dialog.h"

namespace {

TEST(QtPlayerHost, ShowsEachMessageExactlyWithOneOkButton) {
    QWidget window;
    QtPlayerHost host;
    host.SetParent(&window);
    for (std::string_view text :
         {qzm::kMsgInvalidStream, qzm::kMsgUnsupportedVersion, qzm::kMsgWrongCommand,
          qzm::kMsgWrongLScreenMarker, qzm::kMsgNoVideos, std::string_view("<b>Ёж</b>")}) {
        QString shown;
        QString title;
        int buttons = 0;
        QWidget* parent = nullptr;
        WhenModal([&](QWidget* modal) {
            auto* box = qobject_cast<QMessageBox*>(modal);
            ASSERT_NE(box, nullptr);
            shown = box->text();
            title = box->windowTitle();
            buttons = static_cast<int>(box->buttons().size());
            parent = box->parentWidget();
            box->button(QMessageBox::Ok)->click();
        });
        host.ShowMessage(text);  // returns once OK was clicked
        EXPECT_EQ(shown.toStdString(), text);
        EXPECT_EQ(title, "QZM Player");
        EXPECT_EQ(buttons, 1);
        EXPECT_EQ(parent, &window);
    }
}

TEST(QtPlayerHost, ChooseVideoGivesTheChosenRowOrMinusOne) {
    QtPlayerHost host;
    const std::vector<std::string> names = {"FIRST", "Второй", "THIRD"};
    const struct {
        std::function<void(QListWidget&)> act;
        int row;
    } cases[] = {
        {[](QListWidget& list) { DoubleClickRow(list, 2); }, 2},
        {[](QListWidget& list) { QTest::keyClick(&list, Qt::Key_Escape); }, -1},
    };
    for (const auto& c : cases) {
        QStringList listed;
        WhenModal([&](QWidget* modal) {
            auto* list = modal->findChild<QListWidget*>("IDC_LIST");
            ASSERT_NE(list, nullptr);
            for (int i = 0; i < list->count(); ++i) {
                listed << list->item(i)->text();
            }
            c.act(*list);
        });
        EXPECT_EQ(host.ChooseVideo(names), c.row);
        EXPECT_EQ(listed, (QStringList{"FIRST", "Второй", "THIRD"}));
    }
}

}  // namespace
