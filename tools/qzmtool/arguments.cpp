#include "arguments.h"
#include "messages.h"

#include <algorithm>
#include <charconv>

namespace qzm::tool {

std::optional<Arguments> Arguments::Parse(const std::vector<std::string>& words,
                                          const std::vector<std::string>& known, std::string& error) {
    Arguments args;
    for (std::size_t i = 0; i < words.size(); ++i) {
        const std::string& word = words[i];
        if (word.rfind("--", 0) != 0 || word.size() == 2) {
            args.m_positional.push_back(word);
            continue;
        }
        std::string name = word.substr(2);
        std::string value;
        if (const std::size_t eq = name.find('='); eq != std::string::npos) {
            value = name.substr(eq + 1);
            name.resize(eq);
        } else if (i + 1 < words.size()) {
            value = words[++i];
        } else {
            error = Format(_("option --%s needs a value"), name.c_str());
            return std::nullopt;
        }
        if (std::find(known.begin(), known.end(), name) == known.end()) {
            error = Format(_("unknown option --%s"), name.c_str());
            return std::nullopt;
        }
        args.m_options[name] = value;
    }
    return args;
}

std::optional<std::string> Arguments::Option(const std::string& name) const {
    const auto it = m_options.find(name);
    if (it == m_options.end()) {
        return std::nullopt;
    }
    return it->second;
}

std::optional<long> Arguments::Number(const std::string& name, long min, long max, std::string& error) const {
    const std::optional<std::string> text = Option(name);
    if (!text) {
        return std::nullopt;
    }
    long value = 0;
    const char* end = text->data() + text->size();
    const auto [ptr, ec] = std::from_chars(text->data(), end, value);
    if (ec != std::errc() || ptr != end || value < min || value > max) {
        error = Format(_("--%s takes a whole number from %ld to %ld"), name.c_str(), min, max);
        return std::nullopt;
    }
    return value;
}

bool ParseSize(const std::string& text, int max, int& width, int& height) {
    const std::size_t x = text.find_first_of("xX");
    if (x == std::string::npos) {
        return false;
    }
    const char* begin = text.data();
    const char* end = text.data() + text.size();
    const auto w = std::from_chars(begin, begin + x, width);
    const auto h = std::from_chars(begin + x + 1, end, height);
    return w.ec == std::errc() && w.ptr == begin + x && h.ec == std::errc() && h.ptr == end && width >= 1 &&
           height >= 1 && width <= max && height <= max;
}

}  // namespace qzm::tool
