#include "framework/util/records.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <utility>

namespace {

// A field's name and value, so that a failure names the field.
#define FIELD(record, name)                                                                        \
    { #name, static_cast < int64_t>(record.name) }

TEST(Records, NewRecordsAreZeroExceptTheMemoryStatusLength) {
    const TMemoryStatus m;
    const TOSVersionInfoEx v;
    const TWindowInfo w;
    const TRect r;
    const TPoint p;
    const TAccuratePoint a;
    const std::pair<const char*, int64_t> zero[] = {
        FIELD(m, dwMemoryLoad),
        FIELD(m, dwTotalPhys),
        FIELD(m, dwAvailPhys),
        FIELD(m, dwTotalPageFile),
        FIELD(m, dwAvailPageFile),
        FIELD(m, dwTotalVirtual),
        FIELD(m, dwAvailVirtual),

        FIELD(v, dwOSVersionInfoSize),
        FIELD(v, dwVerMajor),
        FIELD(v, dwVerMinor),
        FIELD(v, dwBuildNumber),
        FIELD(v, dwPlatformId),
        FIELD(v, szCSDVersion),
        FIELD(v, pad0),
        FIELD(v, pad1),
        FIELD(v, pad2),
        FIELD(v, pad3),
        FIELD(v, pad4),
        FIELD(v, pad5),
        FIELD(v, pad6),
        FIELD(v, pad7),
        FIELD(v, pad8),
        FIELD(v, pad9),
        FIELD(v, pad10),
        FIELD(v, pad11),
        FIELD(v, pad12),
        FIELD(v, pad13),
        FIELD(v, pad14),
        FIELD(v, pad15),
        FIELD(v, wServicePackMajor),
        FIELD(v, wServicePackMinor),
        FIELD(v, wSuiteMask),
        FIELD(v, wProductType),
        FIELD(v, wReserved),

        FIELD(w, cbSize),
        FIELD(w, wl),
        FIELD(w, wt),
        FIELD(w, wr),
        FIELD(w, wb),
        FIELD(w, cl),
        FIELD(w, ct),
        FIELD(w, cr),
        FIELD(w, cb),
        FIELD(w, dwStyle),
        FIELD(w, dwExStyle),
        FIELD(w, dwWindowStatus),
        FIELD(w, cxWindowBorders),
        FIELD(w, cyWindowBorders),
        FIELD(w, atomWindowType),
        FIELD(w, wCreatorVersion),

        FIELD(r, L),
        FIELD(r, T),
        FIELD(r, R),
        FIELD(r, B),
        FIELD(p, X),
        FIELD(p, Y),
    };
    EXPECT_EQ(m.dwLength, 32);
    for (const auto& [name, value] : zero)
        EXPECT_EQ(value, 0) << name;
    EXPECT_EQ(a.X, 0.0f);
    EXPECT_EQ(a.Y, 0.0f);
}

#undef FIELD

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
