#include "shell/files/zip_check.h"

#include <zlib.h>

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstring>
#include <system_error>
#include <thread>
#include <utility>
#include <vector>

#include "shell/files/chunk_pipe.h"
#include "shell/files/file_error.h"
#include "shell/files/xml_check.h"

namespace talvers {
namespace {

constexpr uint32_t kEndSignature = 0x06054b50;
constexpr uint32_t kCentralSignature = 0x02014b50;
constexpr uint32_t kLocalSignature = 0x04034b50;
constexpr uint32_t kDescriptorSignature = 0x08074b50;
constexpr size_t kDescriptorSize = 16;
constexpr size_t kEndSize = 22;
constexpr size_t kCentralSize = 46;
constexpr size_t kLocalSize = 30;
constexpr size_t kMaxComment = 0xFFFF;
constexpr uint16_t kDataDescriptorFlag = 0x08;

uint16_t le16(const unsigned char* p) {
    return static_cast<uint16_t>(p[0] | p[1] << 8);
}
uint32_t le32(const unsigned char* p) {
    return static_cast<uint32_t>(p[0]) | static_cast<uint32_t>(p[1]) << 8 |
           static_cast<uint32_t>(p[2]) << 16 | static_cast<uint32_t>(p[3]) << 24;
}

struct Problem {
    std::string reason;
};

// Reads exactly `size` bytes at `offset`, or reports a cut file or a failed read.
void readAt(ByteSource& file, uint64_t offset, unsigned char* into, size_t size) {
    try {
        file.readAt(offset, into, size);
    } catch (const FileError& failure) {
        throw Problem{failure.number() == EIO ? failure.description()
                                              : "falhou a leitura: " + failure.description()};
    }
}

struct Entry {
    std::string name;
    uint16_t flags = 0;
    uint16_t method = 0;
    uint32_t crc = 0;
    uint32_t packedSize = 0;
    uint32_t size = 0;
    uint32_t localOffset = 0;
};

struct Directory {
    std::vector<Entry> entries;
    uint32_t start = 0;  // where the central directory begins: every part's data ends before
};

Directory readDirectory(ByteSource& fd) {
    size_t fileSize = 0;
    try {
        fileSize = static_cast<size_t>(fd.size());
    } catch (const FileError& failure) {
        throw Problem{"falhou a leitura: " + failure.description()};
    }
    if (fileSize < kEndSize) throw Problem{"o ficheiro está cortado"};
    const size_t tailSize = std::min(fileSize, kEndSize + kMaxComment);
    std::vector<unsigned char> tail(tailSize);
    readAt(fd, fileSize - tailSize, tail.data(), tailSize);
    size_t end = tailSize - kEndSize + 1;
    do {
        --end;
    } while (end > 0 && le32(&tail[end]) != kEndSignature);
    if (le32(&tail[end]) != kEndSignature) throw Problem{"falta o índice do ficheiro zip"};

    const unsigned char* record = &tail[end];
    const uint16_t count = le16(record + 10);
    const uint32_t directorySize = le32(record + 12);
    Directory directory;
    directory.start = le32(record + 16);
    const size_t endOffset = fileSize - tailSize + end;
    if (static_cast<size_t>(directory.start) + directorySize != endOffset) {
        throw Problem{"o índice do ficheiro zip não está onde devia"};
    }
    std::vector<unsigned char> central(directorySize);
    readAt(fd, directory.start, central.data(), directorySize);
    size_t at = 0;
    for (uint16_t i = 0; i < count; ++i) {
        if (at + kCentralSize > central.size() || le32(&central[at]) != kCentralSignature) {
            throw Problem{"o índice do ficheiro zip está danificado"};
        }
        const unsigned char* p = &central[at];
        Entry entry;
        entry.flags = le16(p + 8);
        entry.method = le16(p + 10);
        entry.crc = le32(p + 16);
        entry.packedSize = le32(p + 20);
        entry.size = le32(p + 24);
        const size_t nameSize = le16(p + 28);
        const size_t extra = static_cast<size_t>(le16(p + 30)) + le16(p + 32);
        entry.localOffset = le32(p + 42);
        if (at + kCentralSize + nameSize + extra > central.size()) {
            throw Problem{"o índice do ficheiro zip está danificado"};
        }
        entry.name.assign(reinterpret_cast<const char*>(p + kCentralSize), nameSize);
        directory.entries.push_back(std::move(entry));
        at += kCentralSize + nameSize + extra;
    }
    if (at != central.size()) throw Problem{"o índice do ficheiro zip está danificado"};
    return directory;
}

bool isXmlPart(const std::string& name) {
    const auto endsWith = [&](std::string_view suffix) {
        return name.size() >= suffix.size() &&
               name.compare(name.size() - suffix.size(), suffix.size(), suffix) == 0;
    };
    return endsWith(".xml") || endsWith(".rels");
}

// The sizes and CRC-32 written after a part's data, with or without their signature.
void checkDescriptor(ByteSource& fd, const Entry& entry, uint64_t at, const std::string& part) {
    unsigned char record[kDescriptorSize];
    readAt(fd, at, record, kDescriptorSize);
    const unsigned char* values = le32(record) == kDescriptorSignature ? record + 4 : record;
    if (le32(values) != entry.crc || le32(values + 4) != entry.packedSize ||
        le32(values + 8) != entry.size) {
        throw Problem{part + " tem um cabeçalho que não condiz com o índice"};
    }
}

// Reads one part's data from `dataStart`, inflating it (or copying it when stored), and hands
// what it holds to `pipe` chunk by chunk; then checks its size and CRC-32.
void readPartData(ByteSource& fd, const Entry& entry, uint64_t dataStart, const std::string& part,
                  ChunkPipe& pipe) {
    z_stream stream{};
    if (entry.method == Z_DEFLATED && inflateInit2(&stream, -MAX_WBITS) != Z_OK) {
        throw Problem{"memória insuficiente para verificar o ficheiro"};
    }
    struct StreamEnd {
        z_stream* stream;
        bool active;
        ~StreamEnd() {
            if (active) inflateEnd(stream);
        }
    } streamEnd{&stream, entry.method == Z_DEFLATED};

    constexpr size_t kChunk = 1 << 16;
    uLong crc = crc32(0, nullptr, 0);
    uint64_t produced = 0;
    // False when the reader stopped listening: it failed, and says why.
    const auto give = [&](ChunkPipe::Chunk chunk) {
        crc = crc32(crc, chunk.data(), static_cast<uInt>(chunk.size()));
        produced += chunk.size();
        return pipe.put(std::move(chunk));
    };

    std::vector<unsigned char> in(kChunk);
    uint64_t left = entry.packedSize;
    uint64_t offset = dataStart;
    bool finished = entry.method == 0;
    // Inflates what `stream` holds into one new chunk: inflate's result and the chunk.
    const auto inflateInto = [&](int flush) {
        ChunkPipe::Chunk out(kChunk);
        stream.next_out = out.data();
        stream.avail_out = static_cast<uInt>(out.size());
        const int result = inflate(&stream, flush);
        out.resize(out.size() - stream.avail_out);
        return std::pair{result, std::move(out)};
    };
    while (left > 0) {
        const size_t chunk = static_cast<size_t>(std::min<uint64_t>(left, in.size()));
        readAt(fd, offset, in.data(), chunk);
        offset += chunk;
        left -= chunk;
        if (entry.method == 0) {
            if (!give(ChunkPipe::Chunk(in.begin(), in.begin() + static_cast<long>(chunk)))) return;
            continue;
        }
        stream.next_in = in.data();
        stream.avail_in = static_cast<uInt>(chunk);
        while (stream.avail_in > 0 && !finished) {
            auto [result, out] = inflateInto(Z_NO_FLUSH);
            if (result != Z_OK && result != Z_STREAM_END) throw Problem{part + " está danificada"};
            if (!give(std::move(out))) return;
            finished = result == Z_STREAM_END;
        }
    }
    while (!finished) {
        // Output still held back by the inflater after the last input.
        auto [result, out] = inflateInto(Z_FINISH);
        if (result != Z_STREAM_END && out.empty()) throw Problem{part + " está cortada"};
        if (!give(std::move(out))) return;
        finished = result == Z_STREAM_END;
    }
    if (entry.method == Z_DEFLATED && stream.total_in != entry.packedSize) {
        throw Problem{part + " está danificada"};
    }
    if (produced != entry.size || crc != entry.crc) throw Problem{part + " está danificada"};
}

// Inflates (or copies) one part, checking its size, CRC-32 and, for XML, that it is
// well-formed, telling `reader` what it holds. The data is read and inflated in a thread of
// its own while this one checks the XML: on two cores a large sheet costs the longer of the
// two instead of their sum.
void checkPart(ByteSource& fd, const Entry& entry, uint32_t directoryStart, ZipPartReader* reader) {
    const std::string part = "a parte '" + entry.name + "'";
    unsigned char local[kLocalSize];
    readAt(fd, entry.localOffset, local, kLocalSize);
    if (le32(local) != kLocalSignature) throw Problem{part + " não tem cabeçalho"};
    const uint16_t flags = le16(local + 6);
    const size_t nameSize = le16(local + 26);
    const size_t extra = le16(local + 28);
    std::string localName(nameSize, '\0');
    readAt(fd, entry.localOffset + kLocalSize, reinterpret_cast<unsigned char*>(localName.data()),
           nameSize);
    const bool sizesAgree =
        (flags & kDataDescriptorFlag) ||
        (le32(local + 14) == entry.crc && le32(local + 18) == entry.packedSize &&
         le32(local + 22) == entry.size);
    if (localName != entry.name || flags != entry.flags || le16(local + 8) != entry.method ||
        !sizesAgree) {
        throw Problem{part + " tem um cabeçalho que não condiz com o índice"};
    }
    const uint64_t dataStart = uint64_t{entry.localOffset} + kLocalSize + nameSize + extra;
    if (dataStart + entry.packedSize > directoryStart) throw Problem{part + " está cortada"};
    if (flags & kDataDescriptorFlag) checkDescriptor(fd, entry, dataStart + entry.packedSize, part);
    if (entry.method != 0 && entry.method != Z_DEFLATED) {
        throw Problem{part + " usa uma compressão desconhecida"};
    }

    const bool xml = isXmlPart(entry.name);
    XmlCheck document(xml && reader ? reader->eventsFor(entry.name) : nullptr);
    ChunkPipe pipe;
    std::thread data;
    try {
        data = std::thread([&] {
            try {
                readPartData(fd, entry, dataStart, part, pipe);
                pipe.close();
            } catch (...) {
                pipe.close(std::current_exception());
            }
        });
    } catch (const std::system_error&) {
        throw Problem{"o sistema não deu os recursos para verificar o ficheiro"};
    }
    // However this thread leaves, the data thread is told to stop and is waited for.
    struct Join {
        ChunkPipe& pipe;
        std::thread& thread;
        ~Join() {
            pipe.stop();
            thread.join();
        }
    } join{pipe, data};
    ChunkPipe::Chunk chunk;
    while (pipe.take(chunk)) {
        if (xml) document.feed(reinterpret_cast<const char*>(chunk.data()), chunk.size());
    }
    if (xml) document.finish();
}

void checkPartDocument(ByteSource& fd, const Entry& entry, uint32_t directoryStart,
                       ZipPartReader* reader) {
    const std::string part = "a parte '" + entry.name + "'";
    try {
        checkPart(fd, entry, directoryStart, reader);
    } catch (const XmlProblem& problem) {
        throw Problem{part + (problem.cut ? " está incompleta"
                                          : " não é XML bem formado: " + problem.reason)};
    }
    if (reader) {
        const std::string problem = reader->partProblem(entry.name);
        if (!problem.empty()) throw Problem{problem};
    }
}

}  // namespace

std::string zipFileProblem(ByteSource& file, ZipPartReader* reader) {
    try {
        const Directory directory = readDirectory(file);
        if (directory.entries.empty()) return "o ficheiro zip está vazio";
        for (const Entry& entry : directory.entries) {
            checkPartDocument(file, entry, directory.start, reader);
        }
        return {};
    } catch (const Problem& problem) {
        return problem.reason;
    }
}

}  // namespace talvers
