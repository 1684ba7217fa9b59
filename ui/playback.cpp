#include "playback.h"

#include "file_loader.h"

namespace qzm::ui {

int TimerPeriodMs(int frameDelay) {
    return (frameDelay == 0 ? 1 : frameDelay) * 20;
}

void PlaybackControl::StartTimer() {
    m_view.StartTimer(TimerPeriodMs(m_player.Header().FrameDelay()));
}

bool PlaybackControl::Open(const std::string& path) {
    if (m_player.IsBusy()) {
        return false;
    }
    m_view.StopTimer();
    const bool started = LoadFile(m_player, path) != 0;
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

}  // namespace qzm::ui
