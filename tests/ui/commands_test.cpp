// The window's keys and wheel, full screen, the play list and frame grabs, through the real window.
#include <QWheelEvent>

#include "disk_images.h"
#include "file_loader.h"
#include "run_program.h"
#include "shared_data.h"
#include "window_fixture.h"

namespace qzm::ui::testing {
namespace {

using Commands = WindowTest;

// Where each key goes: to the widget with the focus after a click on the picture, a focus on the
// slider, or a focus on a button.
enum class To { Picture, Slider, Button };

// 200 frames at 1 frame a second: 5 seconds are 5 frames, a minute 60, and the real timer does not
// fire between the keys.
TEST_F(Commands, KeysSeekStepAndGoFullScreenWhereverTheFocusIs) {
    Show();
    ASSERT_TRUE(Open(WriteStream("clip.qzm", 200, 50)));
    const struct {
        To to;
        QKeyCombination key;
        int frame;
        bool playing;
        bool fullScreen;
    } cases[] = {
        {To::Picture, Qt::Key_Right, 6, true, false},
        {To::Slider, Qt::Key_Return, 6, true, false},  // Enter does nothing, never closes the window
        {To::Picture, Qt::Key_Enter, 6, true, false},
        {To::Picture, Qt::Key_Up, 66, true, false},
        {To::Button, Qt::Key_Down, 6, true, false},  // not along the buttons
        {To::Picture, Qt::Key_Left, 1, true, false},
        {To::Picture, Qt::Key_Left, 1, true, false},  // clamped to the video
        {To::Picture, Qt::Key_End, 200, true, false},
        {To::Picture, Qt::Key_Right, 200, true, false},
        {To::Picture, Qt::Key_Home, 1, true, false},
        {To::Slider, Qt::Key_Right, 2, true, false},     // the slider's own step
        {To::Slider, Qt::Key_PageUp, 42, true, false},   // and its page, a fifth
        {To::Slider, Qt::Key_Period, 43, false, false},  // the window's, pausing
        {To::Button, Qt::Key_Period, 44, false, false},
        {To::Picture, Qt::Key_Comma, 43, false, false},
        {To::Picture, Qt::Key_Space, 43, true, false},
        {To::Picture, Qt::Key_PageDown, 43, true, false},  // no next video
        {To::Picture, Qt::Key_F, 43, true, true},
        {To::Slider, Qt::Key_Right, 48, true, true},  // the hidden slider has let the focus go
        {To::Picture, Qt::Key_Escape, 48, true, false},
        {To::Slider, Qt::Key_F11, 48, true, true},
        {To::Picture, Qt::Key_F11, 48, true, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(::testing::Message()
                     << QKeySequence(c.key).toString().toStdString() << " to " << static_cast<int>(c.to));
        if (c.to == To::Picture) {
            QTest::mouseClick(window.get(), Qt::LeftButton, {}, {100, 100});
        } else {
            (c.to == To::Slider ? Slider() : Child(Control::Stop))->setFocus();
        }
        QWidget* focus = QApplication::focusWidget();
        QTest::keyClick(focus != nullptr ? focus : window.get(), c.key.key(), c.key.keyboardModifiers());
        EXPECT_EQ(Frame(), c.frame);
        EXPECT_EQ(Slider()->value(), c.frame);
        EXPECT_EQ(TimerOn(), c.playing);
        EXPECT_EQ(window->isFullScreen(), c.fullScreen);
        EXPECT_EQ(Slider()->isVisible(), !c.fullScreen);
    }
    // Wheel notches over the picture, a half notch at a time, seek 5 seconds each; not elsewhere (the
    // bottom panel).
    const std::tuple<QPoint, int, int> turns[] = {
        {{100, 100}, 60, 48}, {{100, 100}, 60, 53}, {{100, 100}, -120, 48}, {{100, 250}, 240, 48}};
    for (const auto& [at, angle, frame] : turns) {
        QWheelEvent turn(at, window->mapToGlobal(at), {}, {0, angle}, Qt::NoButton, {}, Qt::NoScrollPhase,
                         false);
        QApplication::sendEvent(window.get(), &turn);
        EXPECT_EQ(Frame(), frame) << at.y() << " " << angle;
    }
    // In full screen the pointer hides after a while without movement and comes back with it.
    QTest::keyClick(window.get(), Qt::Key_F);
    QMetaObject::invokeMethod(window->findChild<QTimer*>("CursorTimer"), "timeout", Qt::DirectConnection);
    EXPECT_EQ(window->cursor().shape(), Qt::BlankCursor);
    QTest::mouseMove(window.get(), {300, 300});
    EXPECT_EQ(window->cursor().shape(), Qt::ArrowCursor);
    QTest::keyClick(window.get(), Qt::Key_Escape);
    QTest::keyClick(window.get(), Qt::Key_Escape);
    EXPECT_FALSE(window->isVisible());
}

// a.qzm, a file of junk, a disk image of three videos, a missing file and b.qzm, told apart by their
// frame counts: the list plays on through the failures, each said once, takes the image's videos
// without asking, moves with Page Up and Page Down, and ends as a single video does: stopped at its
// start, from where play starts it over. A disk image opened as a drop asks, and only the videos
// from the chosen one on follow it; while it asks, another open is refused and the timer waits.
TEST_F(Commands, PlayListAdvancesSkipsFailuresAndEndsAsOneVideo) {
    Show();
    qzm::testing::TrdImageBuilder image;
    for (const int frames : {4, 5, 6}) {
        const std::string video = WriteStream("v" + std::to_string(frames) + ".qzm", frames);
        image.AddFile("v" + std::to_string(frames), qzm::testing::kQzmTag, ReadWholeFile(video).value());
    }
    const std::string disk = dir.Write("three.trd", image.Build());
    const std::string missing = (dir.Path() / "gone.qzm").string();
    const std::vector<std::uint8_t> junk(300, 'Z');
    QStringList paths;
    for (const std::string& path :
         {WriteStream("a.qzm", 3), dir.Write("junk.qzm", junk), disk, missing, WriteStream("b.qzm", 7)}) {
        paths.append(QString::fromStdString(path));
    }
    const auto playing = [&] { return TimerOn() ? int{window->Player().Header().FrameCount()} : 0; };
    const auto toTheEnd = [&] {
        for (int frames = playing(); frames-- > 0;) {
            Tick();
        }
    };
    const auto key = [&](Qt::Key k) { QTest::keyClick(window.get(), k); };

    ASSERT_TRUE(window->OpenPaths(paths));
    EXPECT_EQ(playing(), 3);
    toTheEnd();
    EXPECT_EQ(playing(), 4);
    EXPECT_EQ(host.messages, std::vector<std::string>{"Invalid stream!"});
    EXPECT_TRUE(host.choices.empty());
    key(Qt::Key_PageDown);
    key(Qt::Key_PageDown);
    key(Qt::Key_PageUp);
    EXPECT_EQ(playing(), 5);
    key(Qt::Key_PageDown);
    toTheEnd();
    EXPECT_EQ(playing(), 7);
    ASSERT_EQ(host.messages.size(), 2u);
    EXPECT_EQ(host.messages[1], "Cannot open \"" + missing + "\": there is no such file.");
    key(Qt::Key_PageUp);  // the failures have left the list
    EXPECT_EQ(playing(), 6);
    key(Qt::Key_PageDown);
    toTheEnd();
    EXPECT_EQ(playing(), 0);
    EXPECT_EQ(Frame(), 1);
    EXPECT_EQ(Slider()->value(), 0);
    Click(Control::Play);
    EXPECT_TRUE(TimerOn());
    Tick();
    EXPECT_EQ(Slider()->value(), 2);

    host.answers = {1};
    bool refused = false;
    host.onChoose = [&] {
        refused = !window->OpenPaths(paths);
        Click(Control::Play);  // its ticks find the player busy
        Tick();
    };
    ASSERT_TRUE(Open(disk));
    EXPECT_TRUE(refused);
    EXPECT_EQ(host.choices.size(), 1u);
    EXPECT_EQ(playing(), 5);
    EXPECT_EQ(Frame(), 1);
    key(Qt::Key_PageUp);
    EXPECT_EQ(playing(), 5);
    key(Qt::Key_PageDown);
    EXPECT_EQ(playing(), 6);
    EXPECT_EQ(host.messages.size(), 2u);
}

// S writes the frame as `qzmtool export` does, pixel for pixel, into the pictures folder (made when
// missing) and says so over the picture; Shift+S writes what the screen shows, beside it and without
// replacing it. A folder that cannot be made is said in a message.
TEST_F(Commands, SavedFramesEqualTheExportAndTheScreen) {
    WriteText("config/QZMPlayer.ini", "[Render]\nFilter=3\n");
    const auto picturesIn = [&](const std::string& folder) {
        WriteText("config/user-dirs.dirs", "XDG_PICTURES_DIR=\"" + folder + "\"\n");
    };
    const std::string pictures = (dir.Path() / "my pictures").string();
    picturesIn(pictures);
    Show();
    window->resize(500, 400);
    ASSERT_TRUE(QTest::qWaitFor([&] { return window->size() == QSize(500, 400); }));
    const std::string demo = (qzm::testing::SourceDir() / "samples" / "demo.qzm").string();
    ASSERT_TRUE(Open(demo));
    Tick();
    Tick();
    QTest::keyClick(window.get(), Qt::Key_Space);
    const DisplayGeometry d = window->Player().Display();
    const auto picture = [&] { return Rgb32(OnScreen().copy(d.x, d.y, d.width, d.height)); };
    window->repaint();
    const QImage before = picture();

    QTest::keyClick(window.get(), Qt::Key_S);
    EXPECT_TRUE(QTest::qWaitFor([&] { return picture() != before; }));
    const QImage saved(QString::fromStdString(pictures + "/DEMO-00003.png"));
    ASSERT_FALSE(saved.isNull());
    const std::string exported = (dir.Path() / "export").string();
    const auto r = qzm::testing::RunProgram(
        QZMTOOL_PATH, {"export", demo, "--out", exported, "--format", "png", "--from", "3", "--count", "1"});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    const QImage expected(QString::fromStdString(exported + "/frame-00003.png"));
    EXPECT_EQ(Rgb32(saved), Rgb32(expected));

    QTest::keyClick(window.get(), Qt::Key_S, Qt::ShiftModifier);
    QMetaObject::invokeMethod(window->findChild<QTimer*>("NoteTimer"), "timeout", Qt::DirectConnection);
    EXPECT_TRUE(QTest::qWaitFor([&] { return picture() == before; }));
    const QImage shown(QString::fromStdString(pictures + "/DEMO-00003-2.png"));
    EXPECT_EQ(Rgb32(shown), before);

    picturesIn(demo + "/shots");  // a folder inside a file
    QTest::keyClick(window.get(), Qt::Key_S);
    ASSERT_EQ(host.messages.size(), 1u);
    EXPECT_TRUE(host.messages[0].starts_with("Cannot save \"" + demo + "/shots/DEMO-00003.png\": "))
        << host.messages[0];
}

}  // namespace
}  // namespace qzm::ui::testing
