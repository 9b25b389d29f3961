// Vector arithmetic, angles and rotations.
#include "math/vec3.h"

#include <gtest/gtest.h>

TEST(Vec3, AngleOfParallelVectorsIsZeroNotNaN)
{
    EXPECT_EQ(vec3(1, 1, 1).angle(1, 1, 1), 0.0);
    EXPECT_DOUBLE_EQ(vec3(1, 0, 0).angle(0, 0, 1), 90.0000007648485);
}
