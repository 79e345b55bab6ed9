#pragma once
// The named texts of one sectioned text file from the game's text folder. The file is a sequence
// of blocks, each a header line "[TEXT]", a key line and any number of text lines up to the next
// line that starts with "["; a screen asks for a block's lines by its key (letters a to z in any
// case).

#include "framework/util/object.h"
#include "framework/util/strings.h"

#include <list>
#include <memory>
#include <string>

class TGameText;
using TGameTextPtr = std::shared_ptr<TGameText>;

// One entry per block in file order: the key line upper-cased, then the text lines.
class TGameText : public TObject, public std::list<TStringArray> {
public:
    // A new set read from the file (see Read).
    static TGameTextPtr Create(const std::string& file);

    // Replaces the blocks by those of Game->TextPath + file. A missing file is a fatal error
    // naming the file; a line where a header belongs that is not one is a fatal error too, the
    // file and the line named on standard error.
    int Read(const std::string& file);
    // The text lines of the last block with that key; none when no block has it.
    TStringArray Find(const std::string& key) const;
    // Those lines joined with "\r\n"; "" when the key is not found.
    std::string FindString(const std::string& key) const;
};

// A text file's bytes as one byte per character. A UTF-8 or UTF-16 (either byte order) byte-order
// mark selects that encoding; characters beyond 255, and bytes that are not valid in the encoding,
// become "?". Without a mark the bytes are the characters.
std::string DecodeText(const std::string& bytes);
