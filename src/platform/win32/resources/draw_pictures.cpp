// Draws Brindlock's pictures at build time: the program icon, the verb icons,
// the button glyphs, the eleven tray images and the marble tile. Every picture
// is made of a few shapes given by their distance functions on a 32-unit
// grid, so the same drawing renders sharply at 16, 24, 32 and 48 pixels with
// smooth edges. Writes .ico and .bmp files into the folder given as argument.
//
// This runs on the build machine (it is compiled with the host compiler), so
// it uses nothing but the standard library.
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

namespace {

struct Color {
    float r, g, b, a;
};

constexpr Color Rgb(uint32_t rgb, float a = 1.0f) {
    return {((rgb >> 16) & 0xFF) / 255.0f, ((rgb >> 8) & 0xFF) / 255.0f, (rgb & 0xFF) / 255.0f, a};
}

// A shape: signed distance in grid units (negative inside).
using Shape = std::function<float(float x, float y)>;

Shape Circle(float cx, float cy, float r) {
    return [=](float x, float y) { return std::hypot(x - cx, y - cy) - r; };
}

Shape Box(float x0, float y0, float x1, float y1, float radius = 0) {
    return [=](float x, float y) {
        const float cx = (x0 + x1) / 2, cy = (y0 + y1) / 2;
        const float hx = (x1 - x0) / 2 - radius, hy = (y1 - y0) / 2 - radius;
        const float dx = std::fabs(x - cx) - hx, dy = std::fabs(y - cy) - hy;
        const float outside = std::hypot(std::max(dx, 0.0f), std::max(dy, 0.0f));
        return outside + std::min(std::max(dx, dy), 0.0f) - radius;
    };
}

// A stroke from (ax, ay) to (bx, by) with round ends.
Shape Line(float ax, float ay, float bx, float by, float width) {
    return [=](float x, float y) {
        const float px = x - ax, py = y - ay, vx = bx - ax, vy = by - ay;
        const float t = std::clamp((px * vx + py * vy) / (vx * vx + vy * vy), 0.0f, 1.0f);
        return std::hypot(px - vx * t, py - vy * t) - width / 2;
    };
}

Shape Ring(float cx, float cy, float r, float width) {
    return [=](float x, float y) { return std::fabs(std::hypot(x - cx, y - cy) - r) - width / 2; };
}

Shape Intersect(Shape a, Shape b) {
    return [=](float x, float y) { return std::max(a(x, y), b(x, y)); };
}

Shape Subtract(Shape a, Shape b) {
    return [=](float x, float y) { return std::max(a(x, y), -b(x, y)); };
}

Shape Union(Shape a, Shape b) {
    return [=](float x, float y) { return std::min(a(x, y), b(x, y)); };
}

// A picture: its layers painted in order over a transparent ground.
struct Layer {
    Shape shape;
    Color fill;
    Color outline;
    float outlineWidth;
};
using Drawing = std::vector<Layer>;

Layer Fill(Shape s, Color c) { return {std::move(s), c, {0, 0, 0, 0}, 0}; }
Layer Outlined(Shape s, Color fill, Color outline, float width = 1.2f) { return {std::move(s), fill, outline, width}; }

struct Image {
    int width, height;
    std::vector<Color> pixels;  // straight alpha
    Color& At(int x, int y) { return pixels[std::size_t(y) * width + x]; }
};

void Over(Color& dst, Color src, float coverage) {
    const float a = src.a * coverage;
    if (a <= 0) return;
    const float outA = a + dst.a * (1 - a);
    auto mix = [&](float s, float d) { return (s * a + d * dst.a * (1 - a)) / outA; };
    dst = {mix(src.r, dst.r), mix(src.g, dst.g), mix(src.b, dst.b), outA};
}

Image Render(const Drawing& drawing, int size) {
    Image img{size, size, std::vector<Color>(std::size_t(size) * size, Color{0, 0, 0, 0})};
    const float unit = 32.0f / size;  // grid units per pixel
    constexpr int kSamples = 4;       // per axis
    for (int py = 0; py < size; ++py)
        for (int px = 0; px < size; ++px)
            for (const Layer& layer : drawing) {
                float inside = 0, ring = 0;
                for (int sy = 0; sy < kSamples; ++sy)
                    for (int sx = 0; sx < kSamples; ++sx) {
                        const float x = (px + (sx + 0.5f) / kSamples) * unit;
                        const float y = (py + (sy + 0.5f) / kSamples) * unit;
                        const float d = layer.shape(x, y);
                        // Keep outlines at least about one pixel wide at small sizes.
                        const float w = std::max(layer.outlineWidth, layer.outlineWidth > 0 ? unit : 0.0f);
                        if (d <= 0) inside += 1;
                        if (w > 0 && d <= 0 && d > -w) ring += 1;
                    }
                inside /= kSamples * kSamples;
                ring /= kSamples * kSamples;
                Over(img.At(px, py), layer.fill, inside - ring);
                Over(img.At(px, py), layer.outline, ring);
            }
    return img;
}

// ---- The drawings ------------------------------------------------------

constexpr Color kInk = Rgb(0x2B2F36);
constexpr Color kSteel = Rgb(0x8E96A3);
constexpr Color kBrass = Rgb(0xD9A23B);
constexpr Color kBlue = Rgb(0x3C78C8);
constexpr Color kGreen = Rgb(0x3E9E55);
constexpr Color kRed = Rgb(0xC8413A);
constexpr Color kPaper = Rgb(0xF7F5EE);
constexpr Color kGold = Rgb(0xE8B931);

Drawing Padlock(Color body, bool open) {
    // The shackle: the upper half of a ring and two legs; open, it is lifted
    // and its right leg stands free of the body.
    const float lift = open ? -5.0f : 0.0f;
    Shape arch = Intersect(Ring(16, 12 + lift, 7, 3.2f), Box(0, 0, 32, 12 + lift));
    Shape legs = Union(Line(9, 12 + lift, 9, 16, 3.2f), Line(23, 12 + lift, 23, open ? 9.0f : 16.0f, 3.2f));
    Shape keyhole = Union(Circle(16, 19.5f, 2.4f), Box(15, 20, 17, 25.5f, 0.6f));
    return {
        Outlined(Union(arch, legs), kSteel, kInk, 1.0f),
        Outlined(Box(5, 14, 27, 30, 3), body, kInk),
        Fill(keyhole, kInk),
    };
}

Drawing Eye() {
    Shape lens = Intersect(Circle(16, 29, 17), Circle(16, 3, 17));
    return {
        Outlined(Box(6, 2, 26, 30, 2), kPaper, kInk),
        Outlined(lens, Rgb(0xFFFFFF), kInk),
        Fill(Circle(16, 16, 5), kBlue),
        Fill(Circle(16, 16, 2.2f), kInk),
        Fill(Circle(14.3f, 14.3f, 1.0f), Rgb(0xFFFFFF)),
    };
}

Drawing Bin() {
    Drawing d{
        Outlined(Box(7, 9, 25, 30, 2), kRed, kInk),
        Outlined(Box(4, 5, 28, 9.5f, 1), Rgb(0xE0625A), kInk),
        Outlined(Box(12, 2, 20, 5.5f, 1), Rgb(0xE0625A), kInk),
    };
    for (float x : {12.0f, 16.0f, 20.0f}) d.push_back(Fill(Line(x, 13, x, 26, 1.6f), Rgb(0x7E2420)));
    return d;
}

Drawing Key(Color color) {
    Shape bow = Subtract(Circle(9, 16, 7), Circle(7.5f, 16, 2.3f));
    Shape shaft = Union(Box(14, 14, 30, 18.5f, 1), Union(Box(22, 18, 25, 23, 0.5f), Box(27, 18, 30, 25, 0.5f)));
    return {Outlined(Union(bow, shaft), color, kInk)};
}

Drawing KeyCrossed() {
    Drawing d = Key(kGold);
    d.push_back(Fill(Line(5, 27, 27, 5, 4.5f), Rgb(0xFFFFFF, 0.9f)));
    d.push_back(Fill(Line(5, 27, 27, 5, 2.8f), kRed));
    return d;
}

Drawing Gear() {
    Shape wheel = Circle(16, 16, 9.5f);
    for (int i = 0; i < 8; ++i) {
        const float a = i * 3.14159265f / 4;
        const float cx = 16 + std::cos(a) * 11.5f, cy = 16 + std::sin(a) * 11.5f;
        wheel = Union(wheel, Circle(cx, cy, 3.0f));
    }
    return {Outlined(Subtract(wheel, Circle(16, 16, 4)), kSteel, kInk)};
}

Drawing Power() {
    Shape arc = Subtract(Ring(16, 17, 10, 3.6f), Box(11, 0, 21, 13));
    return {
        Fill(Circle(16, 16, 15), kRed),
        Fill(arc, Rgb(0xFFFFFF)),
        Fill(Line(16, 4.5f, 16, 16, 3.6f), Rgb(0xFFFFFF)),
    };
}

// A small status badge in the lower right corner of a tray image.
Drawing WithBadge(Drawing d, Color color) {
    d.push_back(Outlined(Circle(25, 25, 6.5f), color, Rgb(0xFFFFFF), 1.6f));
    return d;
}

// ---- The marble tile ---------------------------------------------------

// Value noise on a lattice that wraps at the tile's size, so the tile repeats
// without seams.
float LatticeValue(int x, int y, int seed) {
    uint32_t h = static_cast<uint32_t>(x) * 374761393u + static_cast<uint32_t>(y) * 668265263u + static_cast<uint32_t>(seed) * 2246822519u;
    h = (h ^ (h >> 13)) * 1274126177u;
    return ((h ^ (h >> 16)) & 0xFFFF) / 65535.0f;
}

float PeriodicNoise(float x, float y, int periodX, int periodY, int seed) {
    const int x0 = static_cast<int>(std::floor(x)), y0 = static_cast<int>(std::floor(y));
    const float fx = x - x0, fy = y - y0;
    auto v = [&](int ix, int iy) { return LatticeValue(((ix % periodX) + periodX) % periodX, ((iy % periodY) + periodY) % periodY, seed); };
    auto smooth = [](float t) { return t * t * (3 - 2 * t); };
    const float sx = smooth(fx), sy = smooth(fy);
    const float top = v(x0, y0) * (1 - sx) + v(x0 + 1, y0) * sx;
    const float bottom = v(x0, y0 + 1) * (1 - sx) + v(x0 + 1, y0 + 1) * sx;
    return top * (1 - sy) + bottom * sy;
}

Image Marble(int width, int height) {
    Image img{width, height, std::vector<Color>(std::size_t(width) * height)};
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            float turbulence = 0, amplitude = 1;
            for (int octave = 0, cells = 4; octave < 4; ++octave, cells *= 2, amplitude /= 2) {
                const float cx = float(cells) * x / width, cy = float(cells) * 3 / 4 * y / height;
                turbulence += amplitude * PeriodicNoise(cx, cy, cells, cells * 3 / 4, octave);
            }
            // Veins run diagonally; whole periods across the tile keep the seams invisible.
            const float phase = 2 * 3.14159265f * (float(x) / width + 2.0f * y / height) + 5.0f * turbulence;
            const float vein = std::pow(std::fabs(std::sin(phase)), 0.35f);
            const Color light = Rgb(0xE9E4DA), dark = Rgb(0xA29A8E);
            const float t = 0.25f + 0.75f * vein;
            img.At(x, y) = {dark.r + (light.r - dark.r) * t, dark.g + (light.g - dark.g) * t, dark.b + (light.b - dark.b) * t, 1};
        }
    return img;
}

