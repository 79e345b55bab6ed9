#pragma once
// What the widget and dialog tests share: a fresh game object at 200 ticks a second with its
// folders in a temporary folder, button pictures and the two menu sounds written there, a channel
// pool whose channels record the sounds cued into them, the draw log on, fatal errors raised as
// exceptions, and helpers that script the pointer and the keyboard as the shell's event pump
// would.

#include "framework/audio/channel_array.h"
#include "framework/audio/game_sound.h"
#include "framework/graphics/mouse_pointer.h"
#include "framework/shell/fixed_rate_logic.h"
#include "framework/shell/game.h"
#include "framework/shell/game_fade.h"
#include "framework/util/globals.h"
#include "framework/util/input.h"
#include "platform/audio.h"
#include "platform/files.h"
#include "platform/graphics.h"
#include "platform/pixmap.h"
#include "tests/framework/util/fatal_error_capture.h"
#include "tests/support/audio_fixtures.h"
#include "tests/support/drawing_support.h"
#include "tests/support/temp_dir.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace ui_test {

// Every sound cued into a recording channel, in order, across all of them.
inline std::vector<const platform::TSound*>& CuedSounds() {
    static std::vector<const platform::TSound*> cued;
    return cued;
}

// A channel that records what is cued into it and never plays.
class TRecordingChannel : public platform::TChannel {
public:
    void Cue(const platform::SoundPtr& sound) override { CuedSounds().push_back(sound.get()); }
};

class UiTest : public ::testing::Test {
protected:
    void SetUp() override {
        Game = std::make_unique<TGame>();
        Game->FixedRateLogic->CalcMS();
        Game->ImagePath = dir.Path() + "graphics/";
        Game->MenuPath = dir.Path() + "menu/";
        Game->SoundPath = dir.Path() + "sound/";
        Game->ProfilePath = dir.Path() + "profiles/";
        platform::CreateDir(Game->ImagePath);
        platform::CreateDir(Game->MenuPath);
        platform::CreateDir(Game->SoundPath);
        const std::string wav = testing_support::MakeWav(testing_support::WavLayout(1, 16, 22050),
                                                         testing_support::RampPcm(400));
        testing_support::WriteTextFile(Game->SoundPath + "buttonMO.wav", wav);
        testing_support::WriteTextFile(Game->SoundPath + "buttonclick.wav", wav);
        // The dialogs' buttons.
        MenuPicture("OK", 60, 30);
        MenuPicture("Yes", 60, 30);
        MenuPicture("No", 60, 30);
        MenuPicture("Cancel", 80, 30);
        Game->Channels = TChannelArray::Create(4);
        for (auto& entry : Game->Channels->Channels)
            entry->Channel = std::make_shared<TRecordingChannel>();
        CuedSounds().clear();
        platform::SetDrawLog(true);
        platform::ClearDrawLog();
        testing_support::ResetDrawingState();
        MovePointer(-100, -100);
    }

    // A picture and its "MO" picture in the menu folder, w by h, in two colours.
    void MenuPicture(const std::string& name, int w, int h) {
        WritePicture(Game->MenuPath + name + ".png", w, h, 0xFF808080);
        WritePicture(Game->MenuPath + name + "MO.png", w, h, 0xFFC0C0C0);
    }
    static void WritePicture(const std::string& path, int w, int h, uint32_t argb) {
        ASSERT_TRUE(platform::SavePixmapPNG(testing_support::Filled(w, h, argb), path));
    }

    // ---- Input, as the event pump records it ----
    static void MovePointer(int x, int y) {
        Game->Mouse->x = x;
        Game->Mouse->y = y;
    }
    // A press of the left button at (x, y).
    static void ClickAt(int x, int y) {
        MovePointer(x, y);
        Game->Mouse->ClearMouseHit();
        Game->Mouse->h1 += 1;
        Game->Mouse->CalcButtonTotals();
    }
    static void PressKey(int code) {
        ccInputKeyDown(code);
        ccInputKeyUp(code);
    }
    // Typed characters, and the key hits that come with Enter, Escape and Backspace.
    static void Type(const std::string& text) {
        for (unsigned char c : text) {
            if (c == 8 || c == 13 || c == 27)
                PressKey(c);
            ccInputChar(c);
        }
    }

    // The sounds cued since the last call.
    static std::vector<const platform::TSound*> TakeCued() {
        std::vector<const platform::TSound*> out = CuedSounds();
        CuedSounds().clear();
        return out;
    }
    // The records of one kind drawn since the last clearing.
    static std::vector<platform::TDrawRecord> Drawn(platform::TDrawRecord::Kind kind) {
        return testing_support::DrawRecords(kind);
    }

    testing_support::TempDir dir;
    FatalErrorCapture fatal;
};

} // namespace ui_test
