// The dialogs and the window's player host as real widgets, driven by mouse and keys, also from inside
// a modal exec().
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <vector>

#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include "about_dialog.h"
#include "file_information.h"
#include "info_dialog.h"
#include "options_dialog.h"
#include "qt_player_host.h"

namespace {

QPushButton* Button(const QWidget& dialog, const QString& text) {
    const QList<QPushButton*> buttons = dialog.findChildren<QPushButton*>();
    const auto found = std::ranges::find_if(buttons, [&](QPushButton* b) { return b->text() == text; });
    return found != buttons.end() ? *found : nullptr;
}

// Once a modal widget is active, calls `act` with it, which is to end it. One still open afterwards
// is closed, and one that never appears is given up on after about five seconds: the test fails
// rather than hangs.
void WhenModal(std::function<void(QWidget*)> act, int triesLeft = 500) {
    QTimer::singleShot(10, [act = std::move(act), triesLeft]() mutable {
        if (QWidget* modal = QApplication::activeModalWidget()) {
            act(modal);
            if (modal->isVisible()) {
                ADD_FAILURE() << "the modal dialog is still open";
                modal->close();
            }
        } else if (triesLeft > 0) {
            WhenModal(std::move(act), triesLeft - 1);
        }
    });
}

using Act = std::function<void(QWidget&)>;

Act Keys(std::vector<Qt::Key> keys) {
    return [keys](QWidget& widget) {
        for (Qt::Key key : keys) {
            QTest::keyClick(&widget, key);
        }
    };
}

TEST(QtPlayerHost, ShowsEachMessageExactlyWithOneOkButton) {
    QWidget window;
    QtPlayerHost host;
    host.SetParent(&window);
    for (std::string_view text : {qzm::kMsgInvalidStream, std::string_view("<b>Ёж</b>")}) {
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

// The chooser: a double click or Enter on a selected name chooses it; anything else chooses nothing,
// even with a name selected.
TEST(QtPlayerHost, ChoosesByDoubleClickOrEnterAndNothingOtherwise) {
    const Act doubleClick = [](QWidget& widget) {
        // Press, release, then the double click: item views act on a double click only on the row
        // the press went to, as with a real mouse.
        auto& list = static_cast<QListWidget&>(widget);
        const QPoint at = list.visualItemRect(list.item(1)).center();
        QTest::mouseClick(list.viewport(), Qt::LeftButton, {}, at);
        QTest::mouseDClick(list.viewport(), Qt::LeftButton, {}, at);
    };
    const struct {
        const char* what;
        Act act;  // on the list
        int chosen;
    } cases[] = {
        {"double click", doubleClick, 1},
        {"first arrow selects the first name, Enter", Keys({Qt::Key_Down, Qt::Key_Enter}), 0},
        {"Enter with nothing selected", Keys({Qt::Key_Return}), -1},
        {"Escape", Keys({Qt::Key_Down, Qt::Key_Escape}), -1},
        {"close box", [](QWidget& list) { list.window()->close(); }, -1},
    };
    QtPlayerHost host;
    const std::vector<std::string> names = {"DEMO1", "Клип  ", "LAST"};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        QStringList listed;
        WhenModal([&](QWidget* modal) {
            auto* list = modal->findChild<QListWidget*>("IDC_LIST");
            ASSERT_NE(list, nullptr);
            for (int i = 0; i < list->count(); ++i) {
                listed << list->item(i)->text();
            }
            c.act(*list);
        });
        EXPECT_EQ(host.ChooseVideo(names), c.chosen);
        EXPECT_EQ(listed, QStringList({"DEMO1", "Клип  ", "LAST"}));
    }
}

qzm::StreamHeader Header(std::uint8_t delay, std::uint16_t frames, std::vector<std::uint8_t> blocks) {
    qzm::StreamHeader header = qzm::StreamHeader::Empty();
    header.bytes[qzm::kHeaderFrameDelay] = delay;
    header.bytes[qzm::kHeaderFrameCount] = static_cast<std::uint8_t>(frames & 0xFF);
    header.bytes[qzm::kHeaderFrameCount + 1] = static_cast<std::uint8_t>(frames >> 8);
    std::ranges::copy(blocks, header.bytes.begin() + qzm::kHeaderBlockList);
    return header;
}

// The dialog words the figures itself: in English exactly as the file information does (tested with
// it), a code page 866 author included, delay 0 with no frame rate, and each label beside its value.
TEST(InfoDialog, ShowsTheFileInformationEachLabelBesideItsValue) {
    qzm::StreamHeader named = Header(3, 1234, {});
    std::ranges::copy(std::string_view("\x8F\xE0\xA8\xA2\xA5\xE2"), named.bytes.begin() + qzm::kHeaderAuthor);
    for (const qzm::StreamHeader& header :
         {named, Header(0, 500, {10}), Header(1, 1, std::vector<std::uint8_t>(175, 254))}) {
        CInfoDlg dialog(header);
        dialog.show();
        const auto* labels = dialog.findChild<QListWidget*>("IDC_LIST");
        const auto* values = dialog.findChild<QListWidget*>("IDC_VALUES");
        ASSERT_TRUE(labels != nullptr && values != nullptr && labels->count() == 9 && values->count() == 9);
        const std::array<qzm::InfoRow, 9> expected = qzm::FileInformation(header);
        for (int i = 0; i < 9; ++i) {
            const auto top = [&](const QListWidget* list) {
                return list->mapTo(&dialog, list->visualItemRect(list->item(i)).topLeft()).y();
            };
            EXPECT_EQ(labels->item(i)->text().toStdString(), expected[i].label);
            EXPECT_EQ(values->item(i)->text().toStdString(), expected[i].value);
            EXPECT_EQ(top(labels), top(values)) << "row " << i;
        }
        Button(dialog, "OK")->click();
        EXPECT_FALSE(dialog.isVisible());
    }
}

Act TypeThenEnter(const char* text) {
    return [text](QWidget& box) {
        QLineEdit* edit = static_cast<QComboBox&>(box).lineEdit();
        edit->selectAll();
        QTest::keyClick(edit, Qt::Key_Backspace);
        QTest::keyClicks(edit, text);
        QTest::keyClick(edit, Qt::Key_Return);  // presses the default button, OK
    };
}

TEST(OptionsDialog, PreselectsTheCurrentMethodAndReportsTheChoice) {
    const Act ok = [](QWidget& box) { Button(*box.window(), "OK")->click(); };
    const struct {
        const char* what;
        int current;
        int preselected;
        Act act;  // on the combobox
        int result;
        int chosen;
    } cases[] = {
        {"OK unchanged", 2, 2, ok, 1, 2},
        {"index without item shows Nearest", 4, 0, ok, 1, 0},
        {"arrows, then Enter", 0, 0, Keys({Qt::Key_Down, Qt::Key_Down, Qt::Key_Down, Qt::Key_Return}), 1, 3},
        {"field cleared", 1, 1, TypeThenEnter(""), 1, -1},
        {"other text", 3, 3, TypeThenEnter("Bicubic"), 1, -1},
        {"an item's name typed", 0, 0, TypeThenEnter("bilinear"), 1, 1},
        {"Cancel", 1, 1, [](QWidget& box) { Button(*box.window(), "Cancel")->click(); }, 0, 1},
        {"Escape", 3, 3, Keys({Qt::Key_Down, Qt::Key_Escape}), 0, 3},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        COptionsDlg dialog(c.current);
        dialog.show();
        auto* box = dialog.findChild<QComboBox*>("IDC_SCALE_METHOD");
        ASSERT_NE(box, nullptr);
        EXPECT_TRUE(box->isEditable());
        EXPECT_EQ(dialog.ChosenFilter(), c.preselected);

        c.act(*box);
        EXPECT_FALSE(dialog.isVisible());
        EXPECT_EQ(dialog.result(), c.result);
        EXPECT_EQ(dialog.ChosenFilter(), c.chosen);
        QStringList items;
        for (int i = 0; i < box->count(); ++i) {
            items << box->itemText(i);
        }
        EXPECT_EQ(items, QStringList({"Nearest", "Bilinear", "Biquadratic", "Bicubuc"}));  // typing adds none
    }
}

TEST(AboutDialog, ShowsTheVersionAndClosesWithOk) {
    CAboutDlg dialog;
    dialog.show();
    const QList<QLabel*> labels = dialog.findChildren<QLabel*>();
    EXPECT_TRUE(std::ranges::any_of(labels, [](QLabel* l) { return l->text() == "QZMPlayer Version 0.35"; }));
    Button(dialog, "OK")->click();
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
}

}  // namespace
