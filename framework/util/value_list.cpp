#include "framework/util/value_list.h"

#include "framework/util/ini.h"
#include "platform/system.h"

TValuePtr TValue::Create(const std::string& name, int value) {
    auto entry = std::make_shared<TValue>();
    entry->name = name;
    entry->value = value;
    return entry;
}

int TValue::PrintValue() const {
    platform::Print(name + "=" + std::to_string(value));
    return 0;
}

TValueListPtr TValueList::Create(const std::string& file) {
    auto list = std::make_shared<TValueList>();
    list->Read(file);
    return list;
}

int TValueList::AddTValue(const TValuePtr& value) {
    push_back(value);
    return 0;
}

TValuePtr TValueList::AddValue(const std::string& name, int value) {
    AddTValue(TValue::Create(name, value));
    return nullptr;
}

TValuePtr TValueList::GetValueByIndex(int index) const {
    if (index < 0)
        return nullptr;
    for (const TObjectPtr& entry : *this) {
        auto value = std::dynamic_pointer_cast<TValue>(entry);
        if (value && index-- == 0)
            return value;
    }
    return nullptr;
}

TValuePtr TValueList::GetValueByName(const std::string& name) const {
    for (const TObjectPtr& entry : *this) {
        auto value = std::dynamic_pointer_cast<TValue>(entry);
        if (value && value->name == name)
            return value;
    }
    return nullptr;
}

int TValueList::PrintList() const {
    for (const TObjectPtr& entry : *this)
        if (auto value = std::dynamic_pointer_cast<TValue>(entry))
            value->PrintValue();
    return 0;
}

int TValueList::Read(const std::string& file) {
    platform::StreamPtr in = ccLoadFile(file);
    if (!in)
        return 0;
    while (!in->Eof() && !in->Failed()) {
        const std::string line = in->ReadLine();
        AddValue(ccIniFirstString(line), platform::StrToInt(ccIniLastString(line)));
    }
    in->Close();
    return 0;
}
