// A text-input dialog, and the player manager with its list box beside a slider, drawn in a
// real window and read back.

#include "framework/ui/dialog_text_input.h"
#include "framework/ui/my_profile.h"
#include "framework/ui/player_manager.h"
#include "framework/ui/slider.h"
#include "framework/util/drawing.h"
#include "tests/framework/ui/ui_fixture.h"
#include "tests/support/window_fixture.h"

namespace {

using DialogInWindow = testing_support::InWindow<ui_test::UiTest>;

TEST_F(DialogInWindow, BodyHighlightEntryBoxAndButtonShow) {
    TDialogTextInputPtr d = TDialogTextInput::Create("Port?", "", 5, nullptr, 300, 0, 0, 0);
    d->MenuCreate(0, 20);
    d->SetupCaption(nullptr, TColor::Create(255, 255, 255, 1.0f), nullptr, nullptr);
    d->SetupText(nullptr, TColor::Create(255, 255, 0, 1.0f), nullptr, 0, nullptr);
    d->Start();
    ccClsNoFlip(0, 0, 0);
    d->Draw();
    Grab();

    ExpectNear(At(d->x + 3, d->y + d->h - 3), {150, 150, 150}, "body");
    // The highlight: white at half strength over the body.
    ExpectNear(At(d->x + d->w / 2, d->y), {202, 202, 202}, "top highlight");
    ExpectNear(At(d->x, d->y + d->h / 2), {202, 202, 202}, "left highlight");
    const int boxY = static_cast<int>(d->Text->Y);
    ExpectNear(At(d->x + d->w - 15, boxY), {0, 0, 0}, "entry box");
    TButtonPtr ok = d->Menu->FindButton("OK");
    ExpectNear(At(static_cast<int>(ok->x) + 10, static_cast<int>(ok->y) + 10), {128, 128, 128},
               "OK button");
    d->Kill();
}

TEST_F(DialogInWindow, PlayerManagerListAndSliderShow) {
    MenuPicture("Create", 70, 30);
    MenuPicture("Delete", 70, 30);
    for (const char* name : {"Ann", "Bob", "Cid"})
        TMyProfile::Create(name)->Save();
    Game->CurrentProfile = TMyProfile::Create("Bob");
    TPlayerManagerPtr manager = TPlayerManager::Create("Choose a player", nullptr, 400, 300, 0, 10);
    manager->Start();
    WritePicture(Game->ImagePath + "bar.png", 200, 10, 0xFF00A000);
    WritePicture(Game->ImagePath + "dot.png", 10, 20, 0xFFFF0000);
    TSliderPtr slider = TSlider::CreateSpecial("bar", "dot", 300.0f, 20.0f, 10, "volume", 5);
    slider->SetValue(0);

    ccClsNoFlip(0, 0, 0);
    manager->Draw();
    slider->Draw();
    Grab();
    platform::SavePixmapPNG(frame, testing_support::TestOutputDir() + "player_manager.png");

    const TListBox& box = *manager->ListBox;
    const int right = static_cast<int>(box.Box.X + box.Box.W) - 3;
    ExpectNear(At(right, static_cast<int>(box.Box.Y) + box.LineHeight / 2), {0, 0, 0}, "list box");
    ExpectNear(At(right, static_cast<int>(box.Box.Y) + box.LineHeight * 3 / 2), {0, 0, 150},
               "the selected line's bar");
    ExpectNear(At(manager->x + 5, manager->y + manager->h - 5), {150, 150, 150}, "body");
    TButtonPtr del = manager->Menu->FindButton("Delete");
    ExpectNear(At(static_cast<int>(del->x) + 10, static_cast<int>(del->y) + 10), {128, 128, 128},
               "Delete button");
    ExpectNear(At(350, 25), {0, 160, 0}, "slider bar");
    ExpectNear(At(307, 25), {255, 0, 0}, "knob at 0");
    manager->Kill();
}

} // namespace
