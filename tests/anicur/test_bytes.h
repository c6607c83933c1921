// Exact-size heap copies of test data, so that the address sanitizer sees
// any read past the end; and the corpus files read whole.
#pragma once
#include <cstdint>
#include <cstring>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>

namespace anitest {

class HeapBytes {
public:
    explicit HeapBytes(const std::string& bytes, size_t length = std::string::npos)
        : size_(std::min(length, bytes.size())), data_(new uint8_t[size_])
    {
        std::memcpy(data_.get(), bytes.data(), size_);
    }
    const uint8_t* data() const { return data_.get(); }
    uint8_t* data() { return data_.get(); }
    size_t size() const { return size_; }

private:
    size_t size_;
    std::unique_ptr<uint8_t[]> data_;
};

inline std::string ReadFileBytes(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

inline bool IsAnimatedCursor(const std::string& bytes)
{
    return bytes.size() >= 12 && bytes.compare(0, 4, "RIFF") == 0 && bytes.compare(8, 4, "ACON") == 0;
}

} // namespace anitest
