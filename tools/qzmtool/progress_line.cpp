#include "progress_line.h"

#include <unistd.h>

#include <cstdio>

#include "messages.h"

namespace qzm::tool {

ProgressLine::ProgressLine(std::string what)
    : m_what(std::move(what)), m_enabled(isatty(STDERR_FILENO) != 0) {}

ProgressLine::~ProgressLine() {
    Finish();
}

void ProgressLine::Update(std::int64_t done, std::int64_t total) {
    if (!m_enabled) {
        return;
    }
    const auto now = std::chrono::steady_clock::now();
    if (m_drawn && now - m_last < std::chrono::milliseconds(200)) {
        return;
    }
    m_last = now;
    m_drawn = true;
    std::fputs("\r", stderr);
    if (total > 0 && done <= total) {
        std::fprintf(stderr, _("%s: frame %lld of %lld (%lld%%)"), m_what.c_str(),
                     static_cast<long long>(done), static_cast<long long>(total),
                     static_cast<long long>(done * 100 / total));
    } else {
        std::fprintf(stderr, _("%s: frame %lld"), m_what.c_str(), static_cast<long long>(done));
    }
    std::fputs("\033[K", stderr);
    std::fflush(stderr);
}

void ProgressLine::Finish() {
    if (m_drawn) {
        std::fputs("\r\033[K", stderr);
        std::fflush(stderr);
        m_drawn = false;
    }
}

}  // namespace qzm::tool