// ---- File formats ------------------------------------------------------

void Put16(std::vector<uint8_t>& out, uint32_t v) {
    out.push_back(v & 0xFF);
    out.push_back((v >> 8) & 0xFF);
}

void Put32(std::vector<uint8_t>& out, uint32_t v) {
    Put16(out, v & 0xFFFF);
    Put16(out, v >> 16);
}

uint8_t Byte(float v) { return static_cast<uint8_t>(std::lround(std::clamp(v, 0.0f, 1.0f) * 255)); }

// One icon image: a 32-bit bottom-up DIB with alpha, then its AND mask.
std::vector<uint8_t> IconImage(const Image& img) {
    std::vector<uint8_t> out;
    Put32(out, 40);
    Put32(out, img.width);
    Put32(out, img.height * 2);
    Put16(out, 1);
    Put16(out, 32);
    Put32(out, 0);
    const int maskStride = ((img.width + 31) / 32) * 4;
    Put32(out, img.width * img.height * 4 + maskStride * img.height);
    for (int i = 0; i < 4; ++i) Put32(out, 0);
    for (int y = img.height - 1; y >= 0; --y)
        for (int x = 0; x < img.width; ++x) {
            const Color c = img.pixels[std::size_t(y) * img.width + x];
            out.push_back(Byte(c.b));
            out.push_back(Byte(c.g));
            out.push_back(Byte(c.r));
            out.push_back(Byte(c.a));
        }
    for (int y = img.height - 1; y >= 0; --y) {
        std::vector<uint8_t> row(maskStride, 0);
        for (int x = 0; x < img.width; ++x)
            if (img.pixels[std::size_t(y) * img.width + x].a < 0.5f) row[x / 8] |= 0x80 >> (x % 8);
        out.insert(out.end(), row.begin(), row.end());
    }
    return out;
}

