// The chooser, information, options and about dialogs as real widgets, driven by mouse and keys.
#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>

#include "about_dialog.h"
#include "dialog_test_util.h"
#include "file_information.h"
#include "info_dialog.h"
#include "options_dialog.h"
#include "select_file_dialog.h"

namespace {

using Act = std::function<void(QWidget&)>;

Act Keys(std::vector<Qt::Key> keys) {
    return [keys](QWidget& widget) {
        for (Qt::Key key : keys) {
            QTest::keyClick(&widget, key);
        }
    };
}

TEST(SelectFileDialog, ChoosesByDoubleClickOrEnterAndIsDismissedOtherwise) {
    const struct {
        const char* what;
        Act act;  // on the list
        int result;
        int row;
    } cases[] = {
        {"double click", [](QWidget& list) { DoubleClickRow(static_cast<QListWidget&>(list), 1); }, 1, 1},
        {"first arrow selects the first name, Enter", Keys({Qt::Key_Down, Qt::Key_Enter}), 1, 0},
        {"Enter with nothing selected", Keys({Qt::Key_Return}), 0, -1},
        {"Escape", Keys({Qt::Key_Down, Qt::Key_Escape}), 0, 0},
        {"close box", [](QWidget& list) { list.window()->close(); }, 0, -1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        CSelectFileDlg dialog({"DEMO1", "Клип  ", "LAST"});
        dialog.show();
        auto* list = dialog.findChild<QListWidget*>("IDC_LIST");
        ASSERT_NE(list, nullptr);
        EXPECT_EQ(dialog.windowTitle(), "Select file");
        EXPECT_EQ(Rows(*list), QStringList({"DEMO1", "Клип  ", "LAST"}));
        EXPECT_EQ(dialog.SelectedRow(), -1);

        c.act(*list);
        EXPECT_FALSE(dialog.isVisible());
        EXPECT_EQ(dialog.result(), c.result);
        EXPECT_EQ(dialog.SelectedRow(), c.row);
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

// The values themselves are the file information's (tested with it); here, that each shows beside its
// label and that the header's code page 866 text arrives as UTF-8.
TEST(InfoDialog, ShowsEachLabelBesideItsValue) {
    qzm::StreamHeader header = Header(3, 1234, {});
    std::ranges::copy(std::string_view("\x8F\xE0\xA8\xA2\xA5\xE2"),
                      header.bytes.begin() + qzm::kHeaderAuthor);
    CInfoDlg dialog(header);
    dialog.show();
    EXPECT_EQ(dialog.windowTitle(), "File information");
    const auto* labelList = dialog.findChild<QListWidget*>("IDC_LIST");
    const auto* valueList = dialog.findChild<QListWidget*>("IDC_VALUES");
    ASSERT_TRUE(labelList != nullptr && valueList != nullptr);
    EXPECT_EQ(Rows(*labelList), QStringList({"Filename:", "Version:", "Clip:", "Author:", "Frames:",
                                             "Framerate:", "Duration:", "Filesize:", "Bitrate:"}));
    EXPECT_EQ(Rows(*valueList),
              QStringList({"", "0", QString(32, ' '), "Привет" + QString(26, ' '), "1234", "16.67 fps",
                           "1 min  14 sec  2 frm", "0 blocks (0.0 kbytes)", "0 bytes/sec"}));
    for (int i = 0; i < labelList->count(); ++i) {
        const auto top = [&](const QListWidget* list) {
            return list->mapTo(&dialog, list->visualItemRect(list->item(i)).topLeft()).y();
        };
        EXPECT_EQ(top(labelList), top(valueList)) << "row " << i;
    }
    Button(dialog, "OK")->click();
    EXPECT_FALSE(dialog.isVisible());

    // The dialog words the figures itself, in English exactly as the file information does.
    for (const qzm::StreamHeader& other :
         {Header(0, 500, {10}), Header(1, 1, std::vector<std::uint8_t>(175, 254)), Header(4, 7, {1})}) {
        const std::array<qzm::InfoRow, 9> expected = qzm::FileInformation(other);
        const std::array<CInfoDlg::Row, 9> rows = CInfoDlg::Rows(other);
        for (std::size_t i = 0; i < rows.size(); ++i) {
            EXPECT_EQ(rows[i].label.toStdString(), expected[i].label);
            EXPECT_EQ(rows[i].value.toStdString(), expected[i].value);
        }
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
        EXPECT_EQ(dialog.windowTitle(), "Options");
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
    EXPECT_EQ(dialog.windowTitle(), "About QZMPlayer");
    const QList<QLabel*> labels = dialog.findChildren<QLabel*>();
    EXPECT_TRUE(std::ranges::any_of(labels, [](QLabel* l) { return l->text() == "QZMPlayer Version 0.35"; }));
    Button(dialog, "OK")->click();
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
}

}  // namespace
