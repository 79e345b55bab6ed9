#include "platform/atomic_file.h"
#include "platform/files.h"
#include "platform/files_internal.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace platform {

namespace {

// A stream over an open C file. stdio wants a seek between a read and a following write (and the
// other way round), so the last direction is remembered.
class TFileStream : public TStream {
public:
    TFileStream(FILE* file, bool canRead, bool canWrite, int64_t size)
        : file_(file), canRead_(canRead), canWrite_(canWrite), size_(size) {}
    ~TFileStream() override {
        if (file_)
            std::fclose(file_);
    }

    int64_t Read(void* buf, int64_t count) override {
        if (!file_ || !canRead_) {
            failed_ = true;
            return 0;
        }
        if (count <= 0)
            return 0;
        Turn(Direction::Reading);
        const size_t n = std::fread(buf, 1, static_cast<size_t>(count), file_);
        if (std::ferror(file_))
            failed_ = true;
        pos_ += static_cast<int64_t>(n);
        // A file cut short since it was opened ends here, so that reading up to Eof() stops.
        if (std::feof(file_))
            size_ = pos_;
        return static_cast<int64_t>(n);
    }

    int64_t Write(const void* buf, int64_t count) override {
        if (!file_ || !canWrite_) {
            failed_ = true;
            return 0;
        }
        if (count <= 0)
            return 0;
        Turn(Direction::Writing);
        detail::BeforeFileChange();
        const size_t n = std::fwrite(buf, 1, static_cast<size_t>(count), file_);
        if (static_cast<int64_t>(n) < count)
            failed_ = true;
        pos_ += static_cast<int64_t>(n);
        size_ = std::max(size_, pos_);
        return static_cast<int64_t>(n);
    }

    int64_t Pos() const override { return pos_; }
    int64_t Size() const override { return size_; }

    bool Seek(int64_t pos) override {
        if (!file_ || pos < 0 || pos > size_ || fseeko(file_, pos, SEEK_SET) != 0)
            return false;
        pos_ = pos;
        last_ = Direction::None;
        return true;
    }

    bool Close() override {
        if (file_) {
            if (std::fclose(file_) != 0)
                failed_ = true;
            file_ = nullptr;
        }
        return !failed_;
    }

protected:
    FILE* file_;

private:
    enum class Direction { None, Reading, Writing };
    void Turn(Direction next) {
        if (last_ != Direction::None && last_ != next)
            fseeko(file_, 0, SEEK_CUR);
        last_ = next;
    }

    bool canRead_, canWrite_;
    int64_t pos_ = 0, size_;
    Direction last_ = Direction::None;
};

// The stream of WriteFile: a temporary file that Close renames over the target.
class TReplacingStream : public TFileStream {
public:
    TReplacingStream() : TFileStream(nullptr, false, true, 0) {}
    ~TReplacingStream() override {
        // The temporary file belongs to target_, which discards it unless committed.
        file_ = nullptr;
    }

    bool Open(const std::string& path) {
        if (!target_.Open(path))
            return false;
        file_ = target_.File();
        return true;
    }

    bool Close() override {
        if (file_) {
            file_ = nullptr;
            if (failed_)
                target_.Discard();
            else if (!target_.Commit())
                failed_ = true;
        }
        return !failed_;
    }

private:
    TAtomicFile target_;
};

class TMemoryStream : public TStream {
public:
    explicit TMemoryStream(std::string data) : data_(std::move(data)) {}

    int64_t Read(void* buf, int64_t count) override {
        const int64_t n = std::clamp<int64_t>(Size() - pos_, 0, std::max<int64_t>(count, 0));
        if (n > 0)
            std::memcpy(buf, data_.data() + pos_, static_cast<size_t>(n));
        pos_ += n;
        return n;
    }

    int64_t Write(const void* buf, int64_t count) override {
        if (count <= 0)
            return 0;
        const size_t at = static_cast<size_t>(pos_);
        const size_t n = static_cast<size_t>(count);
        if (at + n > data_.size())
            data_.resize(at + n);
        std::memcpy(data_.data() + at, buf, n);
        pos_ += count;
        return count;
    }

    int64_t Pos() const override { return pos_; }
    int64_t Size() const override { return static_cast<int64_t>(data_.size()); }

    bool Seek(int64_t pos) override {
        if (pos < 0 || pos > Size())
            return false;
        pos_ = pos;
        return true;
    }

    bool Close() override { return !failed_; }

    const std::string& Data() const { return data_; }

private:
    std::string data_;
    int64_t pos_ = 0;
};

int64_t FileSizeOf(FILE* file) {
    struct stat st;
    return fstat(fileno(file), &st) == 0 ? static_cast<int64_t>(st.st_size) : 0;
}

void PutLittleEndian(TStream& s, uint64_t value, int bytes) {
    uint8_t b[8];
    for (int i = 0; i < bytes; ++i)
        b[i] = static_cast<uint8_t>(value >> (8 * i));
    s.WriteBytes(b, bytes);
}

uint64_t GetLittleEndian(TStream& s, int bytes) {
    uint8_t b[8] = {};
    if (!s.ReadBytes(b, bytes))
        return 0;
    uint64_t value = 0;
    for (int i = 0; i < bytes; ++i)
        value |= uint64_t{b[i]} << (8 * i);
    return value;
}

} // namespace

