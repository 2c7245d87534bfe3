// Unpacking of the packed blocks: into a whole buffer, piece by piece, or only counted.

#include "store/block_packer.hpp"
#include "store/store_error.hpp"

#include <algorithm>
#include <cstring>
#include <string>

namespace ludrin::store {
namespace {

std::size_t Get16(const std::uint8_t* p) {
    return static_cast<std::size_t>(p[0]) | (static_cast<std::size_t>(p[1]) << 8);
}

[[noreturn]] void Damaged(std::size_t blockIndex, const std::string& what) {
    throw EStoreError("packed block " + std::to_string(blockIndex) + ": " + what);
}

// Writes into the destination with the room checked once per literal stretch or run.
class Output {
public:
    Output(std::span<std::uint8_t> destination, std::size_t blockIndex)
        : out_(destination.data()), end_(destination.data() + destination.size()),
          block_(blockIndex) {}

    // Empty stretches are skipped: the destination may be a null span of an empty file.
    void Copy(const std::uint8_t* from, std::size_t count) {
        if (count == 0) {
            return;
        }
        Room(count);
        std::memcpy(out_, from, count);
        out_ += count;
    }
    void Fill(std::uint8_t value, std::size_t count) {
        Room(count);
        std::memset(out_, value, count);
        out_ += count;
    }
    std::uint8_t* Position() const { return out_; }

private:
    void Room(std::size_t count) const {
        if (count > static_cast<std::size_t>(end_ - out_)) {
            Damaged(block_, "unpacks to more bytes than the file's size");
        }
    }

    std::uint8_t* out_;
    std::uint8_t* end_;
    std::size_t block_;
};

// Counts what the blocks would produce, with the same limit, and writes nothing: the
// whole check of a file's blocks without room for the file.
class CountingSink {
public:
    explicit CountingSink(std::uint64_t limit) : limit_(limit) {}
    void Copy(const std::uint8_t*, std::size_t count) { Add(count); }
    void Fill(std::uint8_t, std::size_t count) { Add(count); }
    std::uint64_t Produced() const { return produced_; }
    std::size_t block = 0;

private:
    void Add(std::size_t count) {
        if (count > limit_ - produced_) {
            Damaged(block, "unpacks to more bytes than the file's size");
        }
        produced_ += count;
    }

    std::uint64_t limit_;
    std::uint64_t produced_ = 0;
};

// Gathers the output in one chunk-sized piece and hands each full piece, and each block's
// last one, to the sink: memory stays one piece whatever a block or a file unpacks to.
class PieceOutput {
public:
    PieceOutput(std::uint64_t limit, const UnpackSink& sink) : counter_(limit), sink_(sink) {}

    void Copy(const std::uint8_t* from, std::size_t count) {
        Count(count);
        while (count > 0) {
            const std::size_t step = std::min(count, piece_.size() - used_);
            std::memcpy(piece_.data() + used_, from, step);
            Advance(step);
            from += step;
            count -= step;
        }
    }
    void Fill(std::uint8_t value, std::size_t count) {
        Count(count);
        while (count > 0) {
            const std::size_t step = std::min(count, piece_.size() - used_);
            std::memset(piece_.data() + used_, value, step);
            Advance(step);
            count -= step;
        }
    }
    void EndBlock() {
        if (used_ > 0) {
            sink_(counter_.block, std::span<const std::uint8_t>(piece_.data(), used_));
            used_ = 0;
        }
    }
    std::uint64_t Produced() const { return counter_.Produced(); }
    void StartBlock(std::size_t index) { counter_.block = index; }

private:
    void Count(std::size_t count) {
        if (count != 0) {
            counter_.Copy(nullptr, count);
        }
    }
    void Advance(std::size_t step) {
        used_ += step;
        if (used_ == piece_.size()) {
            EndBlock();
        }
    }

