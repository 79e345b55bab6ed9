#pragma once
// The modal dialog that asks for one line of text: a caption, an entry box with a text entry, an
// "OK" button and optionally a "Cancel" button. The owner may check the text at OK; a refused text
// opens the owner's error dialog over this one, and the player then corrects the text. Manage
// returns 1 when the text was accepted (it is then in TextInput->Text), -1 when cancelled, else 0.

#include "framework/shell/screen.h"
#include "framework/ui/dialog.h"
#include "framework/ui/dialogs.h"
#include "framework/ui/text_input.h"

#include <functional>
#include <memory>
#include <string>

class TDialogTextInput;
using TDialogTextInputPtr = std::shared_ptr<TDialogTextInput>;

class TDialogTextInput : public TDialog {
public:
    // Start as for every dialog; the shell's hot keys are blocked while the dialog is open.
    int Start() override;
    int CalcSize() override;
    int SetLabelsXY() override;
    int MenuPosition() override;
    int Manage() override;
    int Draw() override;
    // Also ends an entry that still takes input, so the hot keys are not left blocked.
    int Kill() override;

    // Not started, without menu and fonts: MenuCreate, SetupCaption and SetupText come next.
    static TDialogTextInputPtr Create(const std::string& caption, const std::string& text,
                                      int maxLength, const platform::ImagePtr& background, int newW,
                                      int newX, int newY, int maxPixelWidth);
    // Needs the menu. Copies AllowNull to the entry as it is now.
    int SetupText(const platform::ImageFontPtr& font, const TColorPtr& color,
                  const TShadowPtr& shadow, int fixedWidth, const TBitmapFontPtr& bitmapFont);
    int MenuCreate(int withCancel, int gap);
    int ProcessOKClickedFunc();
    // 1 when the text was accepted and the dialog closed.
    int OKClick(int fromKey);
    int CancelClick();
    // The "OK" button's click sound.
    int ClickSound();

    TLabelPtr Text;
    int CharWidth = 0;
    int Gap = 30;
    TColorPtr BoxColor;
    int DrawBox = 1;
    int BoxBorderH = 10;
    int BoxBorderV = 5;
    int TextBorder = 10;
    TTextInputPtr TextInput;
    int TextYOffset = 0;
    int AllowNull = 0;
    // -1 refuses the text and fills the error text.
    std::function<int(const std::string& text, std::string& error)> ErrorCheckFunc;
    // Makes and starts the error dialog for an error text.
    std::function<TDialogOKPtr(const std::string& error)> ErrorDialogFunc;
    TDialogOKPtr DialogOK;
    int TextOX = 0, TextOY = 0;
    std::function<int(TDialogTextInput& dialog)> OKClickedFunc;
    TScreenPtr OKClickedScreen;
    int DrawDisabled = 0;
    int UppercaseFirstChar = 1;

private:
    // The answer to an accepted OK: now when the dialog has closed, else at the end of its
    // out-transition.
    int Accepted();
};
