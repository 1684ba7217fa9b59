// The main window's frame (size and layout, hover images, on top, the settings file at start-up) and
// playback through it: opening, ticks, play/pause, stop, the slider, drops, failures, and the dialogs
// that change what is shown or stored.
#include <QComboBox>
#include <QDialog>
#include <QFile>
#include <QFileDialog>
#include <QMimeData>
#include <QPointer>
#include <QSettings>
#include <QUrl>

#include "window_fixture.h"

namespace qzm::ui::testing {
namespace {

using WindowFrame = WindowTest;

TEST_F(WindowFrame, StartsAtMinimumSizeAndHandsEveryResizeToThePlayer) {
    CPlayerDlg& w = Show();
    EXPECT_EQ(w.objectName(), "CPlayerDlg");
    EXPECT_EQ(w.windowTitle(), "QZM Player 0.31");
    EXPECT_TRUE(w.windowFlags().testFlag(Qt::FramelessWindowHint));
    EXPECT_EQ(w.size(), QSize(267, 269));
    EXPECT_EQ(w.minimumSize(), QSize(267, 269));
    EXPECT_EQ(w.Player().Display(), (DisplayGeometry{256, 192, 3, 18}));
    EXPECT_EQ(Child(Control::Close)->geometry(), QRect(245, 0, 16, 16));
    EXPECT_EQ(QApplication::focusWidget(), Slider());

    w.resize(800, 600);
    EXPECT_TRUE(QTest::qWaitFor([&] { return w.size() == QSize(800, 600); }));
    EXPECT_EQ(w.Player().Display(), FitDisplayArea(789, 523));
    EXPECT_EQ(Slider()->geometry(), QRect(8, 542, 781, 16));

    // Blue wherever the picture does not reach, black picture before any file.
    const QImage shot = w.grab().toImage();
    EXPECT_EQ(shot.pixel(1, 100), kBackgroundBlue);
    EXPECT_EQ(shot.pixel(400, 30), qRgb(0, 0, 0));

    // Play with nothing open runs one tick, which stops it without a message.
    Click(Control::Play);
    EXPECT_TRUE(TimerOn());
    Tick();
    EXPECT_FALSE(TimerOn());
    EXPECT_TRUE(host.messages.empty());
}

TEST_F(WindowFrame, ExactlyTheButtonUnderTheCursorShowsItsHoverImage) {
    CPlayerDlg& w = Show();
    const CSkin skin;
    const auto shows = [&](Control id, bool hover) {
        const QPixmap& expected = hover ? skin.Hover(id) : skin.Normal(id);
        return Rgb32(Button(id)->grab().toImage()) == Rgb32(expected.toImage());
    };
    QTest::mouseMove(Button(Control::Open), {5, 5});
    EXPECT_TRUE(shows(Control::Open, true));
    QTest::mouseMove(&w, {150, 100});  // the picture: background
    EXPECT_TRUE(shows(Control::Open, false));
    QTest::mouseMove(Button(Control::Open), {6, 6});
    EXPECT_TRUE(shows(Control::Open, true));
    QTest::mouseMove(Button(Control::Play), {5, 5});
    EXPECT_TRUE(shows(Control::Open, false));
    EXPECT_TRUE(shows(Control::Play, true));
    QEvent leave(QEvent::Leave);  // the cursor leaves the window straight from the button
    QApplication::sendEvent(&w, &leave);
    EXPECT_TRUE(shows(Control::Play, false));
}

TEST_F(WindowFrame, OnTopTogglesInPlaceWithTheSunkenEdge) {
    CPlayerDlg& w = Show();
    w.move(40, 50);
    EXPECT_TRUE(QTest::qWaitFor([&] { return w.pos() == QPoint(40, 50); }));
    const QRect before = w.geometry();
    for (const bool on : {true, false}) {
        Click(Control::OnTop);
        EXPECT_EQ(w.windowFlags().testFlag(Qt::WindowStaysOnTopHint), on);
        EXPECT_EQ(w.windowHandle()->flags().testFlag(Qt::WindowStaysOnTopHint), on);
        EXPECT_EQ(Button(Control::OnTop)->isChecked(), on);
        EXPECT_TRUE(w.isVisible());
        EXPECT_EQ(w.geometry(), before);
    }
}

TEST_F(WindowFrame, ReadsTheScaleMethodAtStartUpAndNeverWritesIt) {
    const struct {
        const char* contents;  // nullptr: no settings file
        int filter;
    } cases[] = {{nullptr, 0}, {"[Render]\nFilter=7\n", 7}, {"[Other]\nFilter=2\n", 0}};
    for (const auto& c : cases) {
        QFile::remove(SettingsFile());
        if (c.contents != nullptr) {
            WriteText("config/QZMPlayer.ini", c.contents);
        }
        Show();
        EXPECT_EQ(window->Player().GetFilter(), c.filter) << (c.contents ? c.contents : "no file");
        window->close();
        window.reset();
        QFile file(SettingsFile());
        if (c.contents == nullptr) {
            EXPECT_FALSE(file.exists());
        } else {
            ASSERT_TRUE(file.open(QIODevice::ReadOnly));
            EXPECT_EQ(file.readAll(), QByteArray(c.contents));
        }
    }
}

using Playback = WindowTest;

// Ctrl+O or the eject button shows the file dialog; the chosen file opens once the dialog has gone,
// so that its messages do not stand over it. Bytes that are no stream, named .qzm, say so once, and
// then neither play (the timer would run at the garbage's delay) nor the slider (each seek would start
// the stream again) repeat it. The next dialog starts in the folder of the last file opened. The
// timer runs at the video's delay, delay 0 taken as 1.
TEST_F(Playback, OpenThroughTheDialogSetsTheRangeAndTheTimer) {
    Show();
    QPointer<QFileDialog> files;
    const auto choose = [&](const std::string& path) {
        files = window->findChild<QFileDialog*>();
        ASSERT_FALSE(files.isNull());
        EXPECT_EQ(files->nameFilters(), QStringList{"All supported formats (*.qzm *.trd *.scl)"});
        files->selectFile(QString::fromStdString(path));
        static_cast<QDialog*>(files.data())->accept();  // as its Open button does
    };
    bool dialogShown = true;
    host.onMessage = [&](std::string_view) { dialogShown = !files.isNull() && files->isVisible(); };
    const std::vector<std::uint8_t> junk(300, 'Z');  // its "header" counts 0x5A5A frames of delay 0x5A
    QTest::keyClick(window.get(), Qt::Key_O, Qt::ControlModifier);
    choose(dir.Write("junk.qzm", junk));
    EXPECT_TRUE(QTest::qWaitFor([&] { return host.messages.size() == 1; }));
    EXPECT_FALSE(dialogShown);
    Click(Control::Play);
    QTest::mouseClick(Slider(), Qt::LeftButton, {}, {Slider()->width() - 4, 8});
    QTest::keyClick(Slider(), Qt::Key_End);
    EXPECT_FALSE(TimerOn());
    EXPECT_EQ(Slider()->maximum(), 100);  // a fresh slider's
    EXPECT_EQ(host.messages, std::vector<std::string>{"Invalid stream!"});
    ASSERT_TRUE(Open(WriteStream("sub/clip0.qzm", 5, 0)));
    EXPECT_EQ(Timer()->interval(), 20);

    Click(Control::Open);
    EXPECT_EQ(window->findChild<QFileDialog*>()->directory().absolutePath(),
              QString::fromStdString((dir.Path() / "sub").string()));
    choose(WriteStream("CLIP.Qzm", 90));
    EXPECT_TRUE(QTest::qWaitFor([&] { return Slider()->maximum() == 90; }));
    EXPECT_TRUE(TimerOn());
    EXPECT_EQ(Timer()->interval(), 5100);
    EXPECT_EQ(Timer()->timerType(), Qt::PreciseTimer);
    Tick();
    EXPECT_EQ(Slider()->value(), 2);
    EXPECT_EQ(Frame(), 2);
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
    QWidget* play = Child(Control::Play);
    QTest::mouseClick(play, Qt::LeftButton);  // a double click as the mouse sends it: one click
    QTest::mouseDClick(play, Qt::LeftButton);
    QTest::mouseRelease(play, Qt::LeftButton);
    EXPECT_TRUE(TimerOn());
    Click(Control::Stop);
    EXPECT_FALSE(TimerOn());
    EXPECT_EQ(Frame(), 1);
    EXPECT_EQ(Slider()->value(), 0);
}

// The slider seeks on what the user does, not when the program moves it, and a held thumb stays under
// the mouse while playback goes on. What the screen shows follows a seek while paused: the picture
// and the counter.
TEST_F(Playback, SliderSeeksOnlyOnUserActionsAndTicksLeaveAHeldThumb) {
    Show();
    ASSERT_TRUE(Open(WriteStream("clip.qzm", 50)));
    Slider()->setSliderDown(true);
    Slider()->setSliderPosition(10);  // what a drag does
    EXPECT_EQ(Frame(), 10);
    EXPECT_TRUE(TimerOn());
    Tick();
    EXPECT_EQ(Slider()->sliderPosition(), 10);
    Slider()->setSliderDown(false);  // let go where it was held
    Tick();
    EXPECT_EQ(Slider()->value(), 11);
    Click(Control::Play);  // pause
    QTest::keyClick(Slider(), Qt::Key_End);
    EXPECT_EQ(Frame(), 50);
    EXPECT_FALSE(TimerOn());
    Slider()->setValue(5);  // programmatic: no seek
    EXPECT_EQ(Frame(), 50);

    const QRect cell(3, 18, 8, 8);
    const QRect counter = Child(Control::Time)->geometry();
    window->repaint();  // nothing left to paint
    const QImage before = OnScreen();
    Slider()->setSliderPosition(9);
    EXPECT_EQ(Frame(), 9);
    EXPECT_TRUE(QTest::qWaitFor([&] {
        const QImage now = OnScreen();
        return now.copy(cell) != before.copy(cell) && now.copy(counter) != before.copy(counter);
    }));
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

// Frame 3 has an unknown command. Played through, it is said once, and a tick that comes while the
// message is up is skipped, not taken for the end. A drag back and forth across it seeks through it
// again and again, but one press of the slider is one action and says so once, with the slider let
// go of first.
TEST_F(Playback, ADecoderErrorIsShownOncePerActionWithTheSliderReleased) {
    Show();
    ASSERT_TRUE(Open(WriteStream("clip.qzm", 20, 255, 3)));
    Tick();
    int framesInside = -1;
    host.onMessage = [&](std::string_view) {
        Tick();  // the message box's loop lets the timer through
        framesInside = Frame();
        EXPECT_TRUE(TimerOn());
    };
    Tick();  // frame 3 reports its unknown command and goes on
    EXPECT_EQ(framesInside, 2);
    EXPECT_TRUE(TimerOn());
    EXPECT_EQ(Slider()->value(), 3);

    QTest::keyClick(Slider(), Qt::Key_Home);  // a new action, before frame 3
    host.onMessage = [&](std::string_view) { EXPECT_FALSE(Slider()->isSliderDown()); };
    Slider()->setSliderDown(true);  // the thumb is held
    for (int position : {6, 2, 6, 2, 6}) {
        Slider()->setSliderPosition(position);
    }
    EXPECT_EQ(host.messages.size(), 2u);
    QTest::keyClick(Slider(), Qt::Key_Home);  // a new action: back before frame 3
    QTest::keyClick(Slider(), Qt::Key_End);   // and another: across it
    EXPECT_EQ(host.messages, std::vector<std::string>(3, "Wrong command!"));
}

// Options: OK applies the scale method and writes it, Cancel changes nothing. Information: one
// dialog at a time, which does not stop playback and goes with the window.
TEST_F(Playback, OptionsApplyAndWriteOnOkAndOneInfoDialogGoesWithTheWindow) {
    Show();
    const auto runOptions = [&](int index, bool ok) {
        Click(Control::Options);
        auto* dialog = window->findChild<QDialog*>();
        ASSERT_NE(dialog, nullptr);
        auto* combo = dialog->findChild<QComboBox*>();
        EXPECT_EQ(combo->currentIndex(), window->Player().GetFilter());
        combo->setCurrentIndex(index);
        ok ? dialog->accept() : dialog->reject();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    };
    runOptions(2, false);
    EXPECT_EQ(window->Player().GetFilter(), 0);
    EXPECT_FALSE(QFile::exists(SettingsFile()));
    for (const int filter : {3, -1}) {  // -1: no selection
        runOptions(filter, true);
        EXPECT_EQ(window->Player().GetFilter(), filter);
        EXPECT_EQ(QSettings(SettingsFile(), QSettings::IniFormat).value("Render/Filter").toInt(), filter);
    }

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
