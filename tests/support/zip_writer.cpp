#include "support/zip_writer.hpp"

#include <zlib.h>

#include <stdexcept>

namespace ludrin::testing {
namespace {

constexpr std::uint32_t kEscape = 0xFFFFFFFF;

// Traditional PKWARE encryption, written straight from the format's description.
class Encryptor {
public:
    explicit Encryptor(const std::string& password) {
        for (char c : password) {
            Update(static_cast<std::uint8_t>(c));
        }
    }
    std::string Encrypt(const std::string& plain) {
        std::string out;
        for (char c : plain) {
            const std::uint32_t t = (keys_[2] | 2) & 0xFFFF;
            const auto k = static_cast<std::uint8_t>((t * (t ^ 1)) >> 8);
            out += static_cast<char>(static_cast<std::uint8_t>(c) ^ k);
            Update(static_cast<std::uint8_t>(c));
        }
        return out;
    }

private:
    static std::uint32_t Crc(std::uint32_t crc, std::uint8_t b) {
        crc ^= b;
        for (int i = 0; i < 8; ++i) {
            crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1u)));
        }
        return crc;
    }
    void Update(std::uint8_t b) {
        keys_[0] = Crc(keys_[0], b);
        keys_[1] = (keys_[1] + (keys_[0] & 0xFF)) * 134775813u + 1;
        keys_[2] = Crc(keys_[2], static_cast<std::uint8_t>(keys_[1] >> 24));
    }
    std::uint32_t keys_[3] = {0x12345678, 0x23456789, 0x34567890};
};

struct Written {
    std::uint64_t offset;
    std::uint32_t crc;
    std::uint64_t compressed;
    std::uint64_t size;
};

} // namespace

std::string Le16(std::uint16_t v) {
    return {static_cast<char>(v & 0xFF), static_cast<char>(v >> 8)};
}
std::string Le32(std::uint32_t v) {
    return Le16(v & 0xFFFF) + Le16(static_cast<std::uint16_t>(v >> 16));
}
std::string Le64(std::uint64_t v) {
    return Le32(static_cast<std::uint32_t>(v)) + Le32(static_cast<std::uint32_t>(v >> 32));
}

std::uint32_t Crc32(const std::string& data) {
    return static_cast<std::uint32_t>(
        crc32(0, reinterpret_cast<const Bytef*>(data.data()), static_cast<uInt>(data.size())));
}

std::string Deflate(const std::string& data, int level) {
    z_stream s{};
    if (deflateInit2(&s, level, Z_DEFLATED, -MAX_WBITS, 8, Z_DEFAULT_STRATEGY) != Z_OK) {
        throw std::runtime_error("deflateInit2");
    }
    std::string out(deflateBound(&s, static_cast<uLong>(data.size())), '\0');
    s.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(data.data()));
    s.avail_in = static_cast<uInt>(data.size());
    s.next_out = reinterpret_cast<Bytef*>(out.data());
    s.avail_out = static_cast<uInt>(out.size());
    const int result = deflate(&s, Z_FINISH);
    out.resize(s.total_out);
    deflateEnd(&s);
    if (result != Z_STREAM_END) {
        throw std::runtime_error("deflate");
    }
    return out;
}

std::string ExtraBlock(std::uint16_t id, const std::string& data) {
    return Le16(id) + Le16(static_cast<std::uint16_t>(data.size())) + data;
}

std::string UnicodeNameBlock(const std::u16string& name) {
    std::string data = "NUCX" + Le32(static_cast<std::uint32_t>(name.size()));
    for (char16_t c : name) {
        data += Le16(c);
    }
    return ExtraBlock(0x554E, data);
}

std::string AesBlock(std::uint8_t strength, std::uint16_t method) {
    return ExtraBlock(0x9901,
                      Le16(2) + "AE" + std::string(1, static_cast<char>(strength)) + Le16(method));
}

std::string RandomBytes(std::size_t size, std::uint32_t seed) {
    std::string out(size, '\0');
    std::uint32_t x = seed * 2654435761u + 1;
    for (char& c : out) {
        x ^= x << 13;
        x ^= x >> 17;
        x ^= x << 5;
        c = static_cast<char>(x);
    }
    return out;
}

std::string TextBytes(std::size_t size, std::uint32_t seed) {
    static const char* const kWords[] = {"ludrin ", "lettore ",   "archivio ", "file ",
                                         "dati ",   "cartella\n", "brenvoss ", "codec "};
    std::string out;
    std::uint32_t x = seed + 7;
    while (out.size() < size) {
        x = x * 1103515245u + 12345u;
        out += kWords[(x >> 16) % 8];
    }
    out.resize(size);
    return out;
}

ZipEntryPlan MakeEntry(const std::string& name, const std::string& data, std::uint16_t method) {
    ZipEntryPlan e;
    e.name = name;
    e.data = data;
    e.method = method;
    return e;
}

