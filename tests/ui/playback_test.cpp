// Playback through the real window: opening, ticks, play/pause, stop, the slider, drops, failures,
// and the dialogs that change what is shown or stored.
#include <QComboBox>
#include <QDialog>
#include <QFile>
#include <QFileDialog>
#include <QMimeData>
#include <QSettings>
#include <QUrl>

#include "disk_images.h"
#include "file_loader.h"
#include "window_fixture.h"

namespace qzm::ui::testing {
namespace {

using Playback = WindowTest;

TEST_F(Playback, OpenSetsTheRangeAndTicksMoveTheSlider) {
    Show();
    const std::string clip = WriteStream("CLIP.Qzm", 100);
    QTest::keyClick(window.get(), Qt::Key_O, Qt::ControlModifier);
    auto* files = window->findChild<QFileDialog*>();
    ASSERT_NE(files, nullptr);
    EXPECT_EQ(files->nameFilters(), QStringList{"All supported formats (*.qzm *.trd *.scl)"});
    files->selectFile(QString::fromStdString(clip));
    static_cast<QDialog*>(files)->accept();  // as its Open button does
    EXPECT_EQ(Slider()->maximum(), 100);
    EXPECT_TRUE(TimerOn());
    EXPECT_EQ(window->FrameTimer().interval(), 5100);
    EXPECT_EQ(window->FrameTimer().timerType(), Qt::PreciseTimer);
    Tick();
    EXPECT_EQ(Slider()->value(), 2);
    EXPECT_EQ(Frame(), 2);
}

TEST_F(Playback, EndOfStreamStopsRewindsAndPlayStartsOver) {
    Show();
    ASSERT_TRUE(Open(WriteStream("clip.qzm", 4)));
    for (int i = 0; i < 3; ++i) {
        Tick();
    }
    EXPECT_EQ(Slider()->value(), 4);
    Tick();  // the end of the stream
    EXPECT_FALSE(TimerOn());
    EXPECT_FALSE(window->Playback().IsPlaying());
    EXPECT_EQ(Slider()->value(), 0);
    EXPECT_EQ(Frame(), 1);  // the first frame shown again
    Click(Control::Play);
    EXPECT_TRUE(TimerOn());
    Tick();
    EXPECT_EQ(Slider()->value(), 2);
}

TEST_F(Playback, StopRewindsOnlyWhilePlaying) {
    Show();
    ASSERT_TRUE(Open(WriteStream("clip.qzm", 20)));
    Tick();
    Tick();
    QTest::keyClick(window.get(), Qt::Key_Space);  // pause
    EXPECT_FALSE(TimerOn());
    Click(Control::Stop);
    EXPECT_EQ(Frame(), 3);
    EXPECT_EQ(Slider()->value(), 3);
    Click(Control::Play);
    EXPECT_TRUE(TimerOn());
    Click(Control::Stop);
    EXPECT_FALSE(TimerOn());
    EXPECT_EQ(Frame(), 1);
    EXPECT_EQ(Slider()->value(), 0);
}

TEST_F(Playback, PlayBeforeAnyOpenRunsOneTickAndStops) {
    Show();
    Click(Control::Play);
    EXPECT_TRUE(TimerOn());
    Tick();
    EXPECT_FALSE(TimerOn());
    EXPECT_FALSE(window->Playback().IsPlaying());
    EXPECT_EQ(Slider()->value(), 0);
    EXPECT_TRUE(host.messages.empty());
}

TEST_F(Playback, SliderSeeksOnlyOnUserActionsAndKeepsTheTimer) {
    Show();
    ASSERT_TRUE(Open(WriteStream("clip.qzm", 50)));
    Slider()->setSliderPosition(10);  // what a drag does
    EXPECT_EQ(Frame(), 10);
    EXPECT_TRUE(TimerOn());
    Tick();
    EXPECT_EQ(Slider()->value(), 11);
    Click(Control::Play);  // pause
    QTest::keyClick(Slider(), Qt::Key_End);
    EXPECT_EQ(Frame(), 50);
    EXPECT_FALSE(TimerOn());
    Slider()->setValue(5);  // programmatic: no seek
    EXPECT_EQ(Frame(), 50);
}

TEST_F(Playback, DropOpensTheFirstLocalFile) {
    Show();
    const std::string first = WriteStream("a.qzm", 7);
    const std::string second = WriteStream("b.qzm", 9);
    QMimeData data;
    data.setUrls({QUrl(QStringLiteral("http://example.invalid/x.qzm")),
                  QUrl::fromLocalFile(QString::fromStdString(first)),
                  QUrl::fromLocalFile(QString::fromStdString(second))});
    QDragEnterEvent enter(QPoint(100, 100), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(window.get(), &enter);
    ASSERT_TRUE(enter.isAccepted());
    QDropEvent drop(QPointF(100, 100), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(window.get(), &drop);
    EXPECT_EQ(window->Player().Header().FrameCount(), 7);
    EXPECT_EQ(Slider()->maximum(), 7);
}

TEST_F(Playback, FailedOpenStopsSoThatPlayStartsAgain) {
    Show();
    ASSERT_TRUE(Open(WriteStream("good.qzm", 30)));
    const std::uint8_t junk[300] = {'X', 'Y', 2};
    ASSERT_TRUE(Open(dir.Write("bad.qzm", junk)));
    EXPECT_EQ(host.messages, std::vector<std::string>{"Invalid stream!"});
    EXPECT_FALSE(TimerOn());
    EXPECT_EQ(Slider()->maximum(), 30);
    Click(Control::Play);
    EXPECT_TRUE(TimerOn());
}

TEST_F(Playback, TickDuringAMessageIsSkippedNotTakenForTheEnd) {
    Show();
    ASSERT_TRUE(Open(WriteStream("clip.qzm", 10, 255, 3)));
    Tick();
    int framesInside = -1;
    host.onMessage = [&](std::string_view) {
        Tick();  // the message box's loop lets the timer through
        framesInside = Frame();
        EXPECT_TRUE(TimerOn());
        EXPECT_TRUE(window->Playback().IsPlaying());
    };
    Tick();  // frame 3 reports its unknown command and goes on
    EXPECT_EQ(host.messages, std::vector<std::string>{"Wrong command!"});
    EXPECT_EQ(framesInside, 2);
    EXPECT_TRUE(TimerOn());
    EXPECT_EQ(Slider()->value(), 3);
}

TEST_F(Playback, OpenWhileChoosingIsRefusedAndPlaybackGoesOn) {
    Show();
    const std::string clip = WriteStream("clip.qzm", 10);
    qzm::testing::TrdImageBuilder image;
    const std::vector<std::uint8_t> video = ReadWholeFile(clip).value();
    image.AddFile("one", qzm::testing::kQzmTag, video);
    image.AddFile("two", qzm::testing::kQzmTag, video);
    const std::string disk = dir.Write("two.trd", image.Build());
    ASSERT_TRUE(Open(clip));
    bool refused = false;
    host.answers = {1};
    host.onChoose = [&] {
        refused = !Open(clip);
        Click(Control::Play);  // starts the timer; its ticks find the player busy
        Tick();
    };
    ASSERT_TRUE(Open(disk));
    EXPECT_TRUE(refused);
    EXPECT_TRUE(TimerOn());
    EXPECT_EQ(Frame(), 1);
    EXPECT_EQ(host.choices.size(), 1u);
}

TEST_F(Playback, TimerPeriodFollowsTheDelay) {
    Show();
    const std::pair<int, int> cases[] = {{2, 40}, {0, 20}, {1, 20}};
    for (const auto& [delay, period] : cases) {
        ASSERT_TRUE(Open(WriteStream("d" + std::to_string(delay) + ".qzm", 5, delay)));
        EXPECT_EQ(window->FrameTimer().interval(), period) << "delay " << delay;
    }
}

TEST_F(Playback, OptionsOkAppliesAndWritesCancelChangesNothing) {
    Show();
    const auto runOptions = [&](int index, bool ok) {
        Click(Control::Options);
        auto* dialog = window->findChild<QDialog*>();
        ASSERT_NE(dialog, nullptr);
        auto* combo = dialog->findChild<QComboBox*>();
        ASSERT_NE(combo, nullptr);
        EXPECT_EQ(combo->currentIndex(), window->Player().GetFilter());
        combo->setCurrentIndex(index);
        ok ? dialog->accept() : dialog->reject();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    };
    runOptions(2, false);
    EXPECT_EQ(window->Player().GetFilter(), 0);
    EXPECT_FALSE(QFile::exists(SettingsFile()));
    runOptions(3, true);
    EXPECT_EQ(window->Player().GetFilter(), 3);
    EXPECT_EQ(QSettings(SettingsFile(), QSettings::IniFormat).value("Render/Filter").toInt(), 3);
    runOptions(-1, true);  // no selection
    EXPECT_EQ(window->Player().GetFilter(), -1);
    EXPECT_EQ(QSettings(SettingsFile(), QSettings::IniFormat).value("Render/Filter").toInt(), -1);
}

TEST_F(Playback, OneInfoDialogClosedWithTheWindow) {
    Show();
    ASSERT_TRUE(Open(WriteStream("clip.qzm", 10)));
    Click(Control::Info);
    Click(Control::Info);
    const auto dialogs = window->findChildren<QDialog*>();
    ASSERT_EQ(dialogs.size(), 1);
    QPointer<QDialog> info = dialogs.front();
    EXPECT_TRUE(info->isVisible());
    EXPECT_TRUE(TimerOn());
    window->close();
    EXPECT_TRUE(info.isNull() || !info->isVisible());
}

}  // namespace
}  // namespace qzm::ui::testing
