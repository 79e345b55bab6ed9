#pragma once
// Small tables of named integers read from a text file of "name=value" lines, looked up by
// position or by name. Names are kept exactly as written and need not be unique.

#include "framework/util/object.h"

#include <memory>
#include <string>

class TValue;
using TValuePtr = std::shared_ptr<TValue>;

// One name and its integer.
class TValue : public TObject {
public:
    static TValuePtr Create(const std::string& name, int value);
    // Prints name=value on standard output.
    int PrintValue() const;

    std::string name;
    int value = 0;
};

class TValueList;
using TValueListPtr = std::shared_ptr<TValueList>;

// The list's own operations (clear, iteration, size) are those of the list it is.
class TValueList : public TObject, public TObjectList {
public:
    // A new list holding the entries of the file; a file that cannot be read is a fatal error.
    static TValueListPtr Create(const std::string& file);
    int AddTValue(const TValuePtr& value);
    // Appends a new entry; returns null.
    TValuePtr AddValue(const std::string& name, int value);
    // The entry at index (0-based), or null.
    TValuePtr GetValueByIndex(int index) const;
    // The first entry of exactly that name, or null.
    TValuePtr GetValueByName(const std::string& name) const;
    int PrintList() const;
    // Appends one entry per line of the file: the text before the first "=" and the integer read
    // from the text behind it (0 when none). A file that cannot be read is a fatal error.
    int Read(const std::string& file);
};
