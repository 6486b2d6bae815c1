#include "platform/keyboard_state.h"

#include <gtest/gtest.h>

#include <utility>

namespace tarnwick::platform {
namespace {

TEST(KeyboardState, NoKeyIsHeldWithoutAProviderAndTheProviderDecidesOtherwise) {
  KeyStateProvider previous = SetKeyStateProvider({});
  EXPECT_FALSE(IsKeyHeld(Key::kShift));
  EXPECT_FALSE(IsKeyHeld(Key::kControl));

  SetKeyStateProvider([](Key key) { return key == Key::kControl; });
  EXPECT_FALSE(IsKeyHeld(Key::kShift));
  EXPECT_TRUE(IsKeyHeld(Key::kControl));

  // Installing hands back the provider replaced, so a caller can put it back.
  KeyStateProvider replaced = SetKeyStateProvider(std::move(previous));
  ASSERT_TRUE(replaced);
  EXPECT_TRUE(replaced(Key::kControl));
  EXPECT_FALSE(IsKeyHeld(Key::kControl));
}

}  // namespace
}  // namespace tarnwick::platform
