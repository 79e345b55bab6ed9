#include "framework/ui/my_profile.h"
#include "framework/ui/player_manager.h"
#include "framework/util/ini_file.h"
#include "platform/input.h"
#include "tests/framework/ui/ui_fixture.h"

#include <algorithm>

namespace {

using testing_support::ReadTextFile;
using ui_test::UiTest;

constexpr int KEY_ENTER = 13;
constexpr int KEY_ESCAPE = 27;
constexpr int KEY_N = 78;
constexpr int KEY_Y = 89;

// A profiles folder with Ann, Bob (the current player) and Cid among files that are not
// players; the owner's functions make plain OK, Yes/No and name dialogs and create profiles.
class PlayerManagerTest : public UiTest {
protected:
    void SetUp() override {
        UiTest::SetUp();
        MenuPicture("Create", 70, 30);
        MenuPicture("Delete", 70, 30);
        Game->SubPath = dir.Path();
        Game->Ini->FileName = dir.Path() + "settings";
        ASSERT_TRUE(platform::CreateDir(Game->ProfilePath));
        int won = 1;
        for (const char* name : {"Cid", "Ann", "Bob"}) {
            TMyProfilePtr p = TMyProfile::Create(name);
            p->Won3 = won++;
            p->Save();
        }
        for (const char* other : {"notes.txt", "Dee.DAT", "Eve.dat.damaged", ".dat"})
            testing_support::WriteTextFile(Game->ProfilePath + other, "x");
        ASSERT_TRUE(platform::CreateDir(Game->ProfilePath + "Fay.dat"));
        Game->CurrentProfile = TMyProfile::Create("Bob");
        Game->CurrentProfile->Load();
    }
    void TearDown() override {
        if (manager)
            manager->Kill();
        UiTest::TearDown();
    }

    TPlayerManagerPtr Open(int limit = 10, bool withFunctions = true) {
        manager = TPlayerManager::Create("Choose a player", nullptr, 400, 360, 0, limit);
        if (withFunctions) {
            manager->ErrorDialogFunc = [this](const std::string& message) {
                shown.push_back(message);
                TDialogOKPtr d = TDialogOK::Create(message, nullptr, 300, 0, 0);
                d->Start();
                return d;
            };
            manager->DialogYesNoFunc = [this](const std::string& message) {
                shown.push_back(message);
                TDialogYesNoPtr d = TDialogYesNo::Create(message, nullptr, 300, 0, 0, 1);
                d->Start();
                return d;
            };
            manager->EnterNamePromptFunc = [](int) {
                TDialogTextInputPtr d =
                    TDialogTextInput::Create("Enter your name", "", 10, nullptr, 400, 0, 0, 0);
                d->MenuCreate(1, 20);
                d->SetupCaption(nullptr, TColor::Create(255, 255, 255, 1.0f), nullptr, nullptr);
                d->SetupText(nullptr, TColor::Create(255, 255, 0, 1.0f), nullptr, 1, nullptr);
                return d;
            };
            manager->CreateProfileFunc = [this](const std::string& name) {
                created.push_back(name);
                TMyProfilePtr p = TMyProfile::Create(name);
                p->Save();
                Game->CurrentProfile = p;
                return 0;
            };
        }
        manager->Start();
        return manager;
    }
    // Ticks until the manager answers (or the ticks run out); the answer.
    int Run(int ticks = 20) {
        for (int i = 0; i < ticks; ++i)
            if (const int r = manager->Manage())
                return r;
        return 0;
    }
    void ClickButton(const std::string& name) {
        TButtonPtr b = manager->Menu->FindButton(name);
        ASSERT_TRUE(b);
        ClickAt(static_cast<int>(b->x) + b->w / 2, static_cast<int>(b->y) + b->h / 2);
    }
    void ClickName(const std::string& name) {
        const TListBox& box = *manager->ListBox;
        const auto at = std::find(box.Strings.begin(), box.Strings.end(), name);
        ASSERT_NE(at, box.Strings.end()) << name;
        const int row = static_cast<int>(at - box.Strings.begin()) - box.TopIndex;
        ClickAt(static_cast<int>(box.Box.X) + 10,
                static_cast<int>(box.Box.Y) + row * box.LineHeight + box.LineHeight / 2);
    }
    // Clicks the named button and runs one tick; the answer.
    int Press(const std::string& button) {
        ClickButton(button);
        return manager->Manage();
    }
    std::string Settings() const { return ReadTextFile(dir.Path() + "settings.ini"); }

