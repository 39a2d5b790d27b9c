#include "skin/data/zlib_streams.h"

#include <zlib.h>

#include <algorithm>
#include <cstring>
#include <vector>

namespace fn {

TCustomZlibStream::TCustomZlibStream(TStream& strm) : strm_(strm), strmPos_(strm.Position()), z_(new z_stream) {
    std::memset(z_, 0, sizeof(z_stream));
}

TCustomZlibStream::~TCustomZlibStream() { delete z_; }

// ---- compression ----

TCompressionStream::TCompressionStream(TCompressionLevel level, TStream& dest) : TCustomZlibStream(dest) {
    z_->next_out = buffer_;
    z_->avail_out = sizeof buffer_;
    if (deflateInit_(z_, static_cast<int>(level), ZLIB_VERSION, static_cast<int>(sizeof(z_stream))) != Z_OK)
        throw ECompressionError(texts::ZlibCompressionError);
}

void TCompressionStream::Finish() {
    if (finished_) return;
    finished_ = true;
    z_->next_in = nullptr;
    z_->avail_in = 0;
    for (;;) {
        int rc = deflate(z_, Z_FINISH);
        if (rc != Z_OK && rc != Z_STREAM_END && rc != Z_BUF_ERROR) throw ECompressionError(texts::ZlibCompressionError);
        size_t have = sizeof buffer_ - z_->avail_out;
        if (have) {
            strm_.WriteBuffer(buffer_, have);
            z_->next_out = buffer_;
            z_->avail_out = sizeof buffer_;
        }
        if (rc == Z_STREAM_END) break;
    }
    strmPos_ = strm_.Position();
}

TCompressionStream::~TCompressionStream() {
    try {
        Finish();
    } catch (...) {
        // A destructor must not throw; callers that need the error call Finish themselves.
    }
    deflateEnd(z_);
}

size_t TCompressionStream::Read(void*, size_t) { throw ECompressionError(texts::InvalidStreamOperation); }

size_t TCompressionStream::Write(const void* buffer, size_t count) {
    if (finished_) throw ECompressionError(texts::InvalidStreamOperation);
    const uint8_t* p = static_cast<const uint8_t*>(buffer);
    size_t left = count;
    while (left > 0) {
        uInt chunk = static_cast<uInt>(std::min<size_t>(left, 1u << 30));
        z_->next_in = const_cast<Bytef*>(p);
        z_->avail_in = chunk;
        while (z_->avail_in > 0) {
            if (deflate(z_, Z_NO_FLUSH) == Z_STREAM_ERROR) throw ECompressionError(texts::ZlibCompressionError);
            if (z_->avail_out == 0) {
                strm_.WriteBuffer(buffer_, sizeof buffer_);
                z_->next_out = buffer_;
                z_->avail_out = sizeof buffer_;
            }
        }
        p += chunk;
        left -= chunk;
    }
    strmPos_ = strm_.Position();
    return count;
}

int64_t TCompressionStream::Seek(int64_t offset, SeekOrigin origin) {
    if (offset == 0 && origin == SeekOrigin::Current) return static_cast<int64_t>(z_->total_in);
    throw ECompressionError(texts::InvalidStreamOperation);
}

double TCompressionStream::CompressionRate() const {
    if (z_->total_in == 0) return 0;
    return (1.0 - static_cast<double>(z_->total_out) / static_cast<double>(z_->total_in)) * 100.0;
}

// ---- decompression ----

TDecompressionStream::TDecompressionStream(TStream& source) : TCustomZlibStream(source) {
    z_->next_in = buffer_;
    z_->avail_in = 0;
    if (inflateInit_(z_, ZLIB_VERSION, static_cast<int>(sizeof(z_stream))) != Z_OK)
        throw EDecompressionError(texts::ZlibDecompressionError);
}

TDecompressionStream::~TDecompressionStream() { inflateEnd(z_); }

size_t TDecompressionStream::Read(void* buffer, size_t count) {
    if (ended_ || count == 0) return 0;
    z_->next_out = static_cast<Bytef*>(buffer);
    z_->avail_out = static_cast<uInt>(std::min<size_t>(count, 1u << 30));
    const uInt want = z_->avail_out;
    while (z_->avail_out > 0) {
        if (z_->avail_in == 0) {
            strm_.SetPosition(strmPos_);
            size_t n = strm_.Read(buffer_, sizeof buffer_);
            if (n == 0) break;  // the data ends before its zlib stream does: stop here
            strmPos_ += static_cast<int64_t>(n);
            z_->next_in = buffer_;
            z_->avail_in = static_cast<uInt>(n);
        }
        int rc = inflate(z_, Z_NO_FLUSH);
        if (rc == Z_STREAM_END) {
            ended_ = true;
            break;
        }
        if (rc == Z_BUF_ERROR) continue;  // needs input: refilled above or ends
        if (rc != Z_OK) throw EDecompressionError(texts::ZlibDecompressionError);
    }
    return want - z_->avail_out;
}

size_t TDecompressionStream::Write(const void*, size_t) { throw EDecompressionError(texts::InvalidStreamOperation); }

int64_t TDecompressionStream::Seek(int64_t offset, SeekOrigin origin) {
    const int64_t pos = static_cast<int64_t>(z_->total_out);
    if (offset == 0 && origin == SeekOrigin::Beginning) {
        if (inflateReset(z_) != Z_OK) throw EDecompressionError(texts::ZlibDecompressionError);
        z_->next_in = buffer_;
        z_->avail_in = 0;
        ended_ = false;
        strmPos_ = 0;
        strm_.SetPosition(0);
        return 0;
    }
    int64_t target;
    if (origin == SeekOrigin::Current && offset >= 0) target = pos + offset;
    else if (origin == SeekOrigin::Beginning && offset >= pos) target = offset;
    else throw EDecompressionError(texts::InvalidStreamOperation);
    uint8_t scratch[ZlibBufferSize];
    while (static_cast<int64_t>(z_->total_out) < target) {
        size_t n = Read(scratch, static_cast<size_t>(std::min<int64_t>(target - static_cast<int64_t>(z_->total_out),
                                                                         sizeof scratch)));
        if (n == 0) break;
    }
    return static_cast<int64_t>(z_->total_out);
}

int64_t TDecompressionStream::Size() { throw EDecompressionError(texts::InvalidStreamOperation); }

// ---- stream operations ----

void CompressStream(TStream& source, TStream& target) {
    source.SetPosition(0);
    TCompressionStream z(TCompressionLevel::clMax, target);
    uint8_t buffer[65536];
    for (;;) {
        size_t n = source.Read(buffer, sizeof buffer);
        if (n == 0) break;
        z.Write(buffer, n);
    }
    z.Finish();
}

void DecompressStream(TStream& source, TStream& target, int64_t maxSize) {
    source.SetPosition(0);
    TDecompressionStream z(source);
    auto tooLarge = [] { return EDecompressionError(texts::ZlibDecompressionError); };
    // Straight into a memory stream's storage, sized from the compressed size (deflate rarely
    // shrinks a skin more than 32 times) and doubled when that is not enough. (A target with
    // bytes after its position takes the general path, which keeps them.)
    if (auto* mem = dynamic_cast<TMemoryStream*>(&target); mem && mem->Position() == mem->Size()) {
        const int64_t start = mem->Position();
        int64_t done = 0;
        int64_t room = std::min(std::clamp<int64_t>(source.Size() * 32, 65536, int64_t(64) << 20), maxSize + 1);
        for (;;) {
            mem->SetSizeUnfilled(start + room);
            const size_t want = static_cast<size_t>(room - done);
            const size_t n = z.Read(mem->Memory() + start + done, want);
            done += static_cast<int64_t>(n);
            if (n < want) break;
            if (done > maxSize) {
                mem->SetSizeUnfilled(start);
                throw tooLarge();
            }
            room = std::min(room * 2, maxSize + 1);
        }
        mem->SetSizeUnfilled(start + done);
        mem->SetPosition(start + done);
        return;
    }
    uint8_t buffer[65536];
    int64_t done = 0;
    for (;;) {
        size_t n = z.Read(buffer, sizeof buffer);
        if (n == 0) break;
        done += static_cast<int64_t>(n);
        if (done > maxSize) throw tooLarge();
        target.WriteBuffer(buffer, n);
    }
}

}  // namespace fn
