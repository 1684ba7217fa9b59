// The playback loop's decisions, kept apart from the window: what opening a file, a timer tick,
// play, stop and a seek do to the player, the frame timer and the position slider. The window
// implements the view with its timer, slider and repaint.
#pragma once

#include <string>

#include "stream_player.h"

namespace qzm::ui {

class IPlaybackView {
public:
    virtual ~IPlaybackView() = default;
    virtual void StartTimer(int periodMs) = 0;
    virtual void StopTimer() = 0;
    virtual void SetSliderMaximum(int maximum) = 0;
    // Moves the slider without seeking: only the user's own moves seek.
    virtual void SetSliderPosition(int position) = 0;
    // Repaints the picture and the counter (no erase under the picture).
    virtual void RepaintPicture() = 0;
};

// The frame timer's period for a frame delay in fiftieths of a second. A delay of 0 runs as 1: a
// timer of 0 ms would spin.
int TimerPeriodMs(int frameDelay);

class PlaybackControl {
public:
    PlaybackControl(CStreamPlayer& player, IPlaybackView& view) : m_player(player), m_view(view) {}

    // Opens `path`, shows its first frame and starts playing it. Refused (false, playback untouched)
    // while the player is busy, for instance while an earlier open is asking which video to play;
    // true otherwise.
    bool Open(const std::string& path);
    // One timer tick: the next frame, or at the end of the stream stop and show the first frame. A
    // tick that arrives while the player is busy (inside a message or a choice of the player) is
    // skipped: the decode it interrupted is not finished.
    void Tick();
    // Play / pause. A stream whose header was refused does not play: its garbage holds no delay.
    void PlayPause();
    // Stops and rewinds while playing; does nothing while paused or stopped.
    void Stop();
    // The user moved the slider to `position`: the picture follows, the timer stays as it was. A
    // refused stream seeks nothing (seeking would start it again and repeat its refusal).
    void SeekTo(int position);

    bool IsPlaying() const { return m_playing; }

private:
    void StartTimer();
    bool Refused() const;

    CStreamPlayer& m_player;
    IPlaybackView& m_view;
    bool m_playing = false;
};

}  // namespace qzm::ui
