// The sectioned text files on arbitrary bytes: read or refused as a fatal error naming the file,
// and every block's key looked up.

#include "framework/graphics/game_text.h"
#include "framework/shell/game.h"
#include "fuzz/fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    fuzz::Setup();
    if (!Game)
        Game = std::make_unique<TGame>();
    Game->TextPath = fuzz::Folder();
    fuzz::WriteFile("text.txt", fuzz::Bytes(data, size));
    TGameText text;
    if (!fuzz::Guarded([&] { text.Read("text.txt"); }))
        return 0;
    for (const TStringArray& block : text)
        if (!block.empty())
            text.Find(block[0]);
    text.FindString("A");
    return 0;
}
