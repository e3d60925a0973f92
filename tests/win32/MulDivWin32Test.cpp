// Our MulDiv against the system's own, over edges and many random operands.
#include <windows.h>

#include <gtest/gtest.h>

#include <climits>
#include <random>

#include "shared/UnitGlobe.h"

TEST(MulDivWin32, AgreesWithTheSystemFunction)
{
    const int edges[] = {0, 1, -1, 2, -2, 3, -3, 7, 90, 100, 479, 480, 1024, 1365, 65535, 65536,
                         46341, -46341, INT_MAX, -INT_MAX, INT_MAX - 1, INT_MIN + 1};
    for (int a : edges)
        for (int b : edges)
            for (int c : edges)
                ASSERT_EQ(spindrel::MulDiv(a, b, c), ::MulDiv(a, b, c)) << a << " * " << b << " / " << c;
    std::mt19937 random(20261211);
    std::uniform_int_distribution<int> any(INT_MIN + 1, INT_MAX), small(-5000, 5000);
    for (int i = 0; i < 200000; ++i) {
        const int a = i % 2 ? any(random) : small(random), b = small(random), c = i % 3 ? small(random) : any(random);
        ASSERT_EQ(spindrel::MulDiv(a, b, c), ::MulDiv(a, b, c)) << a << " * " << b << " / " << c;
    }
}
