#include "framework/ui/menu.h"
#include "tests/framework/ui/ui_fixture.h"

namespace {

using ui_test::UiTest;

class MenuTest : public UiTest {
protected:
    void SetUp() override {
        UiTest::SetUp();
        MenuPicture("Play", 100, 40);
        MenuPicture("Options", 120, 40);
        MenuPicture("Quit", 80, 40);
        MenuPicture("Tall", 60, 50);
    }
    TMenuPtr Stacked() {
        TMenuPtr menu = TMenu::Create("buttonMO", "buttonclick", 0.0f, 100.0f, 10);
        menu->AddQuick("Play", "");
        menu->AddQuick("Options", "");
        menu->AddQuick("Quit", "");
        return menu;
    }
};

TEST_F(MenuTest, StackedButtonsAreCentredOneGapApart) {
    TMenuPtr menu = Stacked();
    const float ys[] = {100.0f, 150.0f, 200.0f};
    const float xs[] = {350.0f, 340.0f, 360.0f};
    int i = 0;
    for (const TButtonPtr& b : *menu) {
        EXPECT_EQ(b->y, ys[i]);
        EXPECT_EQ(b->x, xs[i]);
        EXPECT_EQ(b->SoundClick, menu->SoundClick) << "the menu's sounds are shared";
        EXPECT_EQ(b->UseMenuPath, 1);
        ++i;
    }
    EXPECT_EQ(menu->h, 140);
    EXPECT_EQ(menu->NextY, 250);
    EXPECT_EQ(menu->CalcHeight(), 140);
    EXPECT_EQ(menu->CalcWidth(), 120);

    menu->Centre();
    EXPECT_EQ(menu->x, 340.0f);
    EXPECT_EQ(menu->y, 230.0f);
    EXPECT_EQ(menu->front()->y, 230.0f);
    menu->SetX(10.0f);
    EXPECT_EQ(menu->FindButton("options")->x, 10.0f);
    EXPECT_EQ(menu->FindButton("PLAY")->x, 20.0f);
    menu->MakeRow(5);
    EXPECT_EQ(menu->FindButton("Options")->x - menu->FindButton("Play")->x, 105.0f);
    EXPECT_EQ(menu->CalcWidth(), 310);
}

TEST_F(MenuTest, ClickedIsConsumedAndMouseOverIsNot) {
    TMenuPtr menu = Stacked();
    ClickAt(360, 160); // on "Options"
    EXPECT_EQ(menu->Manage(), 1);
    EXPECT_EQ(menu->Clicked("play"), 0);
    EXPECT_EQ(menu->Clicked("options"), 1);
    EXPECT_EQ(menu->Clicked("OPTIONS"), 0) << "asked twice in one tick";
    EXPECT_EQ(menu->MouseOver("Options"), 1);
    EXPECT_EQ(menu->MouseOver("Options"), 1);
    const auto cued = TakeCued();
    EXPECT_EQ(cued.size(), 2u) << "mouse-over then click";
    EXPECT_EQ(cued.back(), menu->SoundClick->sound.get());

    menu->Manage();
    EXPECT_EQ(menu->Clicked("Options"), 0) << "a click holds one tick";
    EXPECT_EQ(menu->MouseOver("Options"), 1);
    menu->ManageNoSound();
    EXPECT_TRUE(TakeCued().empty());
}

TEST_F(MenuTest, NoInputWhileTheScreenFadesOrInputIsRefused) {
    TMenuPtr menu = Stacked();
    MovePointer(360, 160);
    menu->Manage();
    ASSERT_EQ(menu->MouseOver("Options"), 1);
    for (int fading : {1, 0}) {
        SCOPED_TRACE(fading);
        Game->GameFade->Active = fading;
        menu->AcceptInput = fading; // refused by the fade, then by the menu's own switch
        ClickAt(360, 110);          // on "Play"
        EXPECT_EQ(menu->Manage(), 0);
        EXPECT_EQ(menu->Clicked("Play"), 0);
        EXPECT_EQ(menu->MouseOver("Options"), 1) << "the old names are kept";
        EXPECT_EQ(menu->FindButton("Options")->MouseOver, 1);
    }
}

TEST_F(MenuTest, TheLaterButtonWinsAndFindButtonFindsTheFirst) {
    TMenuPtr menu = TMenu::Create("", "", 0.0f, 0.0f, 0);
    TButtonPtr first = menu->DoAddNew("Play", "PlayMO", "same", 0, 0, 1);
    TButtonPtr second = menu->DoAddNew("Quit", "QuitMO", "Same", 0, 0, 1);
    EXPECT_EQ(menu->NextY, 0) << "DoAddNew does not stack";
    EXPECT_EQ(menu->FindButton("same"), first);
    second->SetName("Other");
    second->x = 500.0f;
    first->OKButton = 1;
    PressKey(13);
    ClickAt(510, 10);
    menu->Manage();
    EXPECT_EQ(first->Clicked + second->Clicked, 2);
    EXPECT_EQ(menu->ClickedName, "OTHER") << "both clicked in one tick: the later one is named";
    EXPECT_FALSE(menu->SoundClick) << "no sound for an empty name";
}

TEST_F(MenuTest, PairsEmptyMenusAndOptionalImages) {
    TMenuPtr empty = TMenu::Create("", "", 0.0f, 0.0f, 10);
    empty->CalcLeft();
    EXPECT_EQ(empty->x, 10000.0f);
    EXPECT_EQ(empty->CalcWidth(), -20000);

    TMenuPtr pair = TMenu::Create("", "", 0.0f, 100.0f, 10);
    pair->AddPair("Play", "Tall", 20, "opt");
    TButtonPtr a = pair->FindButton("OPTPLAY"), b = pair->FindButton("optTall");
    ASSERT_TRUE(a && b);
    EXPECT_EQ(b->x, a->x + 120.0f);
    EXPECT_EQ(a->y, b->y);
    EXPECT_EQ(pair->NextY, 160) << "the taller button's height plus the gap";
    EXPECT_EQ(pair->h, 50);
    pair->SetPairX("optplay", "opttall", 7);
    EXPECT_EQ(a->x, 7.0f);
    EXPECT_EQ(b->x, 127.0f);

    WritePicture(Game->MenuPath + "Quit_disabled.png", 80, 40, 0xFF303030);
    WritePicture(Game->MenuPath + "Quit_down.png", 80, 40, 0xFF101010);
    TMenuPtr menu = TMenu::Create("", "", 0.0f, 0.0f, 10);
    TButtonPtr plain = menu->AddQuickAuto("Play", "");
    TButtonPtr full = menu->AddQuickAuto("Quit", "");
    EXPECT_TRUE(plain->ImageMouseOver);
    EXPECT_FALSE(plain->ImageDisabled || plain->ImageMouseClick);
    EXPECT_TRUE(full->ImageDisabled && full->ImageMouseClick);
    EXPECT_EQ(full->MouseClickDuration, 40.0f);
}

TEST_F(MenuTest, DrawShiftsEveryButtonAndKillEmptiesTheMenu) {
    TMenuPtr menu = Stacked();
    menu->Draw(5.0f, -5.0f);
    const auto images = Drawn(platform::TDrawRecord::IMAGE);
    ASSERT_EQ(images.size(), 3u);
    EXPECT_FLOAT_EQ(images[0].x, 355.0f);
    EXPECT_FLOAT_EQ(images[0].y, 95.0f);
    menu->Kill();
    EXPECT_TRUE(menu->empty());
}

} // namespace
