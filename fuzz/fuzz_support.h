#pragma once
// What the fuzz targets share: a scratch folder of their own, fatal errors raised as exceptions
// (as before start-up's handler runs) with the message box silenced, and a way to fail loudly.

#include <cstddef>
#include <cstdint>
#include <string>

namespace fuzz {

// Called once before the first input: the scratch folder is made, fatal errors are raised.
void Setup();
// The scratch folder, ending in "/"; removed when the process ends.
const std::string& Folder();
// Writes the bytes to Folder() + name, replacing any file there.
void WriteFile(const std::string& name, const std::string& bytes);
// Removes everything in the scratch folder.
void ClearFolder();
// Runs fn; true when it returned, false when it raised a fatal error.
template <class Fn> bool Guarded(Fn&& fn);
// Stops the run with the message: the input broke a property the program relies on.
[[noreturn]] void Fail(const std::string& what);
inline void Check(bool ok, const std::string& what) {
    if (!ok)
        Fail(what);
}

bool GuardedCall(void (*call)(void*), void* context);
template <class Fn> bool Guarded(Fn&& fn) {
    return GuardedCall([](void* c) { (*static_cast<Fn*>(c))(); }, &fn);
}

// The fuzzer's input as text.
inline std::string Bytes(const uint8_t* data, size_t size) {
    return std::string(reinterpret_cast<const char*>(data), size);
}

} // namespace fuzz
