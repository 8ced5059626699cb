#pragma once
// The module's help file format: topics introduced by a line "@<context> <title>", followed by
// their text; lines starting with "#" before the first topic are comments. A blank line in a
// text separates paragraphs.

#include <map>
#include <string>
#include <string_view>
#include <vector>

namespace cgt {

struct HelpTopic {
    int context = 0;
    std::string title;
    std::string text; // paragraphs separated by "\n\n"
};

class HelpFileContents {
public:
    // Topics in file order; a repeated context keeps its first topic. A malformed "@" line
    // (no number, or no title) starts no topic: its text lines are dropped with it.
    static HelpFileContents Parse(std::string_view text);

    const std::vector<HelpTopic>& topics() const { return topics_; }
    const HelpTopic* find(int context) const;

private:
    std::vector<HelpTopic> topics_;
    std::map<int, std::size_t> byContext_;
};

} // namespace cgt
