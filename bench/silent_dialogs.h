#pragma once
// The dialog service of a benchmark run: a message would mean a broken run, so it goes to
// standard error, named by the benchmark, without waiting for anyone.

#include <cstdio>
#include <optional>
#include <string>

#include "store/dialogs.h"

namespace bench {

class SilentDialogs final : public cgt::DialogService {
public:
    explicit SilentDialogs(const char* program) : program_(program) {}
    int ShowMessage(const cgt::MessageRequest& request) override {
        std::fprintf(stderr, "%s: %s\n", program_, request.text.c_str());
        return cgt::mrOK;
    }
    std::optional<std::string> InputBox(const std::string&, const std::string&,
                                        const std::string&) override {
        return std::nullopt;
    }
    void Beep() override {}

private:
    const char* program_;
};

} // namespace bench
