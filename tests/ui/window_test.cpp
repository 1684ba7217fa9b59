// The main window's frame: size and layout, hover images, on top, and the settings file at start-up.
#include <QFile>
#include <QSettings>

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
        return Button(id)->grab().toImage().convertToFormat(QImage::Format_RGB32) ==
               expected.toImage().convertToFormat(QImage::Format_RGB32);
    };
    const auto moveTo = [&](QWidget* target, QPoint p) { QTest::mouseMove(target, p); };
    moveTo(Button(Control::Open), {5, 5});
    EXPECT_TRUE(shows(Control::Open, true));
    moveTo(&w, {150, 100});  // the picture: background
    EXPECT_TRUE(shows(Control::Open, false));
    moveTo(Button(Control::Open), {6, 6});
    EXPECT_TRUE(shows(Control::Open, true));
    moveTo(Button(Control::Play), {5, 5});
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

}  // namespace
}  // namespace qzm::ui::testing
