// The player window's costs on Qt's offscreen platform at 1920 x 1080 with the bicubic method: one
// resize step (layout, render at the new size, paint) and one frame (decode, convert, render,
// paint), each against a memset of the 1920 x 1080 output in the same run.
#include <QApplication>
#include <QTimer>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <memory>
#include <vector>

#include "file_loader.h"
#include "player_dialog.h"
#include "ratio_report.h"
#include "recording_host.h"
#include "settings.h"
#include "shared_data.h"
#include "temp_dir.h"

namespace {

constexpr int kWidth = 1920;
constexpr int kHeight = 1080;

// The window, shown at full HD with the bicubic method and the bundled demo playing.
struct Fixture {
    Fixture() {
        qputenv("XDG_CONFIG_HOME", QByteArray::fromStdString((dir.Path() / "config").string()));
        qzm::ui::WriteFilterSetting(3);
        window = std::make_unique<qzm::ui::CPlayerDlg>(host);
        window->resize(kWidth, kHeight);
        window->show();
        QCoreApplication::processEvents();
        const auto demo = qzm::testing::SourceDir() / "samples" / "demo.qzm";
        window->OpenPath(QString::fromStdString(demo.string()));
    }
    qzm::testing::TempDir dir;
    qzm::testing::RecordingHost host;
    std::unique_ptr<qzm::ui::CPlayerDlg> window;
};

// Made on first use, destroyed by main while the application object still exists.
std::unique_ptr<Fixture> g_fixture;

Fixture& Window() {
    if (!g_fixture) {
        g_fixture = std::make_unique<Fixture>();
    }
    return *g_fixture;
}

void BM_Memset1080p(benchmark::State& state) {
    std::vector<std::uint32_t> pixels(std::size_t{kWidth} * kHeight);
    for (auto _ : state) {
        std::memset(pixels.data(), static_cast<int>(state.iterations() & 0xFF), pixels.size() * 4);
        benchmark::DoNotOptimize(pixels.data());
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_Memset1080p);

// The render part of a resize step alone: the player without a window.
void BM_RenderAtNewSize(benchmark::State& state) {
    qzm::testing::RecordingHost host;
    qzm::CStreamPlayer player(host);
    player.SetFilter(3);
    qzm::LoadFile(player, (qzm::testing::SourceDir() / "samples" / "demo.qzm").string());
    int step = 0;
    for (auto _ : state) {
        const int d = step++ & 1;
        player.SetDisplayArea(kWidth - 11 - d, kHeight - 77 - d);
    }
}
BENCHMARK(BM_RenderAtNewSize)->Unit(benchmark::kMillisecond);

// Alternates between two sizes a pixel apart, as a drag does.
void BM_ResizeStep(benchmark::State& state) {
    qzm::ui::CPlayerDlg& w = *Window().window;
    int step = 0;
    for (auto _ : state) {
        const int d = step++ & 1;
        w.resize(kWidth - d, kHeight - d);
        QCoreApplication::processEvents();
        w.repaint();
    }
    state.counters["display_width"] = w.Player().Display().width;
}
BENCHMARK(BM_ResizeStep)->Unit(benchmark::kMillisecond);

// The paint part alone: the whole window repainted at a fixed size.
void BM_RepaintWindow(benchmark::State& state) {
    qzm::ui::CPlayerDlg& w = *Window().window;
    w.resize(kWidth, kHeight);
    QCoreApplication::processEvents();
    for (auto _ : state) {
        w.repaint();
    }
}
BENCHMARK(BM_RepaintWindow)->Unit(benchmark::kMillisecond);

void BM_FrameStep(benchmark::State& state) {
    qzm::ui::CPlayerDlg& w = *Window().window;
    w.resize(kWidth, kHeight);
    QCoreApplication::processEvents();
    auto* timer = w.findChild<QTimer*>(QStringLiteral("FrameTimer"));
    for (auto _ : state) {
        QMetaObject::invokeMethod(timer, "timeout", Qt::DirectConnection);
        w.repaint();
    }
}
BENCHMARK(BM_FrameStep)->Unit(benchmark::kMillisecond);

// Resident memory of the process in kilobytes (Linux).
double ResidentKilobytes() {
    long pages = 0;
    long resident = 0;
    std::ifstream("/proc/self/statm") >> pages >> resident;
    return static_cast<double>(resident) * 4.0;
}

// Memory while playing for minutes and across a hundred opens of different files: the demo cut to a
// hundred different lengths, each opened and played for 50 frames, then 9000 frames (three minutes
// at 50 fps) of playing. The counters give the growth after the first ten opens and after playing.
void BM_MemoryOverOpensAndPlay(benchmark::State& state) {
    qzm::ui::CPlayerDlg& w = *Window().window;
    w.resize(kWidth, kHeight);
    QCoreApplication::processEvents();
    auto* timer = w.findChild<QTimer*>(QStringLiteral("FrameTimer"));
    const auto demo = qzm::testing::SourceDir() / "samples" / "demo.qzm";
    std::vector<std::uint8_t> bytes(std::filesystem::file_size(demo));
    std::ifstream(demo, std::ios::binary).read(reinterpret_cast<char*>(bytes.data()), bytes.size());
    auto tick = [&](int frames) {
        for (int i = 0; i < frames; ++i) {
            QMetaObject::invokeMethod(timer, "timeout", Qt::DirectConnection);
            w.repaint();
        }
    };
    for (auto _ : state) {
        double afterTen = 0;
        for (int i = 0; i < 100; ++i) {
            const std::size_t length = bytes.size() * static_cast<std::size_t>(50 + i) / 150;
            const std::string path =
                Window().dir.Write("open-" + std::to_string(i) + ".qzm", std::span(bytes.data(), length));
            w.OpenPath(QString::fromStdString(path));
            tick(50);
            std::filesystem::remove(path);
            if (i == 9) {
                afterTen = ResidentKilobytes();
            }
        }
        const double afterOpens = ResidentKilobytes();
        tick(9000);
        state.counters["rss_after_10_opens_kB"] = afterTen;
        state.counters["growth_opens_10_to_100_kB"] = afterOpens - afterTen;
        state.counters["growth_playing_3_min_kB"] = ResidentKilobytes() - afterOpens;
    }
}
BENCHMARK(BM_MemoryOverOpensAndPlay)->Iterations(1)->Unit(benchmark::kSecond);

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QApplication app(argc, argv);
    const int result = qzm::bench::RunWithRatios(
        argc, argv,
        {{"render at new size / memset 1080p", "BM_RenderAtNewSize", "BM_Memset1080p"},
         {"resize step / memset 1080p", "BM_ResizeStep", "BM_Memset1080p"},
         {"window repaint / memset 1080p", "BM_RepaintWindow", "BM_Memset1080p"},
         {"frame step / memset 1080p", "BM_FrameStep", "BM_Memset1080p"}});
    g_fixture.reset();
    return result;
}