    TPlayerManagerPtr manager;
    std::vector<std::string> shown;
    std::vector<std::string> created;
};

TEST_F(PlayerManagerTest, ListsThePlayersFilesAndSelectsTheCurrentOne) {
    Open();
    EXPECT_EQ(manager->ListBox->Strings, (TStringArray{"Ann", "Bob", "Cid"}));
    EXPECT_EQ(manager->ListBox->Value, "Bob");
    EXPECT_EQ(manager->ListBox->Limit, 10);
    EXPECT_EQ(Game->IgnoreEscapeKey, 1);

    // The list sits between caption and buttons, centred in the space between them.
    const TListBox& box = *manager->ListBox;
    EXPECT_EQ(box.Box.X, static_cast<float>(manager->x + 20));
    EXPECT_EQ(box.Box.W, static_cast<float>(manager->w - 40));
    const float above = box.Box.Y - (manager->Caption->Y + manager->Caption->H);
    const float below = manager->Menu->y - (box.Box.Y + box.Box.H);
    EXPECT_GT(above, 0.0f);
    EXPECT_NEAR(above, below, 1.0f);
    EXPECT_EQ(static_cast<int>(manager->Menu->y) + 30, manager->y + manager->h - 20)
        << "the buttons on the bottom border";
}

TEST_F(PlayerManagerTest, OKMakesTheSelectedPlayerCurrentAndSavesTheSettings) {
    Open();
    manager->Manage();
    ClickName("Cid");
    manager->Manage();
    EXPECT_EQ(manager->ListBox->Value, "Cid");
    EXPECT_EQ(Press("OK"), 1);
    EXPECT_EQ(Game->ProfileName, "Cid");
    EXPECT_EQ(Game->CurrentProfile->Name, "Cid");
    EXPECT_EQ(Game->CurrentProfile->Won3, 1) << "Cid's profile was read";
    EXPECT_NE(Settings().find("=Cid"), std::string::npos) << Settings();
    EXPECT_EQ(manager->Active, 0);
    EXPECT_EQ(Game->IgnoreEscapeKey, 0);

    // Nothing selected: OK does nothing.
    Open();
    manager->ListBox->ClearIndex();
    EXPECT_EQ(Press("OK"), 0);
    EXPECT_EQ(manager->Active, 1);
}

TEST_F(PlayerManagerTest, ADoubleClickOnANameAccepts) {
    Open();
    ClickName("Ann");
    EXPECT_EQ(manager->Manage(), 0);
    TakeCued();
    ClickName("Ann");
    EXPECT_EQ(manager->Manage(), 1);
    EXPECT_EQ(Game->ProfileName, "Ann");
    EXPECT_EQ(TakeCued(),
              std::vector<const platform::TSound*>{manager->Menu->SoundClick->sound.get()})
        << "the OK button's click";
}

TEST_F(PlayerManagerTest, EscapeAndCancelLeaveThePlayerAsItWas) {
    for (bool escape : {true, false}) {
        SCOPED_TRACE(escape ? "Escape" : "Cancel");
        Open();
        manager->Manage();
        TakeCued();
        int answer = 0;
        if (escape) {
            PressKey(KEY_ESCAPE);
            answer = manager->Manage();
            EXPECT_EQ(TakeCued(),
                      std::vector<const platform::TSound*>{manager->Menu->SoundClick->sound.get()});
        } else {
            answer = Press("Cancel");
        }
        EXPECT_EQ(answer, -1);
        EXPECT_EQ(manager->CloseResult, -1);
        EXPECT_EQ(Game->CurrentProfile->Name, "Bob");
        EXPECT_EQ(Settings(), "") << "nothing to save";
        EXPECT_EQ(Game->IgnoreEscapeKey, 0);
    }
}

TEST_F(PlayerManagerTest, DeleteAsksFirstAndSelectsTheNameThatTakesItsPlace) {
    struct Case {
        const char* selected;
        int answerKey;
        TStringArray left;
        const char* nowSelected;
    };
    const Case cases[] = {
        {"Bob", KEY_Y, {"Ann", "Cid"}, "Cid"},
        {"Cid", KEY_Y, {"Ann", "Bob"}, "Bob"},
        {"Ann", KEY_N, {"Ann", "Bob", "Cid"}, "Ann"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.selected);
        Open();
        manager->ListBox->SetIndex(
            static_cast<int>(std::find(manager->ListBox->Strings.begin(),
                                       manager->ListBox->Strings.end(), c.selected) -
                             manager->ListBox->Strings.begin()));
        EXPECT_EQ(Press("Delete"), 0);
        ASSERT_TRUE(manager->DialogYesNo);
        EXPECT_EQ(shown.back(), "Are you sure you want to delete this player?");
        // The question owns the input: the manager's own OK is not taken.
        EXPECT_EQ(Press("OK"), 0);
        EXPECT_EQ(manager->Active, 1);
        PressKey(c.answerKey);
        EXPECT_EQ(manager->Manage(), 0);
        EXPECT_FALSE(manager->DialogYesNo);
        EXPECT_EQ(manager->ListBox->Strings, c.left);
        EXPECT_EQ(manager->ListBox->Value, c.nowSelected);
        EXPECT_EQ(platform::FileType(Game->ProfilePath + c.selected + ".dat"),
                  c.answerKey == KEY_Y ? platform::FILETYPE_NONE : platform::FILETYPE_FILE);
        EXPECT_EQ(Game->IgnoreEscapeKey, 1) << "the manager keeps the Escape claim";
        // Restore the file for the next case.
        TMyProfile::Create(c.selected)->Save();
    }
}

TEST_F(PlayerManagerTest, CancelAfterTheCurrentPlayerWasDeletedTakesTheFirstPlayer) {
    Open();
    EXPECT_EQ(Press("Delete"), 0);
    PressKey(KEY_Y);
    manager->Manage();
    ASSERT_EQ(platform::FileType(Game->ProfilePath + "Bob.dat"), platform::FILETYPE_NONE);
    EXPECT_EQ(Press("Cancel"), -1);
    EXPECT_EQ(Game->ProfileName, "Ann");
    EXPECT_EQ(Game->CurrentProfile->Name, "Ann");
    EXPECT_EQ(Game->CurrentProfile->Won3, 2);
    EXPECT_NE(Settings().find("=Ann"), std::string::npos);
    EXPECT_EQ(platform::FileType(Game->ProfilePath + "Bob.dat"), platform::FILETYPE_NONE)
        << "the deleted player is not written back";
}

TEST_F(PlayerManagerTest, TheOnlyPlayerCannotBeDeleted) {
    for (const char* name : {"Ann", "Cid"})
        ASSERT_TRUE(platform::DeleteFile(Game->ProfilePath + name + ".dat"));
    Open();
    EXPECT_EQ(Press("Delete"), 0);
    ASSERT_TRUE(manager->DialogOK);
    EXPECT_EQ(shown, std::vector<std::string>{"The list must contain at least one player!"});
    PressKey(KEY_ENTER);
    EXPECT_EQ(manager->Manage(), 0);
    EXPECT_FALSE(manager->DialogOK);
    EXPECT_EQ(platform::FileType(Game->ProfilePath + "Bob.dat"), platform::FILETYPE_FILE);

    // Without the owner's dialog the message shows in the blocking box, with polled input.
    Open(10, false);
    EXPECT_EQ(Press("Delete"), 0);
    EXPECT_FALSE(manager->DialogOK);
    EXPECT_EQ(fatal.Messages,
              std::vector<std::string>{"The list must contain at least one player!"});
    EXPECT_EQ(ccPolledInputState, 0);
    EXPECT_EQ(platform::FileType(Game->ProfilePath + "Bob.dat"), platform::FILETYPE_FILE);
}

TEST_F(PlayerManagerTest, ACloseRequestThatAnswersTheNoticeBoxStaysForTheProgram) {
    for (const char* name : {"Ann", "Cid"})
        ASSERT_TRUE(platform::DeleteFile(Game->ProfilePath + name + ".dat"));
    Open(10, false);
    platform::InjectQuit(); // the window is closed while the box waits
    EXPECT_EQ(Press("Delete"), 0);
    EXPECT_EQ(ccPolledInputState, 0);
    int closeRequests = 0;
    while (platform::PollEvent())
        closeRequests += platform::CurrentEvent().id == platform::EVENT_APPTERMINATE ? 1 : 0;
    EXPECT_EQ(closeRequests, 1);
}

TEST_F(PlayerManagerTest, WithoutALimitTheListScrollsToTheCurrentPlayer) {
    for (int n = 0; n < 40; ++n)
        TMyProfile::Create("P" + std::to_string(n))->Save();
    // The player listed last, whatever order the folder gives.
    std::vector<std::string> entries;
    ASSERT_TRUE(platform::ReadDir(Game->ProfilePath, entries));
    std::string last;
    for (const std::string& entry : entries)
        if (entry.size() > 4 && entry.compare(entry.size() - 4, 4, ".dat") == 0 &&
            platform::FileType(Game->ProfilePath + entry) == platform::FILETYPE_FILE)
            last = entry.substr(0, entry.size() - 4);
    Game->CurrentProfile->Name = last;
    Open(0);
    const TListBox& box = *manager->ListBox;
    ASSERT_LT(box.Limit, box.Count());
    EXPECT_EQ(box.Value, last);
    EXPECT_GE(box.Index, box.TopIndex);
    EXPECT_LT(box.Index, box.GetTempLimit()) << "in sight";
    PressKey(KEY_ENTER);
    EXPECT_EQ(Run(), 1);
    EXPECT_EQ(Game->ProfileName, last);
}

TEST_F(PlayerManagerTest, WithoutTheOwnersQuestionTheManagerAsksItself) {
    Open(10, false);
    EXPECT_EQ(Press("Delete"), 0);
    ASSERT_TRUE(manager->DialogYesNo);
    EXPECT_EQ(manager->DialogYesNo->Caption->Text, "Are you sure you want to delete this player?");
    EXPECT_EQ(manager->DialogYesNo->Active, 1);
    PressKey(KEY_Y);
    manager->Manage();
    EXPECT_EQ(platform::FileType(Game->ProfilePath + "Bob.dat"), platform::FILETYPE_NONE);
}

TEST_F(PlayerManagerTest, ANewPlayerIsCreatedAndAcceptedInTheSameTick) {
    Open();
    EXPECT_EQ(Press("Create"), 0);
    ASSERT_TRUE(manager->EnterName);
    EXPECT_EQ(manager->EnterName->Active, 1);
    EXPECT_EQ(Game->BlockKeys, 1);
    Type("zed\r");
    EXPECT_EQ(Run(), 1);
    EXPECT_EQ(created, std::vector<std::string>{"Zed"});
    EXPECT_EQ(platform::FileType(Game->ProfilePath + "Zed.dat"), platform::FILETYPE_FILE);
    EXPECT_EQ(Game->ProfileName, "Zed");
    EXPECT_FALSE(manager->EnterName);
    EXPECT_EQ(manager->Active, 0);
    EXPECT_EQ(Game->BlockKeys, 0);
    EXPECT_EQ(Game->IgnoreEscapeKey, 0);
}

TEST_F(PlayerManagerTest, NamesAreMadeFileSafeAndATakenNameIsNotCreatedAgain) {
    struct Case {
        const char* typed;
        const char* name;
        bool create;
    };
    const Case cases[] = {{"a/b:c\r", "Abc", true}, {"ann\r", "Ann", false}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.typed);
        created.clear();
        const std::string before = ReadTextFile(Game->ProfilePath + "Ann.dat");
        Open();
        manager->AutoAcceptAfterCreate = 0;
        Press("Create");
        Type(c.typed);
        EXPECT_EQ(Run(), 0);
        EXPECT_FALSE(manager->EnterName);
        EXPECT_EQ(manager->Active, 1) << "open until the player chooses";
        EXPECT_EQ(manager->ListBox->Value, c.name);
        EXPECT_EQ(created.size(), c.create ? 1u : 0u);
        EXPECT_EQ(ReadTextFile(Game->ProfilePath + "Ann.dat"), before) << "Ann is not wiped";
        EXPECT_EQ(Game->IgnoreEscapeKey, 1);
    }
}

