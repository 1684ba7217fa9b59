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
    if (LoadFile(m_player, path) == 0) {
        // Stopped: the next press of play starts the timer rather than only clearing the flag.
        m_playing = false;
        return true;
    }
    m_view.SetSliderMaximum(m_player.Header().FrameCount());
    StartTimer();
    m_playing = true;
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

void PlaybackControl::PlayPause() {
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
    m_player.Seek(position);
    m_view.RepaintPicture();
}

}  // namespace qzm::ui
