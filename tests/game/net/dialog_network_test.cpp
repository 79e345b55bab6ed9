#include "game/net/dialog_network.h"

#include "tests/framework/ui/ui_fixture.h"

namespace {

using ui_test::UiTest;

constexpr int KEY_ENTER = 13;
constexpr int KEY_ESCAPE = 27;

class NetworkDialogTest : public UiTest {
protected:
    void SetUp() override {
        UiTest::SetUp();
        WritePicture(Game->ImagePath + "dialogbg.png", 400, 220, 0xFF402010);
        MenuPicture("server", 120, 40);
        MenuPicture("client", 120, 40);
    }
    // Types the text and confirms it; the prompt's answer within a few ticks.
    static int Enter(TDialogTextInput& d, const std::string& text) {
        Type(text + "\r");
        for (int i = 0; i < 40; ++i)
            if (const int r = d.Manage())
                return r;
        return 0;
    }
    static void Click(const TDialog& d, const std::string& button) {
        TButtonPtr b = d.Menu->FindButton(button);
        ClickAt(static_cast<int>(b->x) + 5, static_cast<int>(b->y) + 5);
    }
};

TEST_F(NetworkDialogTest, PromptsTakeOnlyTheirCharactersUpToTheirLength) {
    struct Case {
        const char* what;
        TDialogTextInputPtr (*make)(int);
        const char* typed;
        const char* kept;
    } cases[] = {
        {"address", EnterIPPrompt, "1a0 .0,;:-.0/.1x2", "10.0.0.12"},
        {"address", EnterIPPrompt, "255.255.255.255.9", "255.255.255.255"},
        {"port", EnterPortPrompt, "\b\b\b\b8.0a8-0 ", "8080"},
        {"port", EnterPortPrompt, "\b\b\b\b123456", "12345"},
        {"name", EnterNamePrompt, "ace of*spades", "Ace ofspad"},
        {"name", EnterNamePrompt, "a\"|*\\/:;~?<>,+=%b", "Ab"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.what) + " typed as " + c.typed);
        ccCreateInputArrays();
        TDialogTextInputPtr d = c.make(1);
        EXPECT_EQ(d->Active, 0) << "made, not started";
        d->Start();
        EXPECT_EQ(Enter(*d, c.typed), 1);
        EXPECT_EQ(d->TextInput->Text, c.kept);
        d->Kill();
    }
}

TEST_F(NetworkDialogTest, PromptsAreSetUpAsTheTitleChainShowsThem) {
    TDialogTextInputPtr port = EnterPortPrompt(1);
    EXPECT_EQ(port->TextInput->Text, "5337");
    EXPECT_EQ(port->Caption->Text, "Please enter the port number");
    EXPECT_EQ(port->TextInput->MaxLength, 5);
    EXPECT_TRUE(port->Menu->FindButton("Cancel"));
    EXPECT_EQ(port->Gap, 18);
    EXPECT_EQ(port->BoxBorderH, 90);
    EXPECT_EQ(port->w, 400) << "sized by the background picture";
    EXPECT_EQ(port->TextInput->CursorCol->R, 255);
    EXPECT_EQ(port->TextInput->CursorCol->G, 229);
    TDialogTextInputPtr address = EnterIPPrompt(0);
    EXPECT_EQ(address->Caption->Text, "Please enter the host's IP address");
    EXPECT_EQ(address->TextInput->MaxLength, 15);
    EXPECT_FALSE(address->Menu->FindButton("Cancel"));
    TDialogTextInputPtr name = EnterNamePrompt(1);
    EXPECT_EQ(name->Caption->Text, "Please enter your name (up to 10 characters)");
    EXPECT_EQ(name->TextInput->MaxLength, 10);
    EXPECT_FALSE(name->ErrorCheckFunc);
}

