#pragma once
// Small records without behaviour: points, a rectangle, and three records that carry system
// information under the field names of the Windows system records. On this platform nothing fills
// the system records; the window and system functions return them as created. Every record is a
// plain value: whoever creates one owns it.

#include <cstdint>

struct TAccuratePoint {
    int Set(float x, float y) {
        X = x;
        Y = y;
        return 0;
    }
    float X = 0.0f;
    float Y = 0.0f;
};

struct TPoint {
    int Set(int x, int y) {
        X = x;
        Y = y;
        return 0;
    }
    int32_t X = 0;
    int32_t Y = 0;
};

struct TRect {
    int32_t L = 0;
    int32_t T = 0;
    int32_t R = 0;
    int32_t B = 0;
};

struct TMemoryStatus {
    int32_t dwLength = 32;
    int32_t dwMemoryLoad = 0;
    int32_t dwTotalPhys = 0;
    int32_t dwAvailPhys = 0;
    int32_t dwTotalPageFile = 0;
    int32_t dwAvailPageFile = 0;
    int32_t dwTotalVirtual = 0;
    int32_t dwAvailVirtual = 0;
};

struct TOSVersionInfoEx {
    int32_t dwOSVersionInfoSize = 0;
    int32_t dwVerMajor = 0;
    int32_t dwVerMinor = 0;
    int32_t dwBuildNumber = 0;
    int32_t dwPlatformId = 0;
    // szCSDVersion to pad15 hold a 128-byte service-pack text.
    int32_t szCSDVersion = 0;
    int64_t pad0 = 0, pad1 = 0, pad2 = 0, pad3 = 0, pad4 = 0, pad5 = 0, pad6 = 0, pad7 = 0;
    int64_t pad8 = 0, pad9 = 0, pad10 = 0, pad11 = 0, pad12 = 0, pad13 = 0, pad14 = 0;
    int32_t pad15 = 0;
    int16_t wServicePackMajor = 0;
    int16_t wServicePackMinor = 0;
    int16_t wSuiteMask = 0;
    int8_t wProductType = 0;
    int8_t wReserved = 0;
};

struct TWindowInfo {
    int32_t cbSize = 0;
    // The window rectangle, then the client rectangle.
    int32_t wl = 0, wt = 0, wr = 0, wb = 0;
    int32_t cl = 0, ct = 0, cr = 0, cb = 0;
    int32_t dwStyle = 0;
    int32_t dwExStyle = 0;
    int32_t dwWindowStatus = 0;
    int32_t cxWindowBorders = 0;
    int32_t cyWindowBorders = 0;
    int16_t atomWindowType = 0;
    int16_t wCreatorVersion = 0;
};
