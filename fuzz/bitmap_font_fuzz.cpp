// The bitmap font description (.fnt) on arbitrary bytes, beside a good page image: the font loads
// or is refused as a fatal error naming the file, and a loaded one measures and cuts text.

#include "framework/graphics/bitmap_font.h"
#include "framework/shell/game.h"
#include "fuzz/fuzz_support.h"
#include "platform/pixmap.h"

#include <cmath>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    fuzz::Setup();
    if (!Game) {
        Game = std::make_unique<TGame>();
        platform::PixmapPtr page = platform::CreatePixmap(64, 32);
        platform::SavePixmapPNG(page, fuzz::Folder() + "font.png");
    }
    fuzz::WriteFile("font.fnt", fuzz::Bytes(data, size));
    TBitmapFontPtr font;
    if (!fuzz::Guarded([&] { font = TBitmapFont::Create(fuzz::Folder() + "font", -1); }))
        return 0;
    const std::string sample = "Pelorin \xe9 0123 {}";
    font->StringWidth(sample);
    font->StringHeight(sample);
    fuzz::Check(font->TruncateString(sample, 40.0).size() <= sample.size(), "a cut that grew");
    font->FindChar(300);
    font->CalcVRAM();
    font->Kill();
    return 0;
}