std::string WriteZip(const ZipArchivePlan& spec) {
    std::string out = spec.stub;
    const std::uint64_t base = spec.offsetsIncludeStub ? 0 : spec.stub.size();
    std::vector<Written> written;
    for (const ZipEntryPlan& e : spec.entries) {
        Written w{out.size() - base, e.crc.value_or(Crc32(e.data)), 0, e.data.size()};
        std::string body =
            e.compressedData ? *e.compressedData : (e.method == 8 ? Deflate(e.data) : e.data);
        std::uint16_t flags = e.flags;
        if (!e.password.empty()) {
            flags |= 1;
            std::string header = RandomBytes(11, static_cast<std::uint32_t>(e.data.size()));
            header += static_cast<char>(e.dataDescriptor ? (e.time >> 8) : (w.crc >> 24));
            body = Encryptor(e.password).Encrypt(header + body);
        }
        if (e.dataDescriptor) {
            flags |= 8;
        }
        w.compressed = body.size();
        const std::uint32_t localCrc = e.dataDescriptor ? 0 : w.crc;
        std::string localExtra = e.localExtra;
        if (e.zip64) {
            localExtra = ExtraBlock(1, Le64(w.size) + Le64(w.compressed)) + localExtra;
        }
        const auto localSize = [&](std::uint64_t v) -> std::uint32_t {
            return e.zip64 ? kEscape : (e.dataDescriptor ? 0 : static_cast<std::uint32_t>(v));
        };
        out += Le32(0x04034B50) + Le16(e.extractVersion) + Le16(flags) + Le16(e.method) +
               Le16(e.time) + Le16(e.date) + Le32(localCrc) + Le32(localSize(w.compressed)) +
               Le32(localSize(w.size)) + Le16(static_cast<std::uint16_t>(e.name.size())) +
               Le16(static_cast<std::uint16_t>(localExtra.size())) + e.name + localExtra + body;
        if (e.dataDescriptor) {
            out += (e.descriptorSignature ? Le32(0x08074B50) : std::string()) + Le32(w.crc) +
                   Le32(static_cast<std::uint32_t>(w.compressed)) +
                   Le32(static_cast<std::uint32_t>(w.size));
        }
        written.push_back(w);
    }
    const std::uint64_t dirStart = out.size() - base;
    for (std::size_t i = 0; i < spec.entries.size(); ++i) {
        const ZipEntryPlan& e = spec.entries[i];
        const Written& w = written[i];
        std::string extra = e.centralExtra;
        if (e.zip64) {
            extra = ExtraBlock(1, Le64(w.size) + Le64(w.compressed) + Le64(w.offset)) + extra;
        }
        std::uint16_t flags = e.flags | (e.password.empty() ? 0 : 1) | (e.dataDescriptor ? 8 : 0);
        out +=
            Le32(0x02014B50) + Le16(e.versionMadeBy) + Le16(e.extractVersion) + Le16(flags) +
            Le16(e.method) + Le16(e.time) + Le16(e.date) + Le32(w.crc) +
            Le32(e.zip64 ? kEscape
                         : e.declaredCompressedSize.value_or(
                               static_cast<std::uint32_t>(w.compressed))) +
            Le32(e.zip64 ? kEscape : e.declaredSize.value_or(static_cast<std::uint32_t>(w.size))) +
            Le16(static_cast<std::uint16_t>(e.name.size())) +
            Le16(static_cast<std::uint16_t>(extra.size())) +
            Le16(static_cast<std::uint16_t>(e.comment.size())) + Le16(0) + Le16(0) +
            Le32(e.externalAttr) + Le32(e.zip64 ? kEscape : static_cast<std::uint32_t>(w.offset)) +
            e.name + extra + e.comment;
    }
    const std::uint64_t dirSize = out.size() - base - dirStart;
    const auto count = static_cast<std::uint16_t>(spec.entries.size());
    if (spec.zip64EndRecords) {
        const std::uint64_t endAt = out.size() - base;
        if (!spec.omitZip64EndRecord) {
            out += Le32(0x06064B50) + Le64(44) + Le16(45) + Le16(45) + Le32(0) + Le32(0) +
                   Le64(spec.entries.size()) + Le64(spec.entries.size()) + Le64(dirSize) +
                   Le64(dirStart);
        }
        out += Le32(0x07064B50) + Le32(0) + Le64(endAt) + Le32(1);
    }
    const bool z = spec.zip64EndRecords;
    out +=
        Le32(0x06054B50) + Le16(0) + Le16(0) + Le16(z ? 0xFFFF : count) + Le16(z ? 0xFFFF : count) +
        Le32(z ? kEscape : static_cast<std::uint32_t>(dirSize)) +
        Le32(z ? kEscape : static_cast<std::uint32_t>(dirStart)) +
        Le16(spec.declaredCommentLength.value_or(static_cast<std::uint16_t>(spec.comment.size()))) +
        spec.comment;
    return out;
}

} // namespace ludrin::testing
