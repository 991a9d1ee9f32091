#include "vectors.h"

#include <gtest/gtest.h>

// The table itself: the shared messages are what the digests say they are.
TEST(SharedVectors, TableLoadsWithEveryColumn) {
    const auto& rows = SharedVectors();
    ASSERT_GE(rows.size(), 40u);
    for (const auto& v : rows) EXPECT_EQ(v.digest.size(), 9u) << v.name;
    EXPECT_EQ(SharedVector("digits-9").message, "123456789");
    EXPECT_EQ(SharedVector("ramp-16000").message.size(), 16000u);
}
