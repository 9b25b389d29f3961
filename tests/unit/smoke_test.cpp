#include "math/vec3.h"
#include <gtest/gtest.h>
TEST(Smoke, builds) { EXPECT_EQ(vec3(1, 2, 3).add(1, 1, 1).x, 2); }
