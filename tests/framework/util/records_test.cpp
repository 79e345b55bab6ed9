#include "framework/util/records.h"

#include <gtest/gtest.h>

namespace {

TEST(Records, NewRecordsAreZeroExceptTheMemoryStatusLength) {
    const TMemoryStatus memory;
    EXPECT_EQ(memory.dwLength, 32);
    EXPECT_EQ(memory.dwMemoryLoad + memory.dwTotalPhys + memory.dwAvailPhys +
                  memory.dwTotalPageFile + memory.dwAvailPageFile + memory.dwTotalVirtual +
                  memory.dwAvailVirtual,
              0);

    const TOSVersionInfoEx version;
    EXPECT_EQ(version.dwOSVersionInfoSize, 0);
    EXPECT_EQ(
        version.szCSDVersion + version.pad15 + version.wServicePackMajor + version.wProductType, 0);
    EXPECT_EQ(version.pad0 + version.pad14, 0);

    const TWindowInfo window;
    EXPECT_EQ(window.cbSize, 0);
    EXPECT_EQ(window.wl + window.wb + window.cl + window.cb + window.dwWindowStatus +
                  window.cyWindowBorders + window.atomWindowType + window.wCreatorVersion,
              0);

    const TRect rect;
    EXPECT_EQ(rect.L + rect.T + rect.R + rect.B, 0);
}

TEST(Records, SetStoresXThenY) {
    TPoint point;
    EXPECT_EQ(point.Set(3, -4), 0);
    EXPECT_EQ(point.X, 3);
    EXPECT_EQ(point.Y, -4);

    TAccuratePoint accurate;
    EXPECT_EQ(accurate.Set(1.5f, -2.25f), 0);
    EXPECT_EQ(accurate.X, 1.5f);
    EXPECT_EQ(accurate.Y, -2.25f);
}

} // namespace
