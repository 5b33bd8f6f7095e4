// The block loop of a read past the caches, the same on every OS.
#include "platform/uncached_file.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <new>

#include "platform/error.h"

namespace platform {

namespace {

// A buffer that cannot be had fails as any other operation of a medium does.
char* alignedBlock(size_t size, size_t alignment) {
    try {
        return static_cast<char*>(::operator new (size, std::align_val_t{alignment}));
    } catch (const std::bad_alloc&) {
        raise(err::outOfMemory);
    }
}

}  // namespace

UncachedFile::UncachedFile(uint64_t length) : length_(length) {}

void UncachedFile::Free::operator()(char* p) const {
    ::operator delete (p, std::align_val_t{alignment});
}

size_t UncachedFile::read(void* out, size_t size) {
    size_t done = 0;
    auto* dest = static_cast<char*>(out);
    while (done < size && position_ < length_) {
        char* at = dest + done;
        if (bufferPos_ == bufferLen_ && size - done >= block &&
            reinterpret_cast<uintptr_t>(at) % alignment == 0) {
            // Room for a whole block where the caller wants it: no copy through the buffer.
            const size_t n = readBlock(at, filled_);
            if (n == 0)
                break;
            filled_ += n;
            const size_t take = static_cast<size_t>(std::min<uint64_t>(n, length_ - position_));
            position_ += take;
            done += take;
            continue;
        }
        if (bufferPos_ == bufferLen_) {
            // Taken only when a read does not take whole blocks straight into its memory.
            if (!buffer_)
                buffer_.reset(alignedBlock(block, alignment));
            const size_t n = readBlock(buffer_.get(), filled_);
            if (n == 0)
                break;
            filled_ += n;
            bufferPos_ = 0;
            bufferLen_ = n;
        }
        const size_t take = std::min(
            {size - done, bufferLen_ - bufferPos_, static_cast<size_t>(length_ - position_)});
        std::memcpy(dest + done, buffer_.get() + bufferPos_, take);
        bufferPos_ += take;
        position_ += take;
        done += take;
    }
    return done;
}

void UncachedFile::write(const void*, size_t) {
    raise(err::badFileMode);
}

}  // namespace platform
