#include "platform/pixmap.h"

#include <gtest/gtest.h>

#include <climits>

namespace {

using namespace platform;

TEST(Pixmap, NewPixmapIsZeroedWithTheFormatsPitch) {
    struct Case {
        PixelFormat format;
        int bytes;
    };
    const Case cases[] = {
        {PF_RGBA8888, 4}, {PF_BGRA8888, 4}, {PF_RGB888, 3}, {PF_BGR888, 3}, {PF_A8, 1}};
    for (const Case& c : cases) {
        EXPECT_EQ(BytesPerPixel(c.format), c.bytes);
        TPixmap p(5, 3, c.format);
        EXPECT_EQ(p.Width(), 5);
        EXPECT_EQ(p.Height(), 3);
        EXPECT_EQ(p.Pitch(), 5 * c.bytes);
        EXPECT_EQ(p.PixelPtr(2, 1) - p.PixelPtr(0, 0), p.Pitch() + 2 * c.bytes);
        for (int y = 0; y < 3; ++y)
            for (int i = 0; i < p.Pitch(); ++i)
                EXPECT_EQ(p.PixelPtr(0, y)[i], 0);
    }
}

TEST(Pixmap, PixelsReadAndWriteAsArgbInEveryFormat) {
    struct Case {
        PixelFormat format;
        uint32_t written, read;
        std::vector<uint8_t> bytes;
    };
    const Case cases[] = {
        {PF_RGBA8888, 0x80102030, 0x80102030, {0x10, 0x20, 0x30, 0x80}},
        {PF_BGRA8888, 0x80102030, 0x80102030, {0x30, 0x20, 0x10, 0x80}},
        {PF_RGB888, 0x80102030, 0xFF102030, {0x10, 0x20, 0x30}},
        {PF_BGR888, 0x80102030, 0xFF102030, {0x30, 0x20, 0x10}},
        {PF_A8, 0x80102030, 0x80FFFFFF, {0x80}},
    };
    for (const Case& c : cases) {
        TPixmap p(3, 2, c.format);
        p.WritePixel(1, 1, c.written);
        EXPECT_EQ(p.ReadPixel(1, 1), c.read) << c.format;
        EXPECT_EQ(std::vector<uint8_t>(p.PixelPtr(1, 1), p.PixelPtr(1, 1) + c.bytes.size()),
                  c.bytes)
            << c.format;
        // Outside the pixmap nothing is written and 0 is read.
        p.WritePixel(-1, 0, 0xFFFFFFFF);
        p.WritePixel(3, 0, 0xFFFFFFFF);
        p.WritePixel(0, 2, 0xFFFFFFFF);
        EXPECT_EQ(p.ReadPixel(-1, 0), 0u);
        EXPECT_EQ(p.ReadPixel(0, 2), 0u);
        EXPECT_EQ(p.ReadPixel(0, 0) & 0x00FFFFFF, c.format == PF_A8 ? 0xFFFFFFu : 0u);
    }
}

TEST(Pixmap, WindowSharesMemoryAndConvertCopies) {
    auto p = CreatePixmap(4, 4);
    auto view = p->Window(1, 2, 10, 10); // clipped to 3 by 2
    ASSERT_EQ(view->Width(), 3);
    ASSERT_EQ(view->Height(), 2);
    EXPECT_EQ(view->Pitch(), p->Pitch());
    view->WritePixel(0, 0, 0xFF112233);
    EXPECT_EQ(p->ReadPixel(1, 2), 0xFF112233u);
    EXPECT_EQ(view->ReadPixel(3, 0), 0u); // outside the view, though inside the parent
    view->WritePixel(3, 0, 0xFFFFFFFF);
    EXPECT_EQ(p->ReadPixel(0, 3), 0u);

    auto outside = p->Window(10, 10, 5, 5);
    EXPECT_EQ(outside->Width(), 0);
    auto huge = p->Window(INT_MAX - 1, 0, INT_MAX, 1);
    EXPECT_EQ(huge->Width(), 0);

    auto bgr = p->Convert(PF_BGR888);
    EXPECT_EQ(bgr->Format(), PF_BGR888);
    EXPECT_EQ(bgr->ReadPixel(1, 2), 0xFF112233u);
    bgr->WritePixel(1, 2, 0xFF000000);
    EXPECT_EQ(p->ReadPixel(1, 2), 0xFF112233u);

    // A copy of a view holds only the view's pixels.
    auto copy = view->Copy();
    EXPECT_EQ(copy->Width(), 3);
    EXPECT_EQ(copy->Pitch(), 12);
    EXPECT_EQ(copy->ReadPixel(0, 0), 0xFF112233u);
}

TEST(Pixmap, ConvertPixelsBetweenFormats) {
    const uint8_t rgba[] = {1, 2, 3, 4, 5, 6, 7, 8};
    uint8_t bgr[6] = {};
    ConvertPixels(rgba, PF_RGBA8888, bgr, PF_BGR888, 2);
    EXPECT_EQ(std::vector<uint8_t>(bgr, bgr + 6), (std::vector<uint8_t>{3, 2, 1, 7, 6, 5}));
    uint8_t back[8] = {};
    ConvertPixels(bgr, PF_BGR888, back, PF_RGBA8888, 2);
    EXPECT_EQ(std::vector<uint8_t>(back, back + 8),
              (std::vector<uint8_t>{1, 2, 3, 255, 5, 6, 7, 255}));
    uint8_t alpha[2] = {};
    ConvertPixels(rgba, PF_RGBA8888, alpha, PF_A8, 2);
    EXPECT_EQ(alpha[0], 4);
    EXPECT_EQ(alpha[1], 8);
}

TEST(Pixmap, ImpossibleSizes) {
    EXPECT_EQ(CreatePixmap(-3, 4)->Width(), 0);
    EXPECT_EQ(CreatePixmap(100000, 100000), nullptr);
    EXPECT_EQ(CreatePixmap(INT_MAX, 1), nullptr);
    EXPECT_THROW(TPixmap(INT_MAX, INT_MAX), std::length_error);
}

} // namespace
