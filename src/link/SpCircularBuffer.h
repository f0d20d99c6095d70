#pragma once

#include <cstdint>
#include <vector>

namespace zmt::link {

// The byte ring that queues a port's output for the write thread. Empty and full both
// have the read position equal to the write position; the full flag tells them apart.
class TSpCircularBuffer {
  public:
    explicit TSpCircularBuffer(std::uint32_t capacity);

    // Stores all n bytes or none (n < 1 or n > FreeSpace()).
    bool Write(const std::uint8_t* data, std::uint32_t n);
    // Drops n bytes from the read side when that many are stored.
    bool Remove(std::uint32_t n);
    void Clear();

    std::uint32_t Capacity() const { return capacity_; }
    std::uint32_t Used() const;
    std::uint32_t FreeSpace() const { return capacity_ - Used(); }
    // Bytes stored contiguously from the read position (what one device write can take).
    std::uint32_t LinearUsed() const;
    const std::uint8_t* ReadPointer() const { return storage_.data() + readPos_; }

  private:
    std::uint32_t advanced(std::uint32_t position, std::uint32_t n) const;

    std::vector<std::uint8_t> storage_;
    std::uint32_t capacity_;
    std::uint32_t readPos_ = 0;
    std::uint32_t writePos_ = 0;
    bool full_ = false;
};

}  // namespace zmt::link