TEST_F(PlayerManagerTest, CreatingIsRefusedAtTheLimit) {
    Open(3);
    EXPECT_EQ(Press("Create"), 0);
    EXPECT_FALSE(manager->EnterName);
    ASSERT_TRUE(manager->DialogOK);
    EXPECT_EQ(shown, std::vector<std::string>{"You cannot create any more players!"});
    // Escape answers the message, not the manager.
    PressKey(KEY_ESCAPE);
    EXPECT_EQ(manager->Manage(), 0);
    EXPECT_FALSE(manager->DialogOK);
    EXPECT_EQ(manager->Active, 1);

    Open(0);
    EXPECT_EQ(manager->ListBox->Limit, manager->ListBox->DisplayLines) << "the lines that fit";
    EXPECT_GT(manager->ListBox->Limit, 3);
    Press("Create");
    EXPECT_TRUE(manager->EnterName) << "no limit";
}

TEST_F(PlayerManagerTest, KillingItWithADialogOpenGivesTheKeysBack) {
    Open();
    Press("Create");
    ASSERT_TRUE(manager->EnterName);
    manager->Kill();
    EXPECT_FALSE(manager->EnterName);
    EXPECT_EQ(Game->BlockKeys, 0);
    EXPECT_EQ(Game->IgnoreEscapeKey, 0);
    manager = nullptr;
}

