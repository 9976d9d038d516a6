#pragma once

#include <array>
#include <streambuf>

namespace quillmark::cli {

// A stream buffer over a file descriptor that remembers why a write failed, so that output
// lost to a full disk or a closed stream is reported instead of passing for success.
class DescriptorOutput final : public std::streambuf {
public:
    explicit DescriptorOutput(int descriptor);
    ~DescriptorOutput() override;
    DescriptorOutput(const DescriptorOutput&) = delete;
    DescriptorOutput& operator=(const DescriptorOutput&) = delete;

    // Writes what is buffered; throws RuntimeError ("cannot write output: ...") for the first
    // failure of anything written so far.
    void Finish();

protected:
    int_type overflow(int_type c) override;
    std::streamsize xsputn(const char* text, std::streamsize count) override;
    int sync() override;

private:
    bool WriteAll(const char* text, std::size_t count);
    bool Drain();

    int descriptor_;
    int error_ = 0;
    std::array<char, 1 << 16> buffer_{};
};

} // namespace quillmark::cli
