#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <utility>
#include <vector>

namespace quillmark {

// Where each line of a text starts, four bytes a line: a module of short lines would otherwise
// spend more on its line index than on its text. Offsets are kept modulo 4 GiB, with the lines
// from which they wrap once more.
class LineStarts {
public:
    std::size_t Count() const { return low_.size(); }
    void Reserve(std::size_t lines) { low_.reserve(lines); }

    // Starts come in ascending order.
    void Add(std::size_t start)
    {
        if (start >= nextWrap_) [[unlikely]]
            Wrap(start);
        low_.push_back(static_cast<std::uint32_t>(start));
    }

    std::size_t operator[](std::size_t line) const { return wraps_.empty() ? low_[line] : Wrapped(line); }

    // Where line starts, and where the one after it does.
    std::pair<std::size_t, std::size_t> StartAndNext(std::size_t line) const
    {
        if (wraps_.empty()) [[likely]]
            return {low_[line], low_[line + 1]};
        return {Wrapped(line), Wrapped(line + 1)};
    }

private:
    static constexpr std::uint64_t FourGiB = std::uint64_t{1} << 32; // only reached where size_t holds it

    std::size_t Wrapped(std::size_t line) const
    {
        const auto wraps =
            static_cast<std::size_t>(std::upper_bound(wraps_.begin(), wraps_.end(), line) - wraps_.begin());
        return static_cast<std::size_t>(low_[line] + (std::uint64_t{wraps} << 32));
    }

    void Wrap(std::size_t start)
    {
        while (start >= nextWrap_) {
            wraps_.push_back(low_.size());
            nextWrap_ += FourGiB;
        }
    }

    std::vector<std::uint32_t> low_;
    std::vector<std::size_t> wraps_; // ascending: lines from which each further 4 GiB starts
    std::uint64_t nextWrap_ = FourGiB;
};

} // namespace quillmark
