// The options screen's parts that need no window.

#include "game/screens/options_screen.h"

#include "framework/ui/menu.h"

#include "tests/framework/ui/ui_fixture.h"

namespace {

class OptionsScreenTest : public ui_test::UiTest {};

TEST_F(OptionsScreenTest, OptionsClickSoundIsTheOKButtonsInItsOwnChannel) {
    TOptionsScreen options;
    EXPECT_EQ(options.TextLeft, 0);
    MenuPicture("ok", 60, 30);
    options.Menu = TMenu::Create("buttonMO", "buttonclick", 0.0f, 0.0f, 10);
    options.Menu->AddQuick("ok", "");
    TButtonPtr ok = options.Menu->FindButton("ok");
    ASSERT_TRUE(ok && ok->SoundClick);
    ok->ChannelClick = std::make_shared<ui_test::TRecordingChannel>();
    TakeCued();
    EXPECT_EQ(options.ClickSound(), 0);
    EXPECT_EQ(TakeCued(), std::vector<const platform::TSound*>{ok->SoundClick->sound.get()});
    options.Menu->Kill();
}

} // namespace
