#include <gtest/gtest.h>
#include <cstdlib>

#include "platform/pointer_position.h"
#include "tests/support/xvfb.h"

namespace q30x {
namespace {

TEST(X11PointerPosition, FollowsThePointer) {
    test::XvfbServer server;
    ASSERT_TRUE(server.running());
    auto pointer = makeSystemPointerPosition();
    for (auto [x, y] : {std::pair{100, 40}, std::pair{7, 300}}) {
        test::fakeMotion(x, y);
        const auto at = pointer->position();
        ASSERT_TRUE(at.has_value());
        EXPECT_EQ(at->x, x);
        EXPECT_EQ(at->y, y);
    }
}

TEST(X11PointerPosition, WithoutADisplayTellsNothing) {
    const char* display = std::getenv("DISPLAY");
    const std::string saved = display ? display : "";
    unsetenv("DISPLAY");
    EXPECT_FALSE(makeSystemPointerPosition()->position().has_value());
    if (display) setenv("DISPLAY", saved.c_str(), 1);
}

}  // namespace
}  // namespace q30x
