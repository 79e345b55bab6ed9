#pragma once
// The settings file held in memory: an ordered list of keys with their values as text, bound to
// one file of ini lines. The list, not the file, decides which keys exist: keys that the file holds
// and the program did not register are dropped at the next save.

#include "framework/util/object.h"

#include <memory>
#include <string>

// One key of the settings file and its value.
class TIniLine : public TObject {
public:
    TIniLine() = default;
    TIniLine(std::string name, std::string value)
        : Name(std::move(name)), Value(std::move(value)) {}

    std::string Name; // always upper case
    std::string Value;
};
using TIniLinePtr = std::shared_ptr<TIniLine>;

// The list's own operations (clear, iteration, size) are those of the list it is.
class TIniFile : public TObject, public TObjectList {
public:
    // Appends a line with the name in upper case; an existing line of that name stays.
    int Add(const std::string& name, const std::string& value);
    // Writes every line to FileName + ".ini", in list order. A file that cannot be written is a
    // fatal error ("Failed to save file " + path).
    int Save();
    // Reads FileName + ".ini", when it exists, into the values of the registered keys (the last
    // line of a key wins), then always saves.
    int Load();

    // Path and name of the file without ".ini".
    std::string FileName;
};
using TIniFilePtr = std::shared_ptr<TIniFile>;
