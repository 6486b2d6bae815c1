#include "platform/local_time.h"
#include "support/scoped_time_zone.h"

#include <gtest/gtest.h>

namespace tarnwick::platform {
namespace {

TEST(LocalTime, OffsetsAreWrittenAsMailDatesWriteThem) {
  struct Case {
    const char* zone;
    const char* offset;
  };
  const Case cases[] = {
      {"UTC0", "+0000"}, {"JST-9", "+0900"}, {"EST5", "-0500"}, {"IST-5:30", "+0530"}, {"NST3:30", "-0330"}};
  for (const Case& c : cases) {
    test::ScopedTimeZone zone(c.zone);
    EXPECT_EQ(UtcOffsetText(1'700'000'000), c.offset) << c.zone;
  }
}

TEST(LocalTime, PartsFollowTheZone) {
  test::ScopedTimeZone zone("JST-9");
  std::tm parts{};
  ASSERT_TRUE(LocalTimeParts(0, parts));
  EXPECT_EQ(parts.tm_year, 70);
  EXPECT_EQ(parts.tm_hour, 9);
}

}  // namespace
}  // namespace tarnwick::platform
