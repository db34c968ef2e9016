#include "bmp_file.h"

#include <algorithm>
#include <memory>

namespace kestrel {

namespace {

constexpr std::uint32_t kHeaderBytes = 14 + 40;

std::uint64_t rowBytes(const BandedPicture& picture) {
    return (static_cast<std::uint64_t>(picture.columns()) * 3 + 3) / 4 * 4; // padded to 4
}

void putLittleEndian(std::string& out, std::uint32_t value, int bytes) {
    for (int k = 0; k < bytes; ++k)
        out += static_cast<char>((value >> (8 * k)) & 0xFF);
}

std::string header(const BandedPicture& picture, int dotsPerMetre) {
    const auto imageBytes = static_cast<std::uint32_t>(rowBytes(picture) * picture.rows());
    std::string out = "BM";
    putLittleEndian(out, kHeaderBytes + imageBytes, 4);
    putLittleEndian(out, 0, 4);
    putLittleEndian(out, kHeaderBytes, 4);
    putLittleEndian(out, 40, 4);
    putLittleEndian(out, static_cast<std::uint32_t>(picture.columns()), 4);
    putLittleEndian(out, static_cast<std::uint32_t>(picture.rows()), 4);
    putLittleEndian(out, 1, 2);  // planes
    putLittleEndian(out, 24, 2); // bits per pixel
    putLittleEndian(out, 0, 4);  // no compression
    putLittleEndian(out, imageBytes, 4);
    putLittleEndian(out, static_cast<std::uint32_t>(dotsPerMetre), 4);
    putLittleEndian(out, static_cast<std::uint32_t>(dotsPerMetre), 4);
    putLittleEndian(out, 0, 4); // colours used
    putLittleEndian(out, 0, 4); // colours important
    return out;
}

} // namespace

std::uint64_t BmpFileSize(const BandedPicture& picture) {
    return kHeaderBytes + rowBytes(picture) * static_cast<std::uint64_t>(picture.rows());
}

std::function<std::string_view()> BmpPieces(const BandedPicture& picture, int dotsPerMetre) {
    // The rows go bottom up, blue green red.
    struct State {
        std::string piece;
        int next = -1; // the row below the next piece's lowest; -1 before the header
    };
    auto state = std::make_shared<State>();
    return [&picture, dotsPerMetre, state]() -> std::string_view {
        State& s = *state;
        if (s.next < 0) {
            s.piece = header(picture, dotsPerMetre);
            s.next = picture.rows();
            return s.piece;
        }
        if (s.next == 0) return {};
        const int first = std::max(0, s.next - BandedPicture::kBandRows);
        const QImage rows = picture.rowsImage(first, s.next - first);
        const std::size_t width = rowBytes(picture);
        s.piece.assign(width * static_cast<std::size_t>(s.next - first), '\0');
        char* out = s.piece.data();
        for (int y = s.next - 1; y >= first; --y, out += width) {
            const auto* line = reinterpret_cast<const QRgb*>(rows.constScanLine(y - first));
            for (int x = 0; x < picture.columns(); ++x) {
                out[3 * x] = static_cast<char>(qBlue(line[x]));
                out[3 * x + 1] = static_cast<char>(qGreen(line[x]));
                out[3 * x + 2] = static_cast<char>(qRed(line[x]));
            }
        }
        s.next = first;
        return s.piece;
    };
}

} // namespace kestrel
