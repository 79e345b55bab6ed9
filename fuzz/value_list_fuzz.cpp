// The name-value list on arbitrary bytes: one entry per line, each reachable by index and name.

#include "framework/util/value_list.h"
#include "fuzz/fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    fuzz::Setup();
    fuzz::WriteFile("values.txt", fuzz::Bytes(data, size));
    const TValueListPtr list = TValueList::Create(fuzz::Folder() + "values.txt");
    int count = 0;
    while (TValuePtr value = list->GetValueByIndex(count)) {
        fuzz::Check(list->GetValueByName(value->name) != nullptr, "an entry not found by name");
        ++count;
    }
    fuzz::Check(static_cast<size_t>(count) == list->size(), "entries not reachable by index");
    fuzz::Check(list->GetValueByIndex(-1) == nullptr, "an entry before the first");
    return 0;
}