bool WriteFile(const std::string& path, const std::vector<uint8_t>& bytes) {
    std::ofstream f(path, std::ios::binary);
    f.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    return static_cast<bool>(f);
}

bool WriteIcon(const std::string& path, const Drawing& drawing, const std::vector<int>& sizes) {
    std::vector<std::vector<uint8_t>> images;
    for (int size : sizes) images.push_back(IconImage(Render(drawing, size)));
    std::vector<uint8_t> out;
    Put16(out, 0);
    Put16(out, 1);
    Put16(out, static_cast<uint32_t>(sizes.size()));
    uint32_t offset = 6 + 16 * static_cast<uint32_t>(sizes.size());
    for (std::size_t i = 0; i < sizes.size(); ++i) {
        out.push_back(static_cast<uint8_t>(sizes[i] >= 256 ? 0 : sizes[i]));
        out.push_back(static_cast<uint8_t>(sizes[i] >= 256 ? 0 : sizes[i]));
        out.push_back(0);
        out.push_back(0);
        Put16(out, 1);
        Put16(out, 32);
        Put32(out, static_cast<uint32_t>(images[i].size()));
        Put32(out, offset);
        offset += static_cast<uint32_t>(images[i].size());
    }
    for (const auto& image : images) out.insert(out.end(), image.begin(), image.end());
    return WriteFile(path, out);
}

