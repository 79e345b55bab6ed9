#include "game/board/game_screen.h"

#include "framework/shell/game.h"
#include "framework/ui/menu.h"
#include "framework/ui/text_input.h"
#include "framework/util/globals.h"
#include "game/board/asset_names.h"
#include "game/board/board_constants.h"
#include "game/board/board_globals.h"
#include "game/board/network_hooks.h"
#include "game/board/program_data.h"

#include "platform/graphics.h"
#include "platform/system.h"

TGameScreen::TGameScreen() = default;
TGameScreen::~TGameScreen() = default;

// ---- Set-up -------------------------------------------------------------------------------------

int TGameScreen::Load() {
    ImageLoad(BOARD_BACKGROUND, -1);
    platform::MidHandleImage(Image);

    SoundWater = sounds->Find("water");
    SoundExitBoard = sounds->Find("exitboard");
    SoundSwap = sounds->Find("swap");
    SoundMove = sounds->Find("move");
    SoundNoMove = sounds->Find("nomove");
    SoundWin = sounds->Find("win");

    // The throw button: no click sound of its own (the throw has one), and neither Enter nor
    // Space throws.
    Menu = TMenu::Create("buttonMO", "buttonclick", 0.0f, 0.0f, 0);
    auto button = Menu->AddNew("die", "dieMO", "", 0, 0, 1);
    button->SoundClick = nullptr;
    button->OKButton = 0;
    button->CentreX(ScreenHeight - button->h - THROW_BUTTON_BOTTOM_GAP);
    button->x += THROW_BUTTON_NUDGE;

    for (int n = 0; n < BOARD_SQUARES; ++n) {
        TSquare& square = Squares[static_cast<std::size_t>(n)];
        square = TSquare{};
        square.id = n;
        square.x = SquareX(n);
        square.y = SquareY(n);
    }

    Rules.CurrentPlayer = 1;
    Rules.BearedOff.fill(0);
    Stats.Reset();
    // A match left in the middle of a turn leaves nothing behind: no throw without a die, no
    // computer turn half done, no particles of the last move.
    Rules.Movement = 0;
    Computer.Reset();
    DropDialogs();
    HighlightParticles.Clear();
    SentName = 0;
    GotName = 0;
    LastBeacon = 0;
    NextBeacon = 0;

    MessageBox = TMessageArea::Create(MESSAGE_X, MESSAGE_Y, MESSAGE_LINES);
    StatBox = TMessageArea::Create(MESSAGE_X, MESSAGE_Y, MESSAGE_LINES);

    Highlight = TPawn::Create(images->Find("pawnlight"), 0.0f, 0.0f);
    Highlight->visible = 0;

    Die = TSprite::Create(images->Find("die"), button->x, button->y);
    Die->visible = 0;

    Indicator = TIndicator::CreateSpecial(images->Find("indicator1"), images->Find("indicator2"),
                                          button->x, button->y - INDICATOR_ABOVE_BUTTON);
    Indicator->CentreX(platform::TruncToInt(button->y) - INDICATOR_ABOVE_BUTTON);
    Indicator->StoreCentreCoords();
    Indicator->SetPosition(Indicator->cx + THROW_BUTTON_NUDGE, Indicator->cy);
    Indicator->visible = 1;

    Explain = TSprite::Create(images->Find("explain"), EXPLAIN_X, EXPLAIN_Y);
    Explain->ImageFrame = 0;
    Explain->visible = 1;
    ExplainFade = TMyFade::Create(images->Find("explain"), EXPLAIN_X, EXPLAIN_Y);
    ExplainFade->ImageFrame = 0;
    ExplainFade->visible = 0;

    AddStartPawns();

    Specials.clear();
    for (int id = 1; id <= SPECIAL_COUNT; ++id)
        Specials.AddNew(Squares, STANDARD_SPECIAL_SQUARE[static_cast<std::size_t>(id)], id);
    // The rules read the specials where the list put them (the random layout draws their squares).
    Rules.ClearSpecials();
    for (const auto& special : Specials)
        for (const auto& square : Squares)
            if (square.special == special)
                Rules.Special[static_cast<std::size_t>(square.id)] =
                    static_cast<std::uint8_t>(special->id);

    if (NoComputerPlayer() && networkGame == 0 && TextIndicator == 1)
        MessageBox->AddNew(PlayerName[static_cast<std::size_t>(Rules.CurrentPlayer)] + "'s turn!",
                           PlayerColor[3]);
    if (networkGame == 0)
        RedrawStats();
    Game->FadeMusic = 0;
    needReady = 0;
    ThrowRequested = 0;
    Record(TBoardEvent::TKind::GameStart, Rules.CurrentPlayer, -1, 0);
    return 0;
}

