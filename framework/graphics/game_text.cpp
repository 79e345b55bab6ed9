#include "framework/graphics/game_text.h"

#include "framework/shell/game.h"
#include "framework/util/ini.h"
#include "platform/system.h"

namespace {

const std::string SECTION = "TEXT";

constexpr char UNKNOWN = '?';

// One character per code point; a code point a byte cannot hold is unknown.
void Put(std::string& out, uint32_t codePoint) {
    out += codePoint <= 0xFF ? static_cast<char>(codePoint) : UNKNOWN;
}

std::string DecodeUtf8(const std::string& bytes, size_t from) {
    std::string out;
    const size_t n = bytes.size();
    size_t i = from;
    while (i < n) {
        const auto lead = static_cast<unsigned char>(bytes[i]);
        size_t more;
        uint32_t codePoint, least;
        if (lead < 0x80) {
            out += static_cast<char>(lead);
            ++i;
            continue;
        } else if ((lead & 0xE0) == 0xC0) {
            more = 1, codePoint = lead & 0x1Fu, least = 0x80;
        } else if ((lead & 0xF0) == 0xE0) {
            more = 2, codePoint = lead & 0x0Fu, least = 0x800;
        } else if ((lead & 0xF8) == 0xF0) {
            more = 3, codePoint = lead & 0x07u, least = 0x10000;
        } else {
            out += UNKNOWN; // a stray continuation byte or an invalid lead
            ++i;
            continue;
        }
        bool whole = i + more < n;
        for (size_t k = 1; whole && k <= more; ++k) {
            const auto c = static_cast<unsigned char>(bytes[i + k]);
            whole = (c & 0xC0) == 0x80;
            codePoint = (codePoint << 6) | (c & 0x3Fu);
        }
        if (!whole) { // a broken sequence: the lead is unknown, what follows is read anew
            out += UNKNOWN;
            ++i;
            continue;
        }
        // An over-long form stands for no character of its own.
        Put(out, codePoint >= least ? codePoint : 0x110000);
        i += more + 1;
    }
    return out;
}

std::string DecodeUtf16(const std::string& bytes, size_t from, bool bigEndian) {
    std::string out;
    auto unit = [&](size_t at) {
        const auto a = static_cast<unsigned char>(bytes[at]);
        const auto b = static_cast<unsigned char>(bytes[at + 1]);
        return bigEndian ? static_cast<uint32_t>((a << 8) | b)
                         : static_cast<uint32_t>((b << 8) | a);
    };
    size_t i = from;
    while (i + 1 < bytes.size()) {
        const uint32_t u = unit(i);
        i += 2;
        // A surrogate pair is one character beyond 255, like a lone surrogate.
        if (u >= 0xD800 && u <= 0xDBFF && i + 1 < bytes.size()) {
            const uint32_t low = unit(i);
            if (low >= 0xDC00 && low <= 0xDFFF)
                i += 2;
        }
        Put(out, u);
    }
    if (i < bytes.size()) // half a unit at the end
        out += UNKNOWN;
    return out;
}

bool StartsWith(const std::string& bytes, std::initializer_list<unsigned char> mark) {
    if (bytes.size() < mark.size())
        return false;
    size_t i = 0;
    for (unsigned char m : mark)
        if (static_cast<unsigned char>(bytes[i++]) != m)
            return false;
    return true;
}

} // namespace

std::string DecodeText(const std::string& bytes) {
    if (StartsWith(bytes, {0xEF, 0xBB, 0xBF}))
        return DecodeUtf8(bytes, 3);
    if (StartsWith(bytes, {0xFF, 0xFE}))
        return DecodeUtf16(bytes, 2, false);
    if (StartsWith(bytes, {0xFE, 0xFF}))
        return DecodeUtf16(bytes, 2, true);
    return bytes;
}

TGameTextPtr TGameText::Create(const std::string& file) {
    auto text = std::make_shared<TGameText>();
    text->Read(file);
    return text;
}

int TGameText::Read(const std::string& file) {
    clear();
    const std::string path = Game->TextPath + file;
    const platform::StreamPtr stream = ccLoadFile(path);
    if (!stream)
        return 0;
    const std::string bytes = stream->ReadString(stream->Size());
    stream->Close();
    const TStringArray lines = ccSplitStringIntoLines(DecodeText(bytes));
    int i = 0;
    while (static_cast<size_t>(i) < lines.size()) {
        // Only a header may stand where a block begins. The shared header test raises the fatal
        // error in the system's own words; where the header was missing goes to standard error
        // just before, for whoever mends the file.
        const std::string& line = lines[static_cast<size_t>(i)];
        if (AsciiUpper(line) != "[" + SECTION + "]") {
            platform::Warn("text", path + ", line " + std::to_string(i + 1) + ": not a [" +
                                       SECTION + "] header");
            ccTestSectionHeader(SECTION, line);
            return 0;
        }
        ++i;
        TStringArray block = ccLoadSectionArrayFromArray(lines, i);
        if (!block.empty())
            block[0] = AsciiUpper(block[0]);
        push_back(std::move(block));
    }
    return 0;
}

TStringArray TGameText::Find(const std::string& key) const {
    const std::string wanted = AsciiUpper(key);
    TStringArray found;
    for (const TStringArray& block : *this)
        if (!block.empty() && block[0] == wanted)
            found.assign(block.begin() + 1, block.end());
    return found;
}

std::string TGameText::FindString(const std::string& key) const {
    std::string joined;
    const TStringArray lines = Find(key);
    for (size_t i = 0; i < lines.size(); ++i) {
        if (i > 0)
            joined += "\r\n";
        joined += lines[i];
    }
    return joined;
}