TEST_F(PlayerManagerTest, WithoutAProfilesFolderTheListIsEmptyAndCancelKeepsThePlayer) {
    Game->ProfilePath = dir.Path() + "nowhere/";
    Open();
    EXPECT_TRUE(manager->ListBox->Strings.empty());
    EXPECT_EQ(manager->ListBox->Index, -1);
    EXPECT_EQ(Press("Delete"), 0);
    EXPECT_FALSE(manager->DialogYesNo);
    EXPECT_EQ(Press("Cancel"), -1);
    EXPECT_EQ(Game->CurrentProfile->Name, "Bob");
    EXPECT_EQ(platform::FileType(Game->ProfilePath), platform::FILETYPE_NONE);
}

TEST_F(PlayerManagerTest, DrawsTheListButtonsAndSubDialog) {
    Open();
    manager->Draw();
    std::vector<std::string> texts;
    for (const auto& r : Drawn(platform::TDrawRecord::TEXT))
        texts.push_back(r.text);
    for (const char* name : {"Choose a player", "Ann", "Bob", "Cid"})
        EXPECT_NE(std::find(texts.begin(), texts.end(), name), texts.end()) << name;
    EXPECT_EQ(Drawn(platform::TDrawRecord::IMAGE).size(), 4u * 2u) << "four buttons and shadows";

    Press("Delete");
    platform::ClearDrawLog();
    manager->DrawDisabled = 1;
    EXPECT_EQ(manager->Draw(), 1);
    texts.clear();
    for (const auto& r : Drawn(platform::TDrawRecord::TEXT))
        texts.push_back(r.text);
    EXPECT_EQ(texts, std::vector<std::string>{"Are you sure you want to delete this player?"});
}

} // namespace
