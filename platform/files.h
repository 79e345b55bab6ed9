#pragma once
// Files, folders and byte streams. Paths and texts pass through byte for byte (one byte per
// character). A read whose exact path is missing is resolved without regard to case, one path
// component at a time, so that "Data"/"data" and "Default.ini"/"default.ini" reach the same file on
// a case-sensitive file system; writes always use the exact name.
//
// Files and folders are created with the user's file-creation mask (files 0666, folders 0777
// before the mask). Files opened with WriteFile are written to a temporary file beside the target
// and renamed over it when closed, so a crash or a full disk never leaves a file half written.

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace platform {

enum FileKind { FILETYPE_NONE = 0, FILETYPE_FILE = 1, FILETYPE_DIR = 2 };

// The path as it exists on disk: the path itself when it exists, else the first match found
// without regard to case, component by component; the path unchanged when nothing matches.
std::string ResolvePath(const std::string& path);

// 0 none, 1 file, 2 folder (after ResolvePath; symbolic links are followed).
int FileType(const std::string& path);
// Size in bytes (after ResolvePath), 0 for a folder, -1 when the file does not exist.
int64_t FileSize(const std::string& path);
// Names in a folder (after ResolvePath; without "." and ".."), sorted by bytes; false when it
// cannot be opened as a folder.
bool ReadDir(const std::string& path, std::vector<std::string>& names);

// True when the folder exists afterwards (also when it already did); a trailing "/" is fine.
bool CreateDir(const std::string& path, bool recurse = false);
// Removes the folder, with everything in it when recurse (links are removed, not followed).
bool DeleteDir(const std::string& path, bool recurse = false);
bool CreateFile(const std::string& path); // empty file, truncating an existing one
bool DeleteFile(const std::string& path);
bool CopyFile(const std::string& src, const std::string& dst);   // dst replaced atomically
bool RenameFile(const std::string& src, const std::string& dst); // src after ResolvePath
bool SetFileMode(const std::string& path, int mode);             // chmod: exactly these bits

// Reads a whole file into data; false when it cannot be read.
bool LoadBytes(const std::string& path, std::string& data);
// Writes data to a temporary file beside path, flushes it to disk and renames it over path.
// False (and the old file untouched) when any step fails.
bool SaveBytesAtomic(const std::string& path, const std::string& data);
// Removes from folder the temporary files that saves killed before their rename left behind (of
// the file called name, or of any file when name is empty); each save does it for its own file.
// A file that a live save still writes, in any process, is kept: a save holds a lock on its
// temporary file until the rename, and only a file whose lock can be taken is removed.
void RemoveAbandonedTemps(const std::string& folder, const std::string& name = "");

// Called just before each change that this layer makes on disk (a file or folder created, bytes
// written out or flushed, a rename, a mode set, a file or folder removed), so that a test can end
// a process at every step of a save in turn. An empty function removes it.
void SetFileChangeHook(std::function<void()> hook);

// A byte stream over a file or a memory buffer. Numbers are little-endian. Reads past the end
// return 0 / "" and set Failed(); writes that fail set Failed(). Seek accepts 0 to Size().
class TStream {
public:
    virtual ~TStream();

    virtual int64_t Read(void* buf, int64_t count) = 0;        // bytes actually read
    virtual int64_t Write(const void* buf, int64_t count) = 0; // bytes actually written
    virtual int64_t Pos() const = 0;
    virtual bool Seek(int64_t pos) = 0;
    virtual int64_t Size() const = 0;
    // Closes the stream; false when any read or write failed or the data could not be committed
    // (for WriteFile streams: flushed and renamed over the target). Closing twice is harmless.
    virtual bool Close() = 0;

    bool Eof() const { return Pos() >= Size(); }
    bool Failed() const { return failed_; }

    int ReadByte();  // 0..255
    int ReadShort(); // 16-bit, sign not extended: 0..65535
    int ReadInt();   // 32-bit signed
    float ReadFloat();
    double ReadDouble();
    // Exactly count bytes; false (and Failed()) when the stream ends first.
    bool ReadBytes(void* buf, int64_t count);
    // count bytes; the bytes up to the end (and Failed()) when the stream ends first.
    std::string ReadString(int64_t count);
    // Bytes up to a line feed, a NUL or the end; every carriage return dropped. Reaching the end
    // is not a failure: "" at the end, and a last line without a line feed comes back whole.
    std::string ReadLine();

    void WriteByte(int value);
    void WriteShort(int value);
    void WriteInt(int value);
    void WriteFloat(float value);
    void WriteDouble(double value);
    void WriteBytes(const void* buf, int64_t count);
    void WriteString(const std::string& text);
    // The text, one byte per character, then CR LF.
    void WriteLine(const std::string& text);

protected:
    bool failed_ = false;
};
using StreamPtr = std::shared_ptr<TStream>;

// Opens for reading (after ResolvePath); null when the file cannot be opened or is a folder.
StreamPtr ReadFile(const std::string& path);
// Creates or replaces the file: the bytes go to a temporary file renamed over path by Close().
// A stream dropped without Close() (or ended by End) discards its temporary file and leaves the
// old file. Null when the temporary file cannot be created. The stream is write-only.
// A replaced file keeps its permission bits; a symbolic link is written through.
StreamPtr WriteFile(const std::string& path);
// Opens an existing file in place for reading and/or writing; null when it cannot be opened.
// Read-only opening goes through ResolvePath; writing names the file exactly.
StreamPtr OpenFile(const std::string& path, bool read, bool write);
// A stream over a copy of the bytes, starting at position 0; it reads them and writes over them,
// growing at the end (an empty one is a buffer to write into).
StreamPtr MemoryStream(std::string data = std::string());
// The bytes written so far to a stream made by MemoryStream.
std::string MemoryStreamData(const StreamPtr& stream);

} // namespace platform
