#include "framework/graphics/game_image.h"
#include "tests/framework/graphics/graphics_fixture.h"

using graphics_test::GraphicsTest;
using graphics_test::MemoryImage;

namespace {

class ImageBankTest : public GraphicsTest {
protected:
    void SetUp() override {
        GraphicsTest::SetUp();
        bank.SetPath(dir.Path());
    }
    TImageBank bank;
};

TEST_F(ImageBankTest, LoadNamesTheImageAndFindsItsFile) {
    WritePicture("pawn.png", 10, 6);
    WritePicture("title.jpg", 8, 8);
    WritePicture("sub/x.png", 4, 4);
    struct Case {
        std::string file, name;
        int mid;
        std::string expectName;
        int expectW, midhandled;
    };
    const Case cases[] = {
        {"pawn", "", 1, "PAWN", 10, 1},      // the bank's extension added
        {"title.jpg", "", 0, "TITLE", 8, 0}, // an extension of its own kept
        {"sub/x", "", 1, "X", 4, 1},         // the folder is not part of the name
        {"pawn", "hello", 1, "HELLO", 10, 1},
        {"pawn", "", 2, "PAWN", 10, 1}, // any non-zero mid centres the handle
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.file + " " + c.name);
        bank.Load(c.file, c.name, -1, c.mid);
        const TGameImagePtr& image = bank.back();
        EXPECT_EQ(image->name, c.expectName);
        EXPECT_EQ(image->w, c.expectW);
        EXPECT_EQ(image->midhandled, c.midhandled);
        EXPECT_FLOAT_EQ(image->image->handleX, c.midhandled ? c.expectW / 2.0f : 0.0f);
    }
    EXPECT_EQ(bank.size(), 5u);
}

TEST_F(ImageBankTest, LoadAnimCutsCellsAndCentresOnlyForMidOne) {
    WritePicture("die.png", 72 * 6, 72);
    for (int mid : {0, 1, 2}) {
        bank.LoadAnim("die", 72, 72, 0, 6, -1, mid);
        const TGameImagePtr& die = bank.back();
        EXPECT_EQ(die->name, "DIE");
        EXPECT_EQ(die->image->Frames(), 6);
        EXPECT_EQ(die->w, 72);
        EXPECT_FLOAT_EQ(die->w2, 36.0f);
        EXPECT_EQ(die->midhandled, mid == 1 ? 1 : 0);
        EXPECT_FLOAT_EQ(die->image->handleX, mid == 1 ? 36.0f : 0.0f);
    }
}

TEST_F(ImageBankTest, FindIgnoresCaseAndReturnsTheFirstOfEqualNames) {
    WritePicture("pawn.png", 10, 6);
    WritePicture("other.png", 3, 3);
    bank.Load("pawn", "", -1, 1);
    bank.Load("other", "pawn", -1, 1);
    EXPECT_EQ(bank.Find("Pawn"), bank.front());
    EXPECT_EQ(bank.FindTImage("pAWN"), bank.front()->image);
}

TEST_F(ImageBankTest, AMissingNameIsFatalOnlyWhileShowErrorsIsSet) {
    EXPECT_EQ(FatalErrorCapture::MessageOf([&] { bank.Find("ghost"); }),
              "Image 'GHOST' was not found in the ImageBank");
    ShowErrors = 0;
    EXPECT_EQ(bank.Find("ghost"), nullptr);
    ShowErrors = 1;
    EXPECT_EQ(bank.FindTImage("ghost"), nullptr);
    EXPECT_EQ(fatal.Messages.size(), 1u);
}

TEST_F(ImageBankTest, AMissingFileIsFatalAndNamesThePath) {
    EXPECT_EQ(FatalErrorCapture::MessageOf([&] { bank.Load("nothing", "", -1, 1); }),
              "Error loading bitmap " + dir.Path() + "nothing.png");
    EXPECT_EQ(FatalErrorCapture::MessageOf([&] { bank.LoadAnim("strip", 8, 8, 0, 2, -1, 0); }),
              "Error loading anim bitmap " + dir.Path() + "strip.png");
    EXPECT_TRUE(bank.empty());
}

TEST_F(ImageBankTest, SizesAndMemoryEstimates) {
    auto odd = MemoryImage(33, 17);
    EXPECT_FLOAT_EQ(odd->w2, 16.0f);
    EXPECT_FLOAT_EQ(odd->h2, 8.0f);
    EXPECT_EQ(MemoryImage(1, 1)->CalcVRAM(), 4);
    EXPECT_EQ(MemoryImage(100, 60)->CalcVRAM(), 32768);
    EXPECT_EQ(MemoryImage(10, 10, 3)->CalcRAM(), 1200);

    bank.push_back(MemoryImage(200, 100));
    EXPECT_EQ(bank.CalcRAM(), 78);
    EXPECT_EQ(bank.CalcVRAM(), 128);
}

TEST_F(ImageBankTest, GetSizeWithoutAPictureKeepsTheSizes) {
    TGameImage image;
    image.w = 5;
    image.GetSize();
    EXPECT_EQ(image.w, 5);
}

TEST_F(ImageBankTest, SetPathAddsOneSlash) {
    const std::pair<std::string, std::string> cases[] = {
        {"a/b", "a/b/"}, {"a/b/", "a/b/"}, {"a\\", "a\\"}, {"", "/"}};
    for (const auto& [path, expected] : cases) {
        bank.SetPath(path);
        EXPECT_EQ(bank.Path, expected) << path;
    }
}

TEST_F(ImageBankTest, CreateLoadsTheFileAndSetsTheHandle) {
    const std::string path = WritePicture("header.png", 20, 10);
    auto centred = TGameImage::Create(path, -1, 1);
    EXPECT_EQ(centred->name, "HEADER");
    EXPECT_FLOAT_EQ(centred->image->handleX, 10.0f);
    auto topLeft = TGameImage::Create(path, -1, 0);
    EXPECT_FLOAT_EQ(topLeft->image->handleX, 0.0f);
    EXPECT_EQ(topLeft->midhandled, 0);
}

} // namespace
