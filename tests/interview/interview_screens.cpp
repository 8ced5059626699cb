// The engine's tests run the interview's own screen table: numbers, captions, routes and the
// navigator's topics are those of the module (the screens themselves are the tests' own).

#include <gtest/gtest.h>

#include "cgt/screens/flow/screen_flow.h"

namespace {

class InterviewScreens : public ::testing::Environment {
public:
    void SetUp() override { cgt::InstallInterviewScreens(); }
};

[[maybe_unused]] ::testing::Environment* const kInterviewScreens =
    ::testing::AddGlobalTestEnvironment(new InterviewScreens);

} // namespace
