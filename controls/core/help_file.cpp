#include "controls/core/help_file.h"

#include <charconv>

#include "base/text.h"

namespace cgt {
namespace {

// "@<context> <title>": false when the number or the title is missing.
bool parseHeading(std::string_view line, HelpTopic& topic) {
    line.remove_prefix(1);
    const char* end = line.data() + line.size();
    auto [next, ec] = std::from_chars(line.data(), end, topic.context);
    if (ec != std::errc() || next == line.data()) return false;
    topic.title =
        std::string(TrimBlanks(std::string_view(next, static_cast<std::size_t>(end - next))));
    return !topic.title.empty();
}

// Joins text lines: consecutive lines form a paragraph, blank lines separate paragraphs.
void appendLine(HelpTopic& topic, std::string_view line, bool& pendingBreak) {
    line = TrimBlanks(line);
    if (line.empty()) {
        pendingBreak = !topic.text.empty();
        return;
    }
    if (pendingBreak)
        topic.text += "\n\n";
    else if (!topic.text.empty())
        topic.text += ' ';
    topic.text += line;
    pendingBreak = false;
}

} // namespace

HelpFileContents HelpFileContents::Parse(std::string_view text) {
    HelpFileContents contents;
    HelpTopic current;
    bool inTopic = false;
    bool pendingBreak = false;
    auto finish = [&] {
        if (inTopic && !contents.byContext_.contains(current.context)) {
            contents.byContext_[current.context] = contents.topics_.size();
            contents.topics_.push_back(current);
        }
        inTopic = false;
    };
    while (!text.empty()) {
        const std::size_t eol = text.find('\n');
        const std::string_view line = text.substr(0, eol);
        text = eol == std::string_view::npos ? std::string_view{} : text.substr(eol + 1);
        if (!line.empty() && line.front() == '@') {
            finish();
            current = HelpTopic{};
            pendingBreak = false;
            inTopic = parseHeading(line, current);
            continue;
        }
        if (inTopic) appendLine(current, line, pendingBreak);
    }
    finish();
    return contents;
}

const HelpTopic* HelpFileContents::find(int context) const {
    auto it = byContext_.find(context);
    return it == byContext_.end() ? nullptr : &topics_[it->second];
}

} // namespace cgt
