// The real main window on Qt's offscreen platform, with a recording host, a private configuration
// directory and test streams written to disk.
#pragma once

#include <gtest/gtest.h>

#include <QScreen>
#include <QSlider>
#include <QTest>
#include <QTimer>
#include <memory>

#include "image_button.h"
#include "player_dialog.h"
#include "recording_host.h"
#include "stream_builder.h"
#include "temp_dir.h"

namespace qzm::ui::testing {

class WindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        // The settings file lives here: QStandardPaths reads the variable on every call.
        qputenv("XDG_CONFIG_HOME", ConfigDir().toLocal8Bit());
    }
    void TearDown() override { window.reset(); }

    QString ConfigDir() const { return QString::fromStdString((dir.Path() / "config").string()); }
    QString SettingsFile() const { return ConfigDir() + "/QZMPlayer.ini"; }

    CPlayerDlg& Show() {
        window = std::make_unique<CPlayerDlg>(host);
        window->show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(window.get()));
        return *window;
    }

    template <class T = QWidget>
    T* Child(Control id) const {
        return window->findChild<T*>(QLatin1String(ControlName(id)));
    }
    ImageButton* Button(Control id) const { return Child<ImageButton>(id); }
    QSlider* Slider() const { return Child<QSlider>(Control::Position); }
    void Click(Control id) const { QTest::mouseClick(Child(id), Qt::LeftButton); }

    QTimer* Timer() const { return window->findChild<QTimer*>("FrameTimer"); }
    // One tick of the frame timer, whether it runs or not.
    void Tick() const { QMetaObject::invokeMethod(Timer(), "timeout", Qt::DirectConnection); }
    int Frame() const { return window->Player().CurrentFrame(); }
    bool TimerOn() const { return Timer()->isActive(); }
    // What the window shows on the screen (its backing store), not a fresh rendering of it.
    QImage OnScreen() const { return window->screen()->grabWindow(window->winId()).toImage(); }
    static QImage Rgb32(const QImage& image) { return image.convertToFormat(QImage::Format_RGB32); }

    // A stream of `frames` frames, each writing one cell; frame `badFrame` (1-based) holds an
    // unknown command instead. The default delay keeps the real timer from firing during a test.
    std::string WriteStream(const std::string& name, int frames, int delay = 255, int badFrame = 0) const {
        qzm::testing::StreamBuilder stream;
        stream.Header({.frameCount = static_cast<std::uint16_t>(frames),
                       .frameDelay = static_cast<std::uint8_t>(delay),
                       .blocks = {1}});
        for (int f = 1; f <= frames; ++f) {
            qzm::testing::CellLines lines;
            lines.fill(static_cast<std::uint8_t>(f));
            if (f == badFrame) {
                stream.Command(0x50);
            }
            stream.Literal(0, lines).EndFrame();
        }
        const auto bytes = stream.EndStream().Take();
        return dir.Write(name, bytes);
    }
    bool Open(const std::string& path) const { return window->OpenPath(QString::fromStdString(path)); }
    void WriteText(const std::string& name, std::string_view text) const {
        dir.Write(name, std::span(reinterpret_cast<const std::uint8_t*>(text.data()), text.size()));
    }

    qzm::testing::TempDir dir;
    qzm::testing::RecordingHost host;
    std::unique_ptr<CPlayerDlg> window;
};

}  // namespace qzm::ui::testing
