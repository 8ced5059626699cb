#pragma once
// A dialog service for tests: records every message and answers from a queue.

#include <deque>
#include <optional>
#include <string>
#include <vector>

#include "store/dialogs.h"

namespace cgt::test {

class ScriptedDialogs : public DialogService {
public:
    ScriptedDialogs() { SetDialogService(this); }
    ~ScriptedDialogs() override { SetDialogService(nullptr); }
    ScriptedDialogs(const ScriptedDialogs&) = delete;
    ScriptedDialogs& operator=(const ScriptedDialogs&) = delete;

    // Answers the next message with `result`; without a queued answer a message gets its
    // default button, or the first shown button.
    void queueAnswer(int result) { answers_.push_back(result); }
    void queueInput(std::optional<std::string> value) { inputs_.push_back(std::move(value)); }

    int ShowMessage(const MessageRequest& request) override {
        messages.push_back(request);
        if (!answers_.empty()) {
            int r = answers_.front();
            answers_.pop_front();
            return r;
        }
        if (request.defaultResult != 0) return request.defaultResult;
        if (request.buttons & mbYes) return mrYes;
        if (request.buttons & mbAbort) return mrAbort;
        if (request.buttons & mbRetry) return mrRetry;
        return mrOK;
    }
    std::optional<std::string> InputBox(const std::string& caption, const std::string& prompt,
                                        const std::string& value) override {
        inputPrompts.push_back(caption + "|" + prompt + "|" + value);
        if (inputs_.empty()) return value;
        auto v = inputs_.front();
        inputs_.pop_front();
        return v;
    }
    void Beep() override { ++beeps; }

    std::vector<std::string> texts() const {
        std::vector<std::string> out;
        for (const auto& m : messages)
            out.push_back(m.text);
        return out;
    }

    std::vector<MessageRequest> messages;
    std::vector<std::string> inputPrompts;
    int beeps = 0;

private:
    std::deque<int> answers_;
    std::deque<std::optional<std::string>> inputs_;
};

} // namespace cgt::test
