#pragma once
// A fixed block of text lines below the board, filled from the top; once full, every new line
// pushes the oldest out at the top, like a small scrolling log. The board screen keeps two at the
// same place: the statistics box and the message lines of a networked game.

#include "framework/graphics/font.h"
#include "framework/util/color.h"
#include "framework/util/object.h"

#include <memory>
#include <string>
#include <vector>

class TMessageArea;
using TMessageAreaPtr = std::shared_ptr<TMessageArea>;

class TMessageArea : public TObject {
public:
    // An area at (x, y) with room for `lines` lines, 15 pixels apart.
    static TMessageAreaPtr Create(int x, int y, int lines);
    // Writes a line in the colour (the caller's object itself, so a later change of it recolours
    // the line) into the first empty slot, or scrolls the others up and writes it at the bottom.
    // An area with no slot takes no line.
    int AddNew(const std::string& text, const TColorPtr& colour);
    // Empties every slot; the next line goes to the top again.
    int Clear();
    // The filled slots, top down, each with its drop shadow.
    int Draw();

    // One slot per line, slot 0 at the top; an empty slot holds no label.
    std::vector<TLabelPtr> Message;
    int x = 0;
    int y = 0;
    float h = 0.0f;
};
