#include "tests/support/zip_parts.h"

#include <zlib.h>

#include <stdexcept>

#include "tests/support/temp_dir.h"

namespace talvers::testing {
namespace {

void put16(std::string& out, unsigned value) {
    out += static_cast<char>(value & 0xFF);
    out += static_cast<char>(value >> 8 & 0xFF);
}
void put32(std::string& out, unsigned long value) {
    put16(out, value & 0xFFFF);
    put16(out, value >> 16 & 0xFFFF);
}
unsigned long get(const std::string& in, size_t at, int bytes) {
    if (at + bytes > in.size()) throw std::runtime_error("zip cortado");
    unsigned long value = 0;
    for (int i = bytes - 1; i >= 0; --i)
        value = value << 8 | static_cast<unsigned char>(in[at + i]);
    return value;
}

std::string inflated(const std::string& packed, size_t size) {
    std::string out(size, '\0');
    z_stream stream{};
    inflateInit2(&stream, -MAX_WBITS);
    stream.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(packed.data()));
    stream.avail_in = static_cast<uInt>(packed.size());
    stream.next_out = reinterpret_cast<Bytef*>(out.data());
    stream.avail_out = static_cast<uInt>(out.size());
    const int result = inflate(&stream, Z_FINISH);
    inflateEnd(&stream);
    if (result != Z_STREAM_END) throw std::runtime_error("parte danificada");
    return out;
}

}  // namespace

ZipParts zipParts(const std::filesystem::path& file) {
    const std::string zip = fileBytes(file);
    const size_t end = zip.rfind(std::string("PK\x05\x06", 4));
    if (end == std::string::npos) throw std::runtime_error("sem índice");
    const unsigned long count = get(zip, end + 10, 2);
    size_t at = get(zip, end + 16, 4);
    ZipParts parts;
    for (unsigned long i = 0; i < count; ++i) {
        const unsigned long method = get(zip, at + 10, 2);
        const unsigned long packedSize = get(zip, at + 20, 4);
        const unsigned long size = get(zip, at + 24, 4);
        const size_t nameSize = get(zip, at + 28, 2);
        const size_t extra = get(zip, at + 30, 2) + get(zip, at + 32, 2);
        const size_t local = get(zip, at + 42, 4);
        std::string name = zip.substr(at + 46, nameSize);
        const size_t data = local + 30 + get(zip, local + 26, 2) + get(zip, local + 28, 2);
        const std::string packed = zip.substr(data, packedSize);
        parts.emplace_back(std::move(name), method == 0 ? packed : inflated(packed, size));
        at += 46 + nameSize + extra;
    }
    return parts;
}

std::string storedZip(const ZipParts& parts) {
    std::string file;
    std::string index;
    for (const auto& [name, data] : parts) {
        const unsigned long crc =
            crc32(0, reinterpret_cast<const Bytef*>(data.data()), static_cast<uInt>(data.size()));
        const unsigned long offset = file.size();
        put32(file, 0x04034b50);
        put16(file, 20), put16(file, 0), put16(file, 0), put16(file, 0), put16(file, 0);
        put32(file, crc), put32(file, data.size()), put32(file, data.size());
        put16(file, name.size()), put16(file, 0);
        file += name + data;
        put32(index, 0x02014b50);
        put16(index, 20), put16(index, 20), put16(index, 0), put16(index, 0);
        put16(index, 0), put16(index, 0);
        put32(index, crc), put32(index, data.size()), put32(index, data.size());
        put16(index, name.size()), put16(index, 0), put16(index, 0), put16(index, 0);
        put16(index, 0), put32(index, 0), put32(index, offset);
        index += name;
    }
    const unsigned long start = file.size();
    file += index;
    put32(file, 0x06054b50);
    put16(file, 0), put16(file, 0), put16(file, parts.size()), put16(file, parts.size());
    put32(file, index.size()), put32(file, start), put16(file, 0);
    return file;
}

}  // namespace talvers::testing
