// The playback loop's decisions, kept apart from the window: what opening a file, a timer tick,
// play, stop and a seek do to the player, the frame timer and the position slider. The window
// implements the view with its timer, slider and repaint.
#pragma once

#include <optional>
#include <string>

#include "file_loader.h"
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
    // The stream has ended: true when the view has gone on to another video, false to stop at the
    // first frame.
    virtual bool StreamEnded() = 0;
};

// The frame timer's period for a frame delay in fiftieths of a second. A delay of 0 runs as 1: a
// timer of 0 ms would spin.
int TimerPeriodMs(int frameDelay);

// The frames that `seconds` (negative: back) of a stream's time take at a frame delay in fiftieths
// of a second, to the nearest frame and at least one; a delay of 0 runs as 1.
int FramesIn(int seconds, int frameDelay);

class PlaybackControl {
public:
    PlaybackControl(CStreamPlayer& player, IPlaybackView& view) : m_player(player), m_view(view) {}

    // Opens `path`, shows its first frame and starts playing it. Refused (false, playback untouched)
    // while the player is busy, for instance while an earlier open is asking which video to play;
    // true otherwise. A `row` picks a disk image's video without asking, and `opened` tells which
    // video was opened (see LoadVideo).
    bool Open(const std::string& path, std::optional<std::size_t> row = std::nullopt,
              OpenedVideo* opened = nullptr);
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
    // Shows frame `frame`, clamped to the video, through the slider's seek, and the slider follows;
    // the timer stays as it was.
    void SeekToFrame(int frame);
    // SeekToFrame `seconds` of the stream's time from the current frame (negative: back).
    void SeekBySeconds(int seconds);
    // Pauses and steps `frames` frames from the current one (negative: back).
    void StepFrames(int frames);
    // The video's last frame: the header's frame count.
    int LastFrame() const { return m_player.Header().FrameCount(); }

    bool IsPlaying() const { return m_playing; }

private:
    void StartTimer();
    bool Refused() const;
    bool HasVideo() const;

    CStreamPlayer& m_player;
    IPlaybackView& m_view;
    bool m_playing = false;
};

}  // namespace qzm::ui
