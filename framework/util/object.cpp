#include "framework/util/object.h"

#include <functional>

int TObject::Compare(const TObject& other) const {
    if (this == &other)
        return 0;
    return std::less<const TObject*>()(this, &other) ? -1 : 1;
}

int TStringObject::Compare(const TObject& other) const {
    int c = Value.compare(other.ToString());
    return c < 0 ? -1 : (c > 0 ? 1 : 0);
}
