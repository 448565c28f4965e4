// Writes the program's logo picture "EABOUT.LGO": a 320 x 240 Windows bitmap
// of 24 bits per pixel (no colour table) with a 太極 sign on warm paper in a
// red frame. The logo window draws the version line over it.
#include <cmath>
#include <cstdint>
#include <algorithm>
#include <cstdio>
#include <string>

namespace {

constexpr int Width = 320;
constexpr int Height = 240;
constexpr int Stride = (Width * 3 + 3) / 4 * 4;

struct Rgb {
    uint8_t R, G, B;
};

constexpr Rgb Ink{40, 30, 60};
constexpr Rgb Paper{252, 246, 232};
constexpr Rgb Frame{170, 30, 30};

Rgb Background(int y) {
    const double t = double(y) / (Height - 1);
    return Rgb{static_cast<uint8_t>(250 - 16 * t), static_cast<uint8_t>(242 - 26 * t), static_cast<uint8_t>(222 - 40 * t)};
}

bool Within(double dx, double dy, double r) { return dx * dx + dy * dy < r * r; }

// The 太極 sign of radius r at the origin, or false outside it.
bool TaijiAt(double x, double y, double r, Rgb& out) {
    if (!Within(x, y, r + 1.5)) return false;
    if (!Within(x, y, r)) {
        out = Ink;  // the outline
        return true;
    }
    bool dark = x > 0;
    if (Within(x, y + r / 2, r / 2)) dark = false;
    if (Within(x, y - r / 2, r / 2)) dark = true;
    if (Within(x, y + r / 2, r / 8)) dark = true;
    if (Within(x, y - r / 2, r / 8)) dark = false;
    out = dark ? Ink : Paper;
    return true;
}

bool FrameAt(int x, int y) {
    const int edge = std::min(std::min(x, Width - 1 - x), std::min(y, Height - 1 - y));
    return edge == 6 || edge == 7 || edge == 10;
}

Rgb PixelAt(int x, int y) {
    Rgb p = Background(y);
    if (FrameAt(x, y)) return Frame;
    TaijiAt(x - Width / 2.0, y - 64.0, 46.0, p);
    if (y >= 176 && y <= 178 && x >= 40 && x < Width - 40) p = Frame;  // a rule under the version line
    return p;
}

void PutLe(std::string& out, uint32_t v, int bytes) {
    for (int i = 0; i < bytes; ++i) out.push_back(static_cast<char>(v >> (8 * i) & 0xFF));
}

std::string Bitmap() {
    std::string out = "BM";
    const uint32_t pixelBytes = Stride * Height;
    PutLe(out, 54 + pixelBytes, 4);
    PutLe(out, 0, 4);
    PutLe(out, 54, 4);
    PutLe(out, 40, 4);
    PutLe(out, Width, 4);
    PutLe(out, Height, 4);  // rows bottom-up
    PutLe(out, 1, 2);
    PutLe(out, 24, 2);
    PutLe(out, 0, 4);  // no compression
    PutLe(out, pixelBytes, 4);
    PutLe(out, 2835, 4);  // 72 dpi
    PutLe(out, 2835, 4);
    PutLe(out, 0, 4);
    PutLe(out, 0, 4);
    for (int row = Height - 1; row >= 0; --row) {
        for (int x = 0; x < Width; ++x) {
            const Rgb p = PixelAt(x, row);
            out += {static_cast<char>(p.B), static_cast<char>(p.G), static_cast<char>(p.R)};
        }
        out.append(Stride - Width * 3, '\0');
    }
    return out;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: make_logo OUT.LGO\n");
        return 2;
    }
    const std::string bytes = Bitmap();
    std::FILE* f = std::fopen(argv[1], "wb");
    if (!f || std::fwrite(bytes.data(), 1, bytes.size(), f) != bytes.size() || std::fclose(f) != 0) {
        std::perror(argv[1]);
        return 1;
    }
    return 0;
}
