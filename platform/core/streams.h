#pragma once
// Byte streams of the class-library layer (portable): the abstract stream, a growable memory
// stream and a file stream. Positions and sizes are 64-bit.
#include <cstdint>
#include <cstdio>
#include <vector>

#include "platform/core/raw_buffer.h"
#include "platform/core/exceptions.h"

namespace fn {

enum class SeekOrigin { Beginning, Current, End };

class TStream {
public:
    virtual ~TStream() = default;
    // Reads up to count bytes; returns how many were read (0 at the end).
    virtual size_t Read(void* buffer, size_t count) = 0;
    // Writes up to count bytes; returns how many were written.
    virtual size_t Write(const void* buffer, size_t count) = 0;
    virtual int64_t Seek(int64_t offset, SeekOrigin origin) = 0;
    virtual int64_t Size();
    virtual void SetSize(int64_t size);

    int64_t Position() { return Seek(0, SeekOrigin::Current); }
    void SetPosition(int64_t pos) { Seek(pos, SeekOrigin::Beginning); }
    int64_t Remaining() { return Size() - Position(); }

    // Read or write exactly count bytes, else EReadError / EWriteError.
    void ReadBuffer(void* buffer, size_t count);
    void WriteBuffer(const void* buffer, size_t count);
    // Copies count bytes from source at its position (count 0: all of source from its start).
    int64_t CopyFrom(TStream& source, int64_t count);

    int32_t ReadInt32();
    uint8_t ReadByte();
    void WriteInt32(int32_t value);
    void WriteByte(uint8_t value);
};

class TMemoryStream : public TStream {
public:
    size_t Read(void* buffer, size_t count) override;
    size_t Write(const void* buffer, size_t count) override;
    int64_t Seek(int64_t offset, SeekOrigin origin) override;
    int64_t Size() override { return static_cast<int64_t>(data_.size()); }
    // Grows with zero bytes or cuts; the position stays within the new size.
    void SetSize(int64_t size) override;
    // As SetSize, but bytes added are left unwritten: for a caller that fills them (or cuts
    // the size back to what it filled) before anything reads them.
    void SetSizeUnfilled(int64_t size);

    void Clear() { data_.clear(); data_.shrink_to_fit(); pos_ = 0; }
    uint8_t* Memory() { return data_.data(); }
    const uint8_t* Memory() const { return data_.data(); }
    size_t Length() const { return data_.size(); }  // Size() of a const stream
    // A copy of the stream's bytes.
    std::vector<uint8_t> Bytes() const { return std::vector<uint8_t>(data_.begin(), data_.end()); }
    void LoadFromStream(TStream& source);
    void LoadFromFile(const String& path);
    void SaveToStream(TStream& target) const;
    void SaveToFile(const String& path) const;

private:
    RawVector<uint8_t> data_;
    size_t pos_ = 0;
};

// A stream over a caller's bytes, read-only; the bytes must outlive the stream.
class TBytesStream : public TStream {
public:
    TBytesStream(const void* data, size_t size) : data_(static_cast<const uint8_t*>(data)), size_(size) {}
    size_t Read(void* buffer, size_t count) override;
    size_t Write(const void*, size_t) override { return 0; }
    int64_t Seek(int64_t offset, SeekOrigin origin) override;
    int64_t Size() override { return static_cast<int64_t>(size_); }
    const uint8_t* Memory() const { return data_; }

private:
    const uint8_t* data_;
    size_t size_;
    size_t pos_ = 0;
};

enum class FileMode { OpenRead, Create, OpenReadWrite };

class TFileStream : public TStream {
public:
    // Raises EFOpenError ("Datei %s kann nicht geöffnet werden. %s") or EFCreateError.
    TFileStream(const String& path, FileMode mode);
    ~TFileStream() override;
    TFileStream(const TFileStream&) = delete;
    TFileStream& operator=(const TFileStream&) = delete;

    size_t Read(void* buffer, size_t count) override;
    size_t Write(const void* buffer, size_t count) override;
    int64_t Seek(int64_t offset, SeekOrigin origin) override;
    // Flushes and closes; raises EWriteError when buffered data cannot be written.
    void Close();
    const String& FileName() const { return path_; }

private:
    String path_;
    std::FILE* file_ = nullptr;
};

// Reads a whole file into memory (EFOpenError / EReadError on failure).
std::vector<uint8_t> ReadFileBytes(const String& path);

}  // namespace fn
