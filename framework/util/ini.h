#pragma once
// Ini lines (key "=" value, keys upper case and matched without regard to case), the blocks of a
// sectioned text ("[NAME]" and the lines under it), and small file chores.

#include "framework/util/strings.h"
#include "platform/files.h"

#include <string>

// ---- Ini lines ---------------------------------------------------------------------------------

// The value of the first line whose key is key, or "" (also when the file cannot be read).
std::string ccReadIniLine(const std::string& file, const std::string& key);
// Copies source to destination with every line of the key replaced by KEY=value; a key the
// source lacks is not added. 1 when the copy is written, 0 when the source cannot be read or the
// destination cannot be written (the destination is then left as it was). Source and destination
// may be the same file.
int ccWriteIniLine(const std::string& source, const std::string& destination,
                   const std::string& key, const std::string& value);
// One line KEY=n or KEY=text on an open stream.
int ccWriteIniNumber(const platform::StreamPtr& stream, const std::string& key, int n);
int ccWriteIniString(const platform::StreamPtr& stream, const std::string& key,
                     const std::string& text);
// The key and the value of a line.
std::string ccIniFirstString(const std::string& line);
std::string ccIniLastString(const std::string& line);

// ---- Sectioned text ----------------------------------------------------------------------------

// A fatal error unless the upper-cased line is "[" + name + "]".
int ccTestSectionHeader(const std::string& name, const std::string& line);
// The lines from index up to the next header or the end; index is left there.
TStringArray ccLoadSectionArrayFromArray(const TStringArray& lines, int& index);
// The lines read up to the next header or the end of the stream; line receives the last line read.
TStringArray ccLoadSectionArrayFromFile(const platform::StreamPtr& stream, std::string& line);
// lines[index], or "" past the end; index moves on by one either way.
std::string ccLoadSectionStringFromArray(const TStringArray& lines, int& index);
// One line read and returned; the next is read into line.
std::string ccLoadSectionStringFromFile(const platform::StreamPtr& stream, std::string& line);

// ---- Files -------------------------------------------------------------------------------------

// The file opened for reading; a file that cannot be opened is a fatal error.
platform::StreamPtr ccLoadFile(const std::string& path);
// 1 when the path names a file or a folder.
int ccFileExists(const std::string& path);
// The path ending in "/" (a path ending in "\" is left as it is).
std::string ccAddSlash(const std::string& path);
// The path of the application bundle: the executable's path cut before the ".app" of its first
// component named "Name.app" (the whole path when none is), less a "debug" ending and the
// character before it, + ".app".
std::string ccAppFileNonDebug();
// The same worked out from a given executable path.
std::string ccAppFileNonDebug(const std::string& appFile);
