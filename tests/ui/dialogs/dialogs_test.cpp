// The chooser, information, options and about dialogs as real widgets, driven by mouse and keys.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTest>

#include "about_dialog.h"
#include "dialog_test_util.h"
#include "file_information.h"
#include "info_dialog.h"
#include "options_dialog.h"
#include "select_file_dialog.h"

namespace {

QPushButton* Button(const QWidget& dialog, const QString& text) {
    for (QPushButton* button : dialog.findChildren<QPushButton*>()) {
        if (button->text() == text) {
            return button;
        }
    }
    return nullptr;
}

std::vector<QString> Rows(const QListWidget& list) {
    std::vector<QString> rows;
    for (int i = 0; i < list.count(); ++i) {
        rows.push_back(list.item(i)->text());
    }
    return rows;
}

// How the user ends the chooser, and what it then reports.
struct ChooserCase {
    const char* what;
    std::function<void(CSelectFileDlg&, QListWidget&)> act;
    int result;
    int row;
};

TEST(SelectFileDialog, ChoosesByDoubleClickOrEnterAndIsDismissedOtherwise) {
    const auto clickRow = [](QListWidget& list, int row) {
        QTest::mouseClick(list.viewport(), Qt::LeftButton, {}, list.visualItemRect(list.item(row)).center());
    };
    const auto key = [](Qt::Key k) {
        return [k](CSelectFileDlg&, QListWidget& list) { QTest::keyClick(&list, k); };
    };
    const ChooserCase cases[] = {
        {"double click", [](CSelectFileDlg&, QListWidget& list) { DoubleClickRow(list, 1); },
         QDialog::Accepted, 1},
        {"click, Enter",
         [&](CSelectFileDlg&, QListWidget& list) {
             clickRow(list, 2);
             QTest::keyClick(&list, Qt::Key_Return);
         },
         QDialog::Accepted, 2},
        {"first arrow selects the first name",
         [](CSelectFileDlg&, QListWidget& list) {
             QTest::keyClick(&list, Qt::Key_Down);
             QTest::keyClick(&list, Qt::Key_Enter);
         },
         QDialog::Accepted, 0},
        {"Enter with nothing selected", key(Qt::Key_Return), QDialog::Rejected, -1},
        {"Escape",
         [&](CSelectFileDlg&, QListWidget& list) {
             clickRow(list, 1);
             QTest::keyClick(&list, Qt::Key_Escape);
         },
         QDialog::Rejected, 1},
        {"close box", [](CSelectFileDlg& dialog, QListWidget&) { dialog.close(); }, QDialog::Rejected, -1},
    };
    for (const ChooserCase& c : cases) {
        SCOPED_TRACE(c.what);
        CSelectFileDlg dialog({"DEMO1", "Клип  ", "LAST"});
        dialog.setResult(-1);
        dialog.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));
        auto* list = dialog.findChild<QListWidget*>("IDC_LIST");
        ASSERT_NE(list, nullptr);
        EXPECT_EQ(dialog.windowTitle(), "Select file");
        EXPECT_EQ(Rows(*list), (std::vector<QString>{"DEMO1", "Клип  ", "LAST"}));
        EXPECT_EQ(dialog.SelectedRow(), -1);
        EXPECT_TRUE(dialog.findChildren<QPushButton*>().isEmpty());

        c.act(dialog, *list);
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

TEST(InfoDialog, ShowsEachLabelBesideItsValue) {
    qzm::StreamHeader named = Header(3, 1234, {});
    std::ranges::copy(std::string_view("\x8F\xE0\xA8\xA2\xA5\xE2"), named.bytes.begin() + qzm::kHeaderAuthor);
    const QString blanks(32, ' ');
    const struct {
        qzm::StreamHeader header;
        std::vector<QString> values;
    } cases[] = {
        {qzm::StreamHeader::Empty(),
         {"", "0", blanks, blanks, "0", "50.00 fps", "0 min  0 sec  0 frm", "0 blocks (0.0 kbytes)",
          "0 bytes/sec"}},
        {Header(2, 3000, {200, 250, 150}),
         {"", "0", blanks, blanks, "3000", "25.00 fps", "2 min  0 sec  0 frm", "600 blocks (150.0 kbytes)",
          "1280 bytes/sec"}},
        {named,
         {"", "0", blanks, "Привет" + QString(26, ' '), "1234", "16.67 fps", "1 min  14 sec  2 frm",
          "0 blocks (0.0 kbytes)", "0 bytes/sec"}},
    };
    for (const auto& c : cases) {
        CInfoDlg dialog(qzm::FileInformation(c.header));
        dialog.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));
        EXPECT_EQ(dialog.windowTitle(), "File information");
        const auto* labels = dialog.findChild<QListWidget*>("IDC_LIST");
        const auto* values = dialog.findChild<QListWidget*>("IDC_VALUES");
        ASSERT_TRUE(labels != nullptr && values != nullptr);
        EXPECT_EQ(Rows(*labels), (std::vector<QString>{"Filename:", "Version:", "Clip:", "Author:", "Frames:",
                                                       "Framerate:", "Duration:", "Filesize:", "Bitrate:"}));
        EXPECT_EQ(Rows(*values), c.values);
        for (int i = 0; i < labels->count(); ++i) {
            EXPECT_EQ(labels->mapTo(&dialog, labels->visualItemRect(labels->item(i)).topLeft()).y(),
                      values->mapTo(&dialog, values->visualItemRect(values->item(i)).topLeft()).y())
                << "row " << i;
        }
    }
}