TEST_F(NetworkDialogTest, ARefusedAddressShowsTheErrorAndKeepsTheText) {
    struct Case {
        TDialogTextInputPtr (*make)(int);
        const char* typed;
        const char* error;
    } cases[] = {
        {EnterIPPrompt, "300.1.1.1", "Error: Invalid IP Address"},
        {EnterIPPrompt, "1.2.3", "Error: Invalid IP Address"},
        {EnterPortPrompt, "\b\b\b\b99999", "Error: Invalid Port Number"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.typed);
        ccCreateInputArrays();
        TDialogTextInputPtr d = c.make(1);
        d->Start();
        EXPECT_EQ(Enter(*d, c.typed), 0);
        ASSERT_TRUE(d->DialogOK);
        EXPECT_EQ(d->DialogOK->Caption->Text, c.error);
        EXPECT_EQ(d->DialogOK->Caption->Color->R, 255);
        EXPECT_EQ(d->DialogOK->Caption->Color->B, 0) << "yellow";
        PressKey(KEY_ENTER);
        for (int i = 0; i < 10 && d->DialogOK; ++i)
            d->Manage();
        EXPECT_FALSE(d->DialogOK);
        EXPECT_EQ(d->Active, 1);
        const std::string typed = c.typed;
        EXPECT_EQ(d->TextInput->Text, typed.substr(typed.find_first_not_of('\b')));
        d->Kill();
    }
}

TEST_F(NetworkDialogTest, AnEmptyAddressIsNotAcceptedAndShowsNoError) {
    TDialogTextInputPtr d = EnterIPPrompt(1);
    d->Start();
    EXPECT_EQ(Enter(*d, ""), 0);
    EXPECT_FALSE(d->DialogOK);
    EXPECT_EQ(d->Active, 1);
    EXPECT_EQ(Enter(*d, "10.0.0.2"), 1);
    EXPECT_EQ(d->TextInput->Text, "10.0.0.2");
}

TEST_F(NetworkDialogTest, HostOrJoinAnswersByItsButtonsOnly) {
    for (const char* button : {"server", "client"}) {
        SCOPED_TRACE(button);
        ccCreateInputArrays();
        TDialogNetworkPtr d = TDialogNetwork::Create("Host or join?", nullptr, 0, 0, 0, 1);
        d->SetupCaption(nullptr, TColor::Create(255, 255, 255, 1.0f), nullptr, nullptr);
        d->Start();
        EXPECT_EQ(Game->IgnoreEscapeKey, 1) << "the dialog claims Escape";
        for (int key : {KEY_ESCAPE, KEY_ENTER, int{'Y'}, int{'N'}, int{' '}}) {
            PressKey(key);
            EXPECT_EQ(d->Manage(), 0) << key;
        }
        Click(*d, button);
        EXPECT_EQ(d->Manage(), std::string(button) == "server" ? 1 : -1);
        EXPECT_EQ(d->Active, 0);
        d->Kill();
    }
}

TEST_F(NetworkDialogTest, HostOrJoinClickSoundIsTheServerButtons) {
    TDialogNetworkPtr d = TDialogNetwork::Create("Host or join?", nullptr, 0, 0, 0, 1);
    EXPECT_EQ(d->ButtonGap, 50);
    TakeCued();
    EXPECT_EQ(d->ClickSound(), 0);
    EXPECT_EQ(TakeCued(), std::vector<const platform::TSound*>{
                              d->Menu->FindButton("server")->SoundClick->sound.get()});
    d->Kill();
}

TEST_F(NetworkDialogTest, HostOrJoinWithoutABackgroundIsSizedByCaptionAndButtons) {
    TDialogNetworkPtr d = TDialogNetwork::Create("Host or join?", nullptr, 0, 0, 0, 1);
    d->SetupCaption(nullptr, TColor::Create(255, 255, 255, 1.0f), nullptr, nullptr);
    const int menuHeight = d->Menu->CalcHeight();
    EXPECT_EQ(menuHeight, 40 + 10 + 40) << "stacked, 10 apart";
    EXPECT_EQ(d->h, static_cast<int>(d->Caption->CalcHeight() + 50 + 2 * d->Border + menuHeight));
    EXPECT_EQ(static_cast<int>(d->Menu->y), d->y + d->h - menuHeight - d->Border);
    EXPECT_EQ(static_cast<int>(d->Menu->x), d->x + (d->w - d->Menu->CalcWidth()) / 2);
    TDialogNetworkPtr shown = NetworkOptionsDialog();
    EXPECT_EQ(shown->Active, 1);
    EXPECT_EQ(shown->w, 400);
    EXPECT_EQ(shown->h, 220);
}

} // namespace
