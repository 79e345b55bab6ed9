#pragma once
// The root class of objects that share a list with objects of other classes (the general list
// functions, the settings file's lines). Lists of one class hold that class directly.

#include <list>
#include <memory>
#include <string>

class TObject {
public:
    virtual ~TObject() = default;
    // Text of the object; the class name's default is empty.
    virtual std::string ToString() const { return std::string(); }
    // Ordering against another object: below 0, 0 or above 0. By default objects compare by
    // identity.
    virtual int Compare(const TObject& other) const;
};
using TObjectPtr = std::shared_ptr<TObject>;
// A list that may hold objects of several classes and empty (null) entries.
using TObjectList = std::list<TObjectPtr>;

// A boxed string, for lists of strings.
class TStringObject : public TObject {
public:
    explicit TStringObject(std::string value) : Value(std::move(value)) {}
    std::string ToString() const override { return Value; }
    int Compare(const TObject& other) const override;
    std::string Value;
};
