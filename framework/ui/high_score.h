#pragma once
// The table of best results: THighScore entries (name, score, level), best first, kept in a small
// file of records, one per entry: the name's bytes each less 19 (modulo 256), a 0 byte, then the
// score and the level as 32-bit little-endian integers. The game creates one (Game->HighScores)
// and never loads it.

#include "framework/util/object.h"

#include <list>
#include <memory>
#include <string>

class THighScore : public TObject {
public:
    std::string name;
    int score = 0;
    int level = 0;
};
using THighScorePtr = std::shared_ptr<THighScore>;

// The list's own operations (iteration, size, insertion, clear) are those of the list it is.
class THighScoreList : public TObject, public std::list<THighScorePtr> {
public:
    // Empties the table and names its file (path + ".dat"); the file is not read.
    int Create(const std::string& path, int maxNameLength);
    // A new entry at the bottom.
    int Add(const std::string& entryName, int score, int level);
    // A new entry above the first one whose score is not higher (so above an equal score); the
    // table grows by one.
    int Insert(const std::string& entryName, int score, int level);
    // Reads the file. Without one the default table is made and written; a damaged file (a record
    // cut short) is kept beside it as filepath + ".damaged" and the default table used.
    int Load();
    // Writes the whole table; a file that cannot be written is fatal.
    int Save();
    // The ten default entries appended, then Save.
    int CreateDefault();
    // count entries "Empty" with score and level 0 in place of the table, then Save.
    int Zero(int count);

    // The table's file, ".dat" included.
    std::string filepath;
    // Longest name, kept for the owner; the table's own operations do not use it.
    int MaxNameLength = 10;

private:
    void AddDefaults();
};
using THighScoreListPtr = std::shared_ptr<THighScoreList>;