int TGameScreen::AddStartPawns() {
    for (auto& square : Squares)
        square.pawn = nullptr;
    for (const auto& pawn : Pawns)
        pawn->Pawns = nullptr;
    Pawns.clear();
    for (int n = 0; n < START_SQUARES; ++n)
        Pawns.AddNew(Squares, n, n % 2 == 0 ? 1 : 2);
    Rules.StartPosition();
    return 0;
}

// The board screen starts at once, with no fade-in of its own.
int TGameScreen::Start() {
    return TScreen::Start();
}

int TGameScreen::DropDialogs() {
    // A dialog still open gives the Escape key back to the shell as it goes.
    if (OKDialog)
        OKDialog->Kill();
    if (YesNoDialog)
        YesNoDialog->Kill();
    OKDialog = nullptr;
    YesNoDialog = nullptr;
    return 0;
}

int TGameScreen::Kill() {
    if (networkGame == 1 && NetworkHooks.Leave)
        NetworkHooks.Leave(*this);
    DropDialogs();
    MessageBox = nullptr;
    StatBox = nullptr;
    TextInput = nullptr;
    return TScreen::Kill();
}

// A board without a title screen to go back to (a test's) ends the program instead.
TScreenPtr TGameScreen::TitleOrExit() const {
    return TitleScreen ? TitleScreen : Game->ExitScreen;
}

int TGameScreen::SetEscDestination() {
    Game->DestinationTScreen = TitleOrExit();
    return 0;
}

int TGameScreen::LeaveToTitle() {
    return Game->LeaveTo(TitleOrExit());
}

int TGameScreen::SpecificKeys() {
    return 0;
}

bool TGameScreen::NoComputerPlayer() const {
    return ComputerPlayer[1] != 1 && ComputerPlayer[2] != 1;
}

// ---- The rules ----------------------------------------------------------------------------------

int TGameScreen::AnyValidMoves() {
    return Rules.AnyValidMoves();
}

int TGameScreen::ValidMovesHere(int i) {
    return Rules.ValidMovesHere(i);
}

// ---- Drawing ------------------------------------------------------------------------------------

int TGameScreen::Draw() {
    platform::SetBlend(platform::SOLIDBLEND);
    platform::Cls();
    if (Image)
        platform::DrawImage(Image, static_cast<float>(ScreenWidth / 2),
                            static_cast<float>(ScreenHeight / 2), 0);
    platform::SetBlend(platform::ALPHABLEND);
    if (TextInput) {
        platform::SetColor(165, 105, 40);
        platform::DrawRect(CHAT_X, CHAT_Y, CHAT_W, CHAT_H);
        platform::SetColor(255, 255, 255);
        TextInput->Draw();
    }
    if (Die && !Die->visible) {
        if (Menu)
            Menu->Draw(0.0f, 0.0f);
    } else if (Die) {
        Die->Draw();
    }
    if (Indicator && Indicator->visible)
        Indicator->DrawSpecial(Rules.CurrentPlayer);
    Specials.Draw();
    Pawns.Draw();
    if (Highlight)
        Highlight->Draw();
    HighlightParticles.Draw();
    if (MessageBox)
        MessageBox->Draw();
    // Both boxes stand in one place: in a networked game its lines take it.
    if (StatBox && networkGame == 0)
        StatBox->Draw();
    if (Explain && Explain->visible)
        Explain->Draw();
    if (ExplainFade && ExplainFade->visible)
        ExplainFade->Draw();
    if (OKDialog)
        OKDialog->Draw();
    if (YesNoDialog)
        YesNoDialog->Draw();
    return 0;
}

// ---- The replay log -----------------------------------------------------------------------------

int TGameScreen::Record(TBoardEvent::TKind kind, int player, int square, int throwValue) {
    if (!EventHook)
        return 0;
    TBoardEvent event;
    event.Kind = kind;
    event.Player = player;
    event.Throw = throwValue;
    event.Square = square;
    if ((player == 1 || player == 2) && ComputerPlayer[static_cast<std::size_t>(player)] == 1)
        event.Strategy = Computer.Strategy(ComputerPlayerStrategy);
    EventHook(event);
    return 0;
}