bool WriteBitmap(const std::string& path, const Image& img) {
    const int stride = (img.width * 3 + 3) & ~3;
    std::vector<uint8_t> out;
    out.push_back('B');
    out.push_back('M');
    Put32(out, 54 + stride * img.height);
    Put32(out, 0);
    Put32(out, 54);
    Put32(out, 40);
    Put32(out, img.width);
    Put32(out, img.height);
    Put16(out, 1);
    Put16(out, 24);
    for (int i = 0; i < 6; ++i) Put32(out, 0);
    for (int y = img.height - 1; y >= 0; --y) {
        for (int x = 0; x < img.width; ++x) {
            const Color c = img.pixels[std::size_t(y) * img.width + x];
            out.push_back(Byte(c.b));
            out.push_back(Byte(c.g));
            out.push_back(Byte(c.r));
        }
        for (int pad = img.width * 3; pad < stride; ++pad) out.push_back(0);
    }
    return WriteFile(path, out);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: draw_pictures OUTPUT_FOLDER\n");
        return 2;
    }
    const std::string dir = std::string(argv[1]) + "/";
    const std::vector<int> shellSizes{16, 24, 32, 48};
    const std::vector<int> glyph{32};
    const std::vector<int> small{16};

    bool ok = true;
    ok &= WriteIcon(dir + "main.ico", Padlock(kBrass, false), shellSizes);
    ok &= WriteIcon(dir + "encrypt.ico", Padlock(kBlue, false), shellSizes);
    ok &= WriteIcon(dir + "decrypt.ico", Padlock(kGreen, true), shellSizes);
    ok &= WriteIcon(dir + "open.ico", Eye(), shellSizes);
    ok &= WriteIcon(dir + "erase.ico", Bin(), shellSizes);
    ok &= WriteIcon(dir + "password.ico", Key(kGold), glyph);
    ok &= WriteIcon(dir + "clear_session.ico", KeyCrossed(), glyph);
    ok &= WriteIcon(dir + "settings.ico", Gear(), std::vector<int>{24});
    ok &= WriteIcon(dir + "terminate.ico", Power(), std::vector<int>{24});

    // The tray image list, by index: 0 the program in the tray, 1 to 3 its
    // busy, success and failure states, 4 terminate, 5 the password, 6 open,
    // 7 wipe and erase, 8 settings, 9 encrypt, 10 decrypt.
    const Drawing tray[11] = {
        Padlock(kBrass, false),
        WithBadge(Padlock(kBrass, false), kBlue),
        WithBadge(Padlock(kBrass, false), kGreen),
        WithBadge(Padlock(kBrass, false), kRed),
        Power(),
        Key(kGold),
        Eye(),
        Bin(),
        Gear(),
        Padlock(kBlue, false),
        Padlock(kGreen, true),
    };
    for (int i = 0; i < 11; ++i) ok &= WriteIcon(dir + "tray" + std::to_string(i) + ".ico", tray[i], small);

    ok &= WriteBitmap(dir + "marble.bmp", Marble(56, 48));
    if (!ok) {
        std::fprintf(stderr, "draw_pictures: cannot write into %s\n", argv[1]);
        return 1;
    }
    return 0;
}
