#include "playback.h"

#include <algorithm>
#include <cstdlib>

namespace qzm::ui {

namespace {

constexpr int kTicksPerSecond = 50;  // the stream's time is counted in fiftieths of a second

}  // namespace

int TimerPeriodMs(int frameDelay) {
    return (frameDelay == 0 ? 1 : frameDelay) * 20;
}

int FramesIn(int seconds, int frameDelay) {
    const int delay = frameDelay == 0 ? 1 : frameDelay;
    const int frames = std::max(1, (std::abs(seconds) * kTicksPerSecond + delay / 2) / delay);
    return seconds < 0 ? -frames : frames;
}

void PlaybackControl::StartTimer() {
    m_view.StartTimer(TimerPeriodMs(m_player.Header().FrameDelay()));
}

bool PlaybackControl::Open(const std::string& path, std::optional<std::size_t> row, OpenedVideo* opened) {
    if (m_player.IsBusy()) {
        return false;
    }
    m_view.StopTimer();
    const bool started = LoadVideo(m_player, path, row, opened) != 0;
    if (started) {
        m_view.SetSliderMaximum(m_player.Header().FrameCount());
        m_view.SetSliderPosition(m_player.CurrentFrame());
        StartTimer();
    }
    // After a failure, stopped: the next press of play starts the timer rather than only clearing
    // the flag.
    m_playing = started;
    m_view.RepaintPicture();
    return true;
}

void PlaybackControl::Tick() {
    if (m_player.IsBusy()) {
        return;
    }
    if (m_player.DecodeFrame(true) != 0) {
        m_view.RepaintPicture();
        m_view.SetSliderPosition(m_player.CurrentFrame());
        return;
    }
    m_view.StopTimer();
    m_playing = false;
    if (m_view.StreamEnded()) {
        return;
    }
    m_player.Rewind();
    m_view.SetSliderPosition(0);
    m_view.RepaintPicture();
}

bool PlaybackControl::Refused() const {
    return m_player.State() == PlayerState::Refused;
}

void PlaybackControl::PlayPause() {
    if (Refused()) {
        return;
    }
    if (m_playing) {
        m_view.StopTimer();
    } else {
        StartTimer();
    }
    m_playing = !m_playing;
}

void PlaybackControl::Stop() {
    if (!m_playing) {
        return;
    }
    m_view.StopTimer();
    m_player.Rewind();
    m_view.SetSliderPosition(0);
    m_playing = false;
    m_view.RepaintPicture();
}

void PlaybackControl::SeekTo(int position) {
    if (Refused()) {
        return;
    }
    m_player.Seek(position);
    m_view.RepaintPicture();
}

bool PlaybackControl::HasVideo() const {
    return m_player.State() != PlayerState::Empty && !Refused() && LastFrame() > 0;
}

void PlaybackControl::SeekToFrame(int frame) {
    if (!HasVideo()) {
        return;
    }
    SeekTo(std::clamp(frame, 1, LastFrame()));
    m_view.SetSliderPosition(m_player.CurrentFrame());
}

void PlaybackControl::SeekBySeconds(int seconds) {
    SeekToFrame(m_player.CurrentFrame() + FramesIn(seconds, m_player.Header().FrameDelay()));
}

void PlaybackControl::StepFrames(int frames) {
    if (m_playing) {
        m_view.StopTimer();
        m_playing = false;
    }
    SeekToFrame(m_player.CurrentFrame() + frames);
}

}  // namespace qzm::ui
