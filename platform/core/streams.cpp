#include "platform/core/files.h"
#include "platform/core/library_texts.h"
#include "platform/core/streams.h"

#include <algorithm>
#include <cstring>
#include <limits>

namespace fn {

int64_t TStream::Size() {
    int64_t pos = Seek(0, SeekOrigin::Current);
    int64_t end = Seek(0, SeekOrigin::End);
    Seek(pos, SeekOrigin::Beginning);
    return end;
}

void TStream::SetSize(int64_t) { throw EStreamError(L"Ungültige Stream-Operation"); }

void TStream::ReadBuffer(void* buffer, size_t count) {
    auto* p = static_cast<uint8_t*>(buffer);
    while (count > 0) {
        size_t n = Read(p, count);
        if (n == 0) throw EReadError(texts::ReadError);
        p += n;
        count -= n;
    }
}

void TStream::WriteBuffer(const void* buffer, size_t count) {
    if (count > 0 && Write(buffer, count) != count) throw EWriteError(texts::WriteError);
}

int64_t TStream::CopyFrom(TStream& source, int64_t count) {
    if (count == 0) {
        source.SetPosition(0);
        count = source.Size();
    }
    uint8_t buffer[65536];
    int64_t left = count;
    while (left > 0) {
        size_t n = static_cast<size_t>(std::min<int64_t>(left, sizeof buffer));
        source.ReadBuffer(buffer, n);
        WriteBuffer(buffer, n);
        left -= static_cast<int64_t>(n);
    }
    return count;
}

int32_t TStream::ReadInt32() {
    uint8_t b[4];
    ReadBuffer(b, 4);
    return static_cast<int32_t>(uint32_t(b[0]) | uint32_t(b[1]) << 8 | uint32_t(b[2]) << 16 | uint32_t(b[3]) << 24);
}

uint8_t TStream::ReadByte() {
    uint8_t b;
    ReadBuffer(&b, 1);
    return b;
}

void TStream::WriteInt32(int32_t value) {
    uint32_t v = static_cast<uint32_t>(value);
    uint8_t b[4] = {uint8_t(v), uint8_t(v >> 8), uint8_t(v >> 16), uint8_t(v >> 24)};
    WriteBuffer(b, 4);
}

void TStream::WriteByte(uint8_t value) { WriteBuffer(&value, 1); }

// Clamps a seek target into [0, limit] semantics shared by the memory streams.
static int64_t SeekTarget(int64_t pos, int64_t size, int64_t offset, SeekOrigin origin) {
    int64_t base = origin == SeekOrigin::Beginning ? 0 : origin == SeekOrigin::Current ? pos : size;
    int64_t target = base + offset;
    return target < 0 ? 0 : target;
}

size_t TMemoryStream::Read(void* buffer, size_t count) {
    if (pos_ >= data_.size()) return 0;
    size_t n = std::min(count, data_.size() - pos_);
    std::memcpy(buffer, data_.data() + pos_, n);
    pos_ += n;
    return n;
}

size_t TMemoryStream::Write(const void* buffer, size_t count) {
    if (count == 0) return 0;
    size_t end = pos_ + count;
    if (end > data_.size()) {
        if (end > data_.capacity()) data_.reserve(std::max(end, data_.capacity() * 2));
        const size_t old = data_.size();
        data_.resize(end);
        // A position past the end leaves a gap: it reads as zero bytes.
        if (pos_ > old) std::memset(data_.data() + old, 0, pos_ - old);
    }
    std::memcpy(data_.data() + pos_, buffer, count);
    pos_ = end;
    return count;
}

int64_t TMemoryStream::Seek(int64_t offset, SeekOrigin origin) {
    pos_ = static_cast<size_t>(SeekTarget(static_cast<int64_t>(pos_), Size(), offset, origin));
    return static_cast<int64_t>(pos_);
}

void TMemoryStream::SetSize(int64_t size) {
    const size_t old = data_.size();
    SetSizeUnfilled(size);
    if (data_.size() > old) std::memset(data_.data() + old, 0, data_.size() - old);
}

void TMemoryStream::SetSizeUnfilled(int64_t size) {
    data_.resize(static_cast<size_t>(std::max<int64_t>(size, 0)));
    pos_ = std::min(pos_, data_.size());
}

void TMemoryStream::LoadFromStream(TStream& source) {
    source.SetPosition(0);
    int64_t n = source.Size();
    data_.resize(static_cast<size_t>(n));
    pos_ = 0;
    if (n > 0) source.ReadBuffer(data_.data(), data_.size());
}

void TMemoryStream::LoadFromFile(const String& path) {
    auto bytes = ReadFileBytes(path);
    data_.assign(bytes.begin(), bytes.end());
    pos_ = 0;
}

void TMemoryStream::SaveToStream(TStream& target) const {
    if (!data_.empty()) target.WriteBuffer(data_.data(), data_.size());
}

void TMemoryStream::SaveToFile(const String& path) const {
    TFileStream f(path, FileMode::Create);
    SaveToStream(f);
    f.Close();
}

size_t TBytesStream::Read(void* buffer, size_t count) {
    if (pos_ >= size_) return 0;
    size_t n = std::min(count, size_ - pos_);
    std::memcpy(buffer, data_ + pos_, n);
    pos_ += n;
    return n;
}

int64_t TBytesStream::Seek(int64_t offset, SeekOrigin origin) {
    pos_ = static_cast<size_t>(SeekTarget(static_cast<int64_t>(pos_), Size(), offset, origin));
    return static_cast<int64_t>(pos_);
}

static std::FILE* OpenFile(const String& path, const wchar_t* mode) {
#ifdef _WIN32
    return _wfopen(path.c_str(), mode);
#else
    return std::fopen(WideToUtf8(path).c_str(), WideToUtf8(mode).c_str());
#endif
}

TFileStream::TFileStream(const String& path, FileMode mode) : path_(path) {
    const wchar_t* m = mode == FileMode::OpenRead ? L"rb" : mode == FileMode::Create ? L"wb" : L"r+b";
    file_ = OpenFile(path, m);
    if (!file_) {
        String reason = LastErrorText();
        if (mode == FileMode::Create) throw EFCreateError(Format(texts::FCreateError, {path, reason}));
        throw EFOpenError(Format(texts::FOpenError, {path, reason}));
    }
}

TFileStream::~TFileStream() {
    if (file_) std::fclose(file_);
}

void TFileStream::Close() {
    if (!file_) return;
    bool ok = std::fflush(file_) == 0;
    ok = std::fclose(file_) == 0 && ok;
    file_ = nullptr;
    if (!ok) throw EWriteError(texts::WriteError);
}

size_t TFileStream::Read(void* buffer, size_t count) { return file_ ? std::fread(buffer, 1, count, file_) : 0; }
size_t TFileStream::Write(const void* buffer, size_t count) { return file_ ? std::fwrite(buffer, 1, count, file_) : 0; }

int64_t TFileStream::Seek(int64_t offset, SeekOrigin origin) {
    if (!file_) return 0;
    int whence = origin == SeekOrigin::Beginning ? SEEK_SET : origin == SeekOrigin::Current ? SEEK_CUR : SEEK_END;
#ifdef _WIN32
    _fseeki64(file_, offset, whence);
    return _ftelli64(file_);
#else
    fseeko(file_, offset, whence);
    return ftello(file_);
#endif
}

std::vector<uint8_t> ReadFileBytes(const String& path) {
    TFileStream f(path, FileMode::OpenRead);
    int64_t size = f.Size();
    std::vector<uint8_t> bytes(static_cast<size_t>(size));
    if (size > 0) f.ReadBuffer(bytes.data(), bytes.size());
    return bytes;
}

}  // namespace fn
