// The window's player host: messages in modal boxes, the choice among videos in the chooser.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include <QMessageBox>

#include "dialog_test_util.h"
#include "qt_player_host.h"

namespace {

TEST(QtPlayerHost, ShowsEachMessageExactlyWithOneOkButton) {
    QWidget window;
    QtPlayerHost host;
    host.SetParent(&window);
    for (std::string_view text : {qzm::kMsgInvalidStream, qzm::kMsgWrongLScreenMarker, qzm::kMsgNoVideos,
                                  std::string_view("<b>Ёж</b>")}) {
        QStringList seen;  // text, title, buttons
        WhenModal([&](QWidget* modal) {
            auto* box = qobject_cast<QMessageBox*>(modal);
            ASSERT_TRUE(box != nullptr && box->parentWidget() == &window);
            seen << box->text() << box->windowTitle() << QString::number(box->buttons().size());
            box->button(QMessageBox::Ok)->click();
        });
        host.ShowMessage(text);  // returns once OK was clicked
        EXPECT_EQ(seen, QStringList({QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())),
                                     "QZM Player", "1"}));
    }
}

TEST(QtPlayerHost, ChooseVideoGivesTheChosenRowOrMinusOne) {
    QtPlayerHost host;
    const std::vector<std::string> names = {"FIRST", "Второй", "THIRD"};
    for (const bool choose : {true, false}) {
        QStringList listed;
        WhenModal([&](QWidget* modal) {
            auto* list = modal->findChild<QListWidget*>("IDC_LIST");
            ASSERT_NE(list, nullptr);
            listed = Rows(*list);
            if (choose) {
                DoubleClickRow(*list, 2);
            } else {
                QTest::keyClick(list, Qt::Key_Down);  // a name selected, then the dialog dismissed
                QTest::keyClick(list, Qt::Key_Escape);
            }
        });
        EXPECT_EQ(host.ChooseVideo(names), choose ? 2 : -1);
        EXPECT_EQ(listed, QStringList({"FIRST", "Второй", "THIRD"}));
    }
}

}  // namespace
