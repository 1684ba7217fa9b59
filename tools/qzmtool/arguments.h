// Command-line arguments of qzmtool: positional words and --name value options.
#pragma once

#include <map>
#include <optional>
#include <string>
#include <vector>

namespace qzm::tool {

class Arguments {
public:
    // Splits `words` into positional words and options. Every option takes a value, given as the
    // next word or after "=" (--count 5, --count=5). Returns nullopt and sets `error` when an
    // option lacks its value or is not one of `known`.
    static std::optional<Arguments> Parse(const std::vector<std::string>& words,
                                          const std::vector<std::string>& known, std::string& error);

    const std::vector<std::string>& Positional() const { return m_positional; }
    std::optional<std::string> Option(const std::string& name) const;

    // The option as a whole number within [min, max]; nullopt when absent; sets `error` and
    // returns nullopt when present but malformed or out of range.
    std::optional<long> Number(const std::string& name, long min, long max, std::string& error) const;

private:
    std::vector<std::string> m_positional;
    std::map<std::string, std::string> m_options;
};

// Parses "WxH" with both parts from 1 to `max`.
bool ParseSize(const std::string& text, int max, int& width, int& height);

}  // namespace qzm::tool
