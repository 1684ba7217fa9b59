// A progress line on stderr for long jobs, drawn only when stderr is a terminal.
#pragma once

#include <chrono>
#include <cstdint>
#include <string>

namespace qzm::tool {

class ProgressLine {
public:
    // `what` starts the line ("encoding", "exporting").
    explicit ProgressLine(std::string what);
    ~ProgressLine();
    ProgressLine(const ProgressLine&) = delete;
    ProgressLine& operator=(const ProgressLine&) = delete;

    // Redraws the line at most a few times a second; `total` 0 means unknown.
    void Update(std::int64_t done, std::int64_t total);
    // Ends the line, so that what follows starts on a fresh one.
    void Finish();

private:
    std::string m_what;
    bool m_enabled;
    bool m_drawn = false;
    std::chrono::steady_clock::time_point m_last;
};

}  // namespace qzm::tool