TEST(InfoDialog, OkEscapeAndTheCloseBoxCloseIt) {
    const std::function<void(CInfoDlg&)> ends[] = {
        [](CInfoDlg& d) { Button(d, "OK")->click(); },
        [](CInfoDlg& d) { QTest::keyClick(&d, Qt::Key_Escape); },
        [](CInfoDlg& d) { d.close(); },
    };
    for (const auto& end : ends) {
        CInfoDlg dialog(qzm::FileInformation(qzm::StreamHeader::Empty()));
        dialog.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));
        end(dialog);
        EXPECT_FALSE(dialog.isVisible());
    }
}

// Opening the options with a current filter, what the user does, and what the dialog then reports.
struct OptionsCase {
    const char* what;
    int current;
    int preselected;
    std::function<void(COptionsDlg&, QComboBox&)> act;
    int result;
    int chosen;
};

TEST(OptionsDialog, PreselectsTheCurrentMethodAndReportsTheChoice) {
    const auto ok = [](COptionsDlg& d, QComboBox&) { Button(d, "OK")->click(); };
    const auto typeThenOk = [](const char* text) {
        return [text](COptionsDlg& d, QComboBox& box) {
            box.lineEdit()->selectAll();
            QTest::keyClick(box.lineEdit(), Qt::Key_Backspace);
            QTest::keyClicks(box.lineEdit(), text);
            QTest::keyClick(box.lineEdit(), Qt::Key_Return);  // the default button
            if (d.isVisible()) {
                Button(d, "OK")->click();
            }
        };
    };
    const OptionsCase cases[] = {
        {"OK unchanged", 2, 2, ok, QDialog::Accepted, 2},
        {"OK after choosing", 0, 0,
         [](COptionsDlg& d, QComboBox& box) {
             QTest::keyClick(&box, Qt::Key_Down);
             QTest::keyClick(&box, Qt::Key_Down);
             QTest::keyClick(&box, Qt::Key_Down);
             Button(d, "OK")->click();
         },
         QDialog::Accepted, 3},
        {"field cleared", 1, 1, typeThenOk(""), QDialog::Accepted, -1},
        {"other text", 3, 3, typeThenOk("Bicubic"), QDialog::Accepted, -1},
        {"an item's name typed", 0, 0, typeThenOk("Bilinear"), QDialog::Accepted, 1},
        {"index without item", 4, 0, ok, QDialog::Accepted, 0},
        {"no index", -1, 0, ok, QDialog::Accepted, 0},
        {"Cancel", 1, 1, [](COptionsDlg& d, QComboBox&) { Button(d, "Cancel")->click(); }, QDialog::Rejected,
         1},
        {"Escape", 3, 3, [](COptionsDlg& d, QComboBox&) { QTest::keyClick(&d, Qt::Key_Escape); },
         QDialog::Rejected, 3},
    };
    for (const OptionsCase& c : cases) {
        SCOPED_TRACE(c.what);
        COptionsDlg dialog(c.current);
        dialog.setResult(-1);
        dialog.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));
        auto* box = dialog.findChild<QComboBox*>("IDC_SCALE_METHOD");
        ASSERT_NE(box, nullptr);
        EXPECT_EQ(dialog.windowTitle(), "Options");
        ASSERT_EQ(box->count(), 4);
        EXPECT_EQ(
            (std::vector<QString>{box->itemText(0), box->itemText(1), box->itemText(2), box->itemText(3)}),
            (std::vector<QString>{"Nearest", "Bilinear", "Biquadratic", "Bicubuc"}));
        EXPECT_TRUE(box->isEditable());
        EXPECT_EQ(dialog.ChosenFilter(), c.preselected);

        c.act(dialog, *box);
        EXPECT_FALSE(dialog.isVisible());
        EXPECT_EQ(dialog.result(), c.result);
        EXPECT_EQ(dialog.ChosenFilter(), c.chosen);
        EXPECT_EQ(box->count(), 4);  // typed text never becomes an item
    }
}

TEST(AboutDialog, ShowsTheVersionAndClosesWithOk) {
    CAboutDlg dialog;
    dialog.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));
    EXPECT_EQ(dialog.windowTitle(), "About QZMPlayer");
    const QList<QLabel*> labels = dialog.findChildren<QLabel*>();
    EXPECT_TRUE(std::ranges::any_of(labels, [](QLabel* l) { return l->text() == "QZMPlayer Version 0.35"; }));
    Button(dialog, "OK")->click();
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
}

}  // namespace
