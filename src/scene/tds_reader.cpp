// .3ds chunk walk. The reader keeps no stack of open chunks: it reads one
// header after another from the start of the file to its physical end,
// entering the main, editor, object and triangle-mesh chunks by their header
// alone, reading the vertex, face and mapping lists of the latest object, and
// stepping over every other chunk by its length. All reads are bounds-checked
// little-endian reads; list sizes are limited by the bytes that remain before
// anything is allocated.
#include "scene/tds_reader.h"

#include <algorithm>
#include <cstring>

namespace {

class ByteReader {
public:
    explicit ByteReader(std::span<const uint8_t> bytes) : bytes_(bytes) {}

    size_t pos() const { return pos_; }
    size_t size() const { return bytes_.size(); }
    size_t remaining() const { return bytes_.size() - pos_; }
    bool atEnd() const { return pos_ >= bytes_.size(); }
    void seekToEnd() { pos_ = bytes_.size(); }
    void seek(size_t pos) { pos_ = std::min(pos, bytes_.size()); }

    bool u16(uint16_t& value) {
        if (remaining() < 2) return false;
        value = static_cast<uint16_t>(bytes_[pos_] | (bytes_[pos_ + 1] << 8));
        pos_ += 2;
        return true;
    }
    bool u32(uint32_t& value) {
        if (remaining() < 4) return false;
        value = static_cast<uint32_t>(bytes_[pos_]) | (static_cast<uint32_t>(bytes_[pos_ + 1]) << 8) |
                (static_cast<uint32_t>(bytes_[pos_ + 2]) << 16) |
                (static_cast<uint32_t>(bytes_[pos_ + 3]) << 24);
        pos_ += 4;
        return true;
    }
    bool f32(float& value) {
        uint32_t bits;
        if (!u32(bits)) return false;
        std::memcpy(&value, &bits, sizeof value);
        return true;
    }
    // Steps past the next zero byte; false (at the end) when there is none.
    bool skipCString() {
        const uint8_t* begin = bytes_.data() + pos_;
        const void* zero = std::memchr(begin, 0, remaining());
        if (!zero) {
            seekToEnd();
            return false;
        }
        pos_ += static_cast<const uint8_t*>(zero) - begin + 1;
        return true;
    }

private:
    std::span<const uint8_t> bytes_;
    size_t pos_ = 0;
};

// Number of whole records of `recordSize` bytes, out of `count` announced,
// that the remaining bytes hold.
size_t wholeRecords(const ByteReader& in, uint16_t count, size_t recordSize) {
    return std::min<size_t>(count, in.remaining() / recordSize);
}

void readVertexList(ByteReader& in, TdsMesh* owner, float scale) {
    uint16_t count;
    if (!in.u16(count)) return;
    const size_t n = wholeRecords(in, count, 12);
    if (owner) owner->vertices.assign(n, MeshVertex{});
    for (size_t i = 0; i < n; ++i) {
        float x = 0, y = 0, z = 0;
        in.f32(x);
        in.f32(y);
        in.f32(z);
        if (!owner) continue;
        MeshVertex& vertex = owner->vertices[i];
        vertex.basePosition.x = x * scale;
        vertex.basePosition.y = y * scale;
        vertex.basePosition.z = z * scale;
        vertex.position = vertex.basePosition;
    }
    if (n < count) in.seekToEnd();  // short list: nothing usable follows
}

void readFaceList(ByteReader& in, TdsMesh* owner) {
    uint16_t count;
    if (!in.u16(count)) return;
    const size_t n = wholeRecords(in, count, 8);
    if (owner) {
        owner->faces.clear();
        owner->faces.reserve(n);
    }
    for (size_t i = 0; i < n; ++i) {
        uint16_t a = 0, b = 0, c = 0, flags = 0;
        in.u16(a);
        in.u16(b);
        in.u16(c);
        in.u16(flags);  // face flags carry nothing the show uses
        if (!owner) continue;
        MeshFace& face = owner->faces.emplace_back();
        face.index[0] = a;
        face.index[1] = b;
        face.index[2] = c;
    }
    if (n < count) in.seekToEnd();
}

void readMappingList(ByteReader& in, TdsMesh* owner) {
    uint16_t count;
    if (!in.u16(count)) return;
    const size_t n = wholeRecords(in, count, 8);
    for (size_t i = 0; i < n; ++i) {
        float u = 0, v = 0;
        in.f32(u);
        in.f32(v);
        if (owner && i < owner->vertices.size()) {
            owner->vertices[i].u = u;
            owner->vertices[i].v = v;  // stored as read, not inverted
        }
    }
    if (n < count) in.seekToEnd();
}

// Faces are checked against the final vertex list of their object, so that a
// face list stored before its vertex list is still kept when it fits.
void dropFacesOutside(TdsMesh& mesh) {
    const size_t count = mesh.vertices.size();
    std::erase_if(mesh.faces, [count](const MeshFace& face) {
        return face.index[0] >= count || face.index[1] >= count || face.index[2] >= count;
    });
}

}  // namespace

TdsReadResult read3ds(std::span<const uint8_t> bytes, float scale) {
    TdsReadResult result;
    ByteReader in(bytes);
    uint16_t id;
    uint32_t length;
    if (!in.u16(id) || !in.u32(length) || id != CHUNK_MAIN) return result;
    result.isTds = true;  // the main chunk's length is not used: the walk runs to the end

    bool walking = true;
    while (walking && !in.atEnd()) {
        const size_t start = in.pos();
        if (!in.u16(id) || !in.u32(length)) break;  // a partial header ends the file
        TdsMesh* owner = result.objects.empty() ? nullptr : &result.objects.back();
        switch (id) {
            case CHUNK_MAIN:
            case CHUNK_3DEDITOR:
            case CHUNK_TRIMESH:
                break;
            case CHUNK_OBJBLOCK:
                in.skipCString();  // the name is not kept; without a zero the walk ends
                result.objects.emplace_back();
                break;
            case CHUNK_VERTLIST:
                readVertexList(in, owner, scale);
                break;
            case CHUNK_FACELIST:
                readFaceList(in, owner);
                break;
            case CHUNK_MAPLIST:
                // Coordinates need vertices to go to.
                readMappingList(in, owner && !owner->vertices.empty() ? owner : nullptr);
                break;
            default:
                // A length below 6 would point back into the header itself.
                if (length < 6)
                    walking = false;
                else
                    in.seek(start + static_cast<size_t>(length));
                break;
        }
    }
    for (TdsMesh& mesh : result.objects) dropFacesOutside(mesh);
    return result;
}