    CountingSink counter_;
    const UnpackSink& sink_;
    std::vector<std::uint8_t> piece_ = std::vector<std::uint8_t>(kChunkSize);
    std::size_t used_ = 0;
};

// A run's count L - 1 at `at`: one byte, or a 0 byte and 16 bits after it, all before
// `end`. Moves `at` past it; `record` is where the run's record starts, for the error.
std::size_t RunCount(const std::uint8_t* block, std::size_t& at, std::size_t end,
                     std::size_t record, std::size_t blockIndex) {
    const std::size_t count = block[at++];
    if (count != 0) {
        return count;
    }
    if (end - at < 2) {
        Damaged(blockIndex,
                "long run record at offset " + std::to_string(record) + " is cut short");
    }
    at += 2;
    return Get16(block + at - 2);
}

template <typename Out>
void UnpackEscapeBlock(const std::uint8_t* block, std::size_t length, std::uint8_t escape,
                       Out& output, std::size_t blockIndex) {
    std::size_t at = 2;
    while (at < length) {
        const void* found = std::memchr(block + at, escape, length - at);
        const std::size_t stop =
            found == nullptr
                ? length
                : static_cast<std::size_t>(static_cast<const std::uint8_t*>(found) - block);
        output.Copy(block + at, stop - at);
        if (found == nullptr) {
            break;
        }
        at = stop + 1;
        if (length - at < 2) {
            Damaged(blockIndex, "run record at offset " + std::to_string(stop) + " is cut short");
        }
        const std::uint8_t fill = block[at++];
        output.Fill(fill, RunCount(block, at, length, stop, blockIndex) + 1);
    }
}

template <typename Out>
void UnpackTableBlock(const std::uint8_t* block, std::size_t length, std::size_t tableStart,
                      Out& output, std::size_t blockIndex) {
    if (tableStart > length) {
        Damaged(blockIndex, "position table at offset " + std::to_string(tableStart) +
                                " lies beyond the block's end at " + std::to_string(length));
    }
    if ((length - tableStart) % 2 != 0) {
        Damaged(blockIndex, "position table has an odd length of " +
                                std::to_string(length - tableStart) + " bytes");
    }
    std::size_t at = 2;
    for (std::size_t entry = length; entry > tableStart; entry -= 2) {
        const std::size_t position = Get16(block + entry - 2);
        // The run's byte must lie at or after the current body position, its count in the body.
        if (position < at + 1 || position >= tableStart) {
            Damaged(blockIndex, "run position " + std::to_string(position) +
                                    " does not lie between body offset " + std::to_string(at) +
                                    " and the table at " + std::to_string(tableStart));
        }
        output.Copy(block + at, position - 1 - at);
        const std::uint8_t fill = block[position - 1];
        at = position;
        output.Fill(fill, RunCount(block, at, tableStart, position, blockIndex) + 1);
    }
    output.Copy(block + at, tableStart - at);
}

// Walks the framing of a block sequence, giving each block's bytes to `visit`.
template <typename Visit> void ForEachBlock(std::span<const std::uint8_t> source, Visit visit) {
    std::size_t at = 0;
    for (std::size_t index = 0; at < source.size(); ++index) {
        if (source.size() - at < 2) {
            Damaged(index, "its length field is cut short at the end of the packed data");
        }
        const std::size_t length = Get16(source.data() + at);
        at += 2;
        if (length > source.size() - at) {
            Damaged(index, "its length of " + std::to_string(length) + " bytes runs past the end " +
                               "of the packed data (" + std::to_string(source.size() - at) +
                               " bytes left)");
        }
        if (length < 2) {
            Damaged(index, "a block of " + std::to_string(length) + " bytes has no header");
        }
        visit(source.data() + at, length, index);
        at += length;
    }
}

template <typename Out>
void UnpackBlock(const std::uint8_t* block, std::size_t length, Out& output, std::size_t index) {
    const std::size_t header = Get16(block);
    if (header < 256) {
        UnpackEscapeBlock(block, length, static_cast<std::uint8_t>(header), output, index);
    } else {
        UnpackTableBlock(block, length, header, output, index);
    }
}

} // namespace

std::size_t SFUnpack(std::span<const std::uint8_t> source, std::span<std::uint8_t> destination) {
    std::uint8_t* const start = destination.data();
    std::size_t produced = 0;
    ForEachBlock(source, [&](const std::uint8_t* block, std::size_t length, std::size_t index) {
        Output output(destination.subspan(produced), index);
        UnpackBlock(block, length, output, index);
        produced = static_cast<std::size_t>(output.Position() - start);
    });
    return produced;
}

std::size_t BlockStretchEnd(std::span<const std::uint8_t> source, std::size_t start,
                            std::size_t bytes) {
    std::size_t at = start;
    while (at < source.size() && at - start < bytes) {
        if (source.size() - at < 2) {
            return source.size();
        }
        const std::size_t length = Get16(source.data() + at);
        at = length > source.size() - at - 2 ? source.size() : at + 2 + length;
    }
    return at;
}

void ForEachStretch(std::span<const std::uint8_t> source, std::size_t bytes,
                    const std::function<void(std::span<const std::uint8_t>)>& visit) {
    for (std::size_t start = 0; start < source.size();) {
        const std::size_t end = BlockStretchEnd(source, start, bytes);
        visit(source.subspan(start, end - start));
        start = end;
    }
}

BlockCounts CountBlocks(std::span<const std::uint8_t> source) {
    BlockCounts counts;
    ForEachBlock(source, [&](const std::uint8_t* block, std::size_t, std::size_t) {
        ++(Get16(block) < 256 ? counts.escape : counts.positionTable);
    });
    return counts;
}

std::uint64_t SFMeasure(std::span<const std::uint8_t> source, std::uint64_t limit) {
    CountingSink output(limit);
    ForEachBlock(source, [&](const std::uint8_t* block, std::size_t length, std::size_t index) {
        output.block = index;
        UnpackBlock(block, length, output, index);
    });
    return output.Produced();
}

std::uint64_t SFUnpackPieces(std::span<const std::uint8_t> source, std::uint64_t limit,
                             const UnpackSink& sink) {
    PieceOutput output(limit, sink);
    ForEachBlock(source, [&](const std::uint8_t* block, std::size_t length, std::size_t index) {
        output.StartBlock(index);
        UnpackBlock(block, length, output, index);
        output.EndBlock();
    });
    return output.Produced();
}

} // namespace ludrin::store