TStream::~TStream() = default;

int TStream::ReadByte() {
    return static_cast<int>(GetLittleEndian(*this, 1));
}

int TStream::ReadShort() {
    return static_cast<int>(GetLittleEndian(*this, 2));
}

int TStream::ReadInt() {
    return static_cast<int32_t>(static_cast<uint32_t>(GetLittleEndian(*this, 4)));
}

float TStream::ReadFloat() {
    const uint32_t bits = static_cast<uint32_t>(GetLittleEndian(*this, 4));
    float value;
    std::memcpy(&value, &bits, sizeof value);
    return value;
}

double TStream::ReadDouble() {
    const uint64_t bits = GetLittleEndian(*this, 8);
    double value;
    std::memcpy(&value, &bits, sizeof value);
    return value;
}

bool TStream::ReadBytes(void* buf, int64_t count) {
    if (count <= 0)
        return true;
    if (Read(buf, count) == count)
        return true;
    failed_ = true;
    return false;
}

std::string TStream::ReadString(int64_t count) {
    if (count <= 0)
        return std::string();
    // A length read from a damaged file must not allocate more than the stream holds.
    const int64_t available = std::max<int64_t>(Size() - Pos(), 0);
    std::string text(static_cast<size_t>(std::min(count, available)), '\0');
    const int64_t n = Read(text.data(), static_cast<int64_t>(text.size()));
    text.resize(static_cast<size_t>(std::max<int64_t>(n, 0)));
    if (n < count)
        failed_ = true;
    return text;
}

std::string TStream::ReadLine() {
    std::string line;
    char c;
    while (Read(&c, 1) == 1) {
        if (c == '\n' || c == '\0')
            break;
        if (c != '\r')
            line += c;
    }
    return line;
}

void TStream::WriteByte(int value) {
    PutLittleEndian(*this, static_cast<uint32_t>(value), 1);
}

void TStream::WriteShort(int value) {
    PutLittleEndian(*this, static_cast<uint32_t>(value), 2);
}

void TStream::WriteInt(int value) {
    PutLittleEndian(*this, static_cast<uint32_t>(value), 4);
}

void TStream::WriteFloat(float value) {
    uint32_t bits;
    std::memcpy(&bits, &value, sizeof bits);
    PutLittleEndian(*this, bits, 4);
}

void TStream::WriteDouble(double value) {
    uint64_t bits;
    std::memcpy(&bits, &value, sizeof bits);
    PutLittleEndian(*this, bits, 8);
}

void TStream::WriteBytes(const void* buf, int64_t count) {
    if (count > 0 && Write(buf, count) != count)
        failed_ = true;
}

void TStream::WriteString(const std::string& text) {
    WriteBytes(text.data(), static_cast<int64_t>(text.size()));
}

void TStream::WriteLine(const std::string& text) {
    WriteString(text + "\r\n");
}

StreamPtr ReadFile(const std::string& path) {
    const int fd = open(ResolvePath(path).c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return nullptr;
    struct stat st;
    FILE* file = nullptr;
    if (fstat(fd, &st) != 0 || S_ISDIR(st.st_mode) || !(file = fdopen(fd, "rb"))) {
        close(fd);
        return nullptr;
    }
    return std::make_shared<TFileStream>(file, true, false, FileSizeOf(file));
}

StreamPtr WriteFile(const std::string& path) {
    auto stream = std::make_shared<TReplacingStream>();
    if (!stream->Open(path))
        return nullptr;
    return stream;
}

StreamPtr OpenFile(const std::string& path, bool read, bool write) {
    if (!read && !write)
        return nullptr;
    // Writing happens in place, so it names the file exactly.
    const std::string name = write ? path : ResolvePath(path);
    const int fd = open(name.c_str(), (write ? (read ? O_RDWR : O_WRONLY) : O_RDONLY) | O_CLOEXEC);
    if (fd < 0)
        return nullptr;
    struct stat st;
    FILE* file = nullptr;
    if (fstat(fd, &st) != 0 || S_ISDIR(st.st_mode) ||
        !(file = fdopen(fd, write ? (read ? "r+b" : "wb") : "rb"))) {
        close(fd);
        return nullptr;
    }
    return std::make_shared<TFileStream>(file, read, write, FileSizeOf(file));
}

StreamPtr MemoryStream(std::string data) {
    return std::make_shared<TMemoryStream>(std::move(data));
}

std::string MemoryStreamData(const StreamPtr& stream) {
    const auto* memory = dynamic_cast<const TMemoryStream*>(stream.get());
    return memory ? memory->Data() : std::string();
}

} // namespace platform
