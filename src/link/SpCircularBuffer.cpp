#include "link/SpCircularBuffer.h"

#include <cstring>

namespace zmt::link {

TSpCircularBuffer::TSpCircularBuffer(std::uint32_t capacity)
    : storage_(capacity), capacity_(capacity) {}

std::uint32_t TSpCircularBuffer::Used() const {
    if (full_) return capacity_;
    if (writePos_ >= readPos_) return writePos_ - readPos_;
    return writePos_ + capacity_ - readPos_;
}

std::uint32_t TSpCircularBuffer::LinearUsed() const {
    if (full_) return capacity_ - readPos_;
    if (writePos_ >= readPos_) return writePos_ - readPos_;
    return capacity_ - readPos_;
}

std::uint32_t TSpCircularBuffer::advanced(std::uint32_t position, std::uint32_t n) const {
    return position + n < capacity_ ? position + n : position + n - capacity_;
}

bool TSpCircularBuffer::Write(const std::uint8_t* data, std::uint32_t n) {
    if (n < 1 || n > FreeSpace()) return false;
    const std::uint32_t toEnd = capacity_ - writePos_;
    if (writePos_ < readPos_ || toEnd >= n) {
        std::memcpy(storage_.data() + writePos_, data, n);
    } else {
        std::memcpy(storage_.data() + writePos_, data, toEnd);
        std::memcpy(storage_.data(), data + toEnd, n - toEnd);
    }
    writePos_ = advanced(writePos_, n);
    full_ = readPos_ == writePos_;
    return true;
}

bool TSpCircularBuffer::Remove(std::uint32_t n) {
    if (Used() < n) return false;
    readPos_ = advanced(readPos_, n);
    if (n > 0) full_ = false;
    return true;
}

void TSpCircularBuffer::Clear() {
    readPos_ = 0;
    writePos_ = 0;
    full_ = false;
}

}  // namespace zmt::link
