#pragma once
// The compression unit of the stored-skin archive: zlib streams over another
// stream through a fixed 4,096-byte buffer, level 9 compression. Portable.
#include <cstdint>

#include "platform/core/streams.h"

struct z_stream_s;

namespace fn {

class EZlibError : public Exception { using Exception::Exception; };
class ECompressionError : public EZlibError { using EZlibError::EZlibError; };      // "error"
class EDecompressionError : public EZlibError { using EZlibError::EZlibError; };    // "compression error"

namespace texts {
inline constexpr const wchar_t* ZlibCompressionError = L"error";
inline constexpr const wchar_t* ZlibDecompressionError = L"compression error";
inline constexpr const wchar_t* InvalidStreamOperation = L"Invalid stream operation";
}  // namespace texts

inline constexpr size_t ZlibBufferSize = 4096;

// A stream over another stream (which it does not own), working through a 4,096-byte buffer.
class TCustomZlibStream : public TStream {
public:
    ~TCustomZlibStream() override;
    TCustomZlibStream(const TCustomZlibStream&) = delete;
    TCustomZlibStream& operator=(const TCustomZlibStream&) = delete;

protected:
    explicit TCustomZlibStream(TStream& strm);
    TStream& strm_;
    int64_t strmPos_;
    z_stream_s* z_;
    uint8_t buffer_[ZlibBufferSize];
};

enum class TCompressionLevel { clNone = 0, clFastest = 1, clDefault = 6, clMax = 9 };

// Compresses what is written to it into the destination; the zlib stream is completed when
// the compression stream is destroyed (or Finish is called).
class TCompressionStream : public TCustomZlibStream {
public:
    TCompressionStream(TCompressionLevel level, TStream& dest);
    ~TCompressionStream() override;
    size_t Read(void* buffer, size_t count) override;          // Invalid stream operation
    size_t Write(const void* buffer, size_t count) override;
    int64_t Seek(int64_t offset, SeekOrigin origin) override;  // only asking the position
    int64_t Size() override { return Seek(0, SeekOrigin::Current); }
    // Writes the rest of the zlib stream (Z_FINISH); later writes are invalid.
    void Finish();
    // Compressed size relative to the bytes written, in percent (as the class library reports).
    double CompressionRate() const;

private:
    bool finished_ = false;
};

// Decompresses the source's zlib stream as it is read. Truncated data ends the stream at the
// bytes decompressed so far; bytes after the zlib stream are ignored.
class TDecompressionStream : public TCustomZlibStream {
public:
    explicit TDecompressionStream(TStream& source);
    ~TDecompressionStream() override;
    size_t Read(void* buffer, size_t count) override;
    size_t Write(const void* buffer, size_t count) override;   // Invalid stream operation
    // Forward (decompressing and discarding) or back to the start; anything else is invalid.
    int64_t Seek(int64_t offset, SeekOrigin origin) override;
    int64_t Size() override;  // Invalid stream operation: the size is not known in advance

private:
    bool ended_ = false;
};

// Rewinds source and writes the zlib stream of all its bytes at level 9 to target.
void CompressStream(TStream& source, TStream& target);
// No skin archive comes near this size; a zlib stream that unpacks to more (a few hundred
// kilobytes of deflate can) is refused before it fills memory.
inline constexpr int64_t MaxDecompressedSize = int64_t(256) << 20;
// Rewinds source and writes the decompressed bytes to target until the end of the zlib
// stream. More than maxSize bytes raise EDecompressionError, with nothing more written.
void DecompressStream(TStream& source, TStream& target, int64_t maxSize = MaxDecompressedSize);

}  // namespace fn
