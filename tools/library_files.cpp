// Writes the binary files of the sample program directory: placeholder
// support files for the simulated unit, the manufacturer pictures and the two
// logo files. Every byte follows from the file's name, so a build always
// writes the same files.
//
//   quenlet_library_files <program directory> <file>...
//
// Each <file> is a path below the program directory; its name says what it
// is. An unknown name is an error.
#include <QColor>
#include <QFont>
#include <QGuiApplication>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <optional>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;
using Bytes = std::vector<uint8_t>;

// The look's palette.
const QColor kFrameTop(0x2B, 0x34, 0x40);
const QColor kFrameBottom(0x1E, 0x25, 0x2E);
const QColor kFrameEdge(0x3C, 0x47, 0x56);
const QColor kSurface(0xF4, 0xF6, 0xF8);
const QColor kSurfaceBorder(0xC9, 0xD1, 0xDA);
const QColor kText(0x1F, 0x29, 0x33);
const QColor kMuted(0x5B, 0x67, 0x75);
const QColor kFrameText(0xE6, 0xEB, 0xF0);
const QColor kAccent(0x1F, 0x6F, 0xD1);
const QColor kAccentLight(0xDC, 0xEB, 0xFA);
const QColor kDisabled(0xAE, 0xB7, 0xC1);

std::string Upper(std::string s) {
  for (char& c : s) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return s;
}

// A recognisable header, then bytes of a generator seeded by the name.
Bytes Placeholder(const std::string& name, size_t size) {
  const std::string header = "QUENLET PLACEHOLDER " + Upper(name) +
                             ": FOR THE SIMULATED UNIT ONLY, NOT FOR A REAL PROGRAMMER\r\n";
  Bytes bytes(header.begin(), header.end());
  bytes.push_back(0);
  uint32_t state = 2166136261u;  // FNV-1a of the name
  for (char c : name) state = (state ^ static_cast<uint8_t>(c)) * 16777619u;
  while (bytes.size() < size) {
    state = state * 1664525u + 1013904223u;
    bytes.push_back(static_cast<uint8_t>(state >> 24));
  }
  bytes.resize(size);
  return bytes;
}

void PutLe(Bytes& b, size_t at, uint32_t value, int count) {
  for (int i = 0; i < count; ++i) b[at + i] = static_cast<uint8_t>(value >> (8 * i));
}

// A Windows bitmap file: 24 bits per pixel, rows bottom up, a 54-byte header.
Bytes Bmp(const QImage& picture) {
  const QImage image = picture.convertToFormat(QImage::Format_RGB32);
  const int w = image.width();
  const int h = image.height();
  const size_t row = (static_cast<size_t>(w) * 3 + 3) & ~size_t{3};
  const size_t pixels = row * h;
  Bytes b(54 + pixels, 0);
  b[0] = 'B';
  b[1] = 'M';
  PutLe(b, 2, static_cast<uint32_t>(b.size()), 4);
  PutLe(b, 10, 54, 4);
  PutLe(b, 14, 40, 4);
  PutLe(b, 18, static_cast<uint32_t>(w), 4);
  PutLe(b, 22, static_cast<uint32_t>(h), 4);
  PutLe(b, 26, 1, 2);
  PutLe(b, 28, 24, 2);
  PutLe(b, 34, static_cast<uint32_t>(pixels), 4);
  PutLe(b, 38, 3780, 4);  // 96 dots per inch
  PutLe(b, 42, 3780, 4);
  for (int y = 0; y < h; ++y) {
    const auto* line = reinterpret_cast<const QRgb*>(image.constScanLine(h - 1 - y));
    uint8_t* out = b.data() + 54 + row * y;
    for (int x = 0; x < w; ++x) {
      out[3 * x] = static_cast<uint8_t>(qBlue(line[x]));
      out[3 * x + 1] = static_cast<uint8_t>(qGreen(line[x]));
      out[3 * x + 2] = static_cast<uint8_t>(qRed(line[x]));
    }
  }
  return b;
}

// The logo files keep the bitmap's 54 header bytes at the end.
Bytes LogoFile(const QImage& picture) {
  const Bytes bmp = Bmp(picture);
  Bytes logo(bmp.begin() + 54, bmp.end());
  logo.insert(logo.end(), bmp.begin(), bmp.begin() + 54);
  return logo;
}

QFont Font(int pixels, int weight = QFont::Normal) {
  QFont f(QStringLiteral("DejaVu Sans"));
  f.setPixelSize(pixels);
  f.setWeight(static_cast<QFont::Weight>(weight));
  return f;
}

// The program's chip glyph: a body with a notch and pins on two sides.
void DrawChip(QPainter& p, const QRectF& body, const QColor& stroke, qreal pen, int pins) {
  p.save();
  p.setPen(QPen(stroke, pen, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
  p.setBrush(Qt::NoBrush);
  p.drawRoundedRect(body, body.width() * 0.08, body.width() * 0.08);
  const qreal notch = body.width() * 0.14;
  p.drawArc(QRectF(body.center().x() - notch, body.top() - notch, 2 * notch, 2 * notch), 180 * 16,
            180 * 16);
  const qreal gap = body.height() / (pins + 1);
  const qreal reach = body.width() * 0.22;
  for (int i = 1; i <= pins; ++i) {
    const qreal y = body.top() + i * gap;
    p.drawLine(QPointF(body.left() - reach, y), QPointF(body.left(), y));
    p.drawLine(QPointF(body.right(), y), QPointF(body.right() + reach, y));
  }
  p.restore();
}

void FillFrame(QPainter& p, const QRect& r) {
  QLinearGradient g(r.topLeft(), r.bottomLeft());
  g.setColorAt(0, kFrameTop);
  g.setColorAt(1, kFrameBottom);
  p.fillRect(r, g);
}

// The main window's logo, on the toolbar's frame.
QImage MainLogo() {
  QImage image(128, 44, QImage::Format_RGB32);
  QPainter p(&image);
  p.setRenderHint(QPainter::Antialiasing);
  p.setRenderHint(QPainter::TextAntialiasing);
  FillFrame(p, image.rect());
  DrawChip(p, QRectF(12, 10, 16, 24), kAccentLight, 2, 3);
  p.setPen(kFrameText);
  p.setFont(Font(18, QFont::DemiBold));
  p.drawText(QRect(40, 0, 88, 44), Qt::AlignVCenter | Qt::AlignLeft, QStringLiteral("Quenlet"));
  return image;
}

// The start-up picture.
QImage Splash() {
  QImage image(556, 390, QImage::Format_RGB32);
  QPainter p(&image);
  p.setRenderHint(QPainter::Antialiasing);
  p.setRenderHint(QPainter::TextAntialiasing);
  FillFrame(p, image.rect());
  p.setPen(QPen(kFrameEdge, 1));
  p.drawRect(QRectF(0.5, 0.5, 555, 389));
  // A large chip in an accent disc.
  p.setPen(Qt::NoPen);
  p.setBrush(QColor(0x1F, 0x6F, 0xD1, 60));
  p.drawEllipse(QPointF(278, 140), 76, 76);
  DrawChip(p, QRectF(250, 96, 56, 88), kAccentLight, 4, 4);
  p.setPen(kFrameText);
  p.setFont(Font(40, QFont::DemiBold));
  p.drawText(QRect(0, 232, 556, 52), Qt::AlignCenter, QStringLiteral("Quenlet"));
  p.setPen(kDisabled);
  p.setFont(Font(16));
  p.drawText(QRect(0, 284, 556, 24), Qt::AlignCenter, QStringLiteral("USB device programmer"));
  p.setFont(Font(12));
  p.drawText(QRect(0, 344, 556, 20), Qt::AlignCenter, QStringLiteral("Starting\u2026"));
  return image;
}

// A manufacturer's picture for the device dialog; no name draws the
// neutral picture shown for makers without one.
QImage Badge(const QString& name) {
  QImage image(120, 60, QImage::Format_RGB32);
  QPainter p(&image);
  p.setRenderHint(QPainter::Antialiasing);
  p.setRenderHint(QPainter::TextAntialiasing);
  image.fill(kSurface);
  p.setPen(QPen(kSurfaceBorder, 1));
  p.drawRect(QRectF(0.5, 0.5, 119, 59));
  if (name.isEmpty()) {
    DrawChip(p, QRectF(53, 12, 14, 22), kDisabled, 1.5, 3);
    p.setPen(kMuted);
    p.setFont(Font(11));
    p.drawText(QRect(0, 38, 120, 16), Qt::AlignCenter, QStringLiteral("No picture"));
  } else {
    p.setBrush(kAccentLight);
    p.setPen(Qt::NoPen);
    p.drawRoundedRect(QRectF(8, 10, 40, 40), 6, 6);
    DrawChip(p, QRectF(21, 18, 14, 24), kAccent, 2, 3);
    p.setPen(kText);
    p.setFont(Font(12, QFont::DemiBold));
    p.drawText(QRect(54, 8, 62, 44), Qt::AlignVCenter | Qt::AlignLeft | Qt::TextWordWrap, name);
  }
  return image;
}

std::optional<Bytes> Contents(const std::string& relative) {
  const fs::path path(relative);
  const std::string name = path.filename().string();
  const std::string upper = Upper(name);
  const std::string folder = Upper(path.parent_path().string());
  const std::string extension = Upper(path.extension().string());
  if (upper == "TEMP0.CUE") return LogoFile(MainLogo());
  if (upper == "TEMP1.CUE") return LogoFile(Splash());
  if (folder == "BMPDATA" && extension == ".BMP") {
    const std::string stem = path.stem().string();
    return Bmp(Badge(Upper(stem) == "NULL" ? QString() : QString::fromStdString(stem)));
  }
  // The pin-scan driver must stay within 8 KB to be taken into the
  // algorithm image; FPGA images fill their 8 KB part; drivers are short.
  if (upper == "SCAN.DRV") return Placeholder(name, 2048);
  if (extension == ".BIT") return Placeholder(name, 8192);
  if (extension == ".DRV") return Placeholder(name, 4096);
  return std::nullopt;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 3) {
    std::fprintf(stderr, "usage: %s <program directory> <file>...\n", argv[0]);
    return 2;
  }
  const fs::path root(argv[1]);
  const std::vector<std::string> files(argv + 2, argv + argc);
  // Text needs fonts, and fonts need an application; no display is used,
  // so Qt's notes about the session are of no interest to a build.
  qputenv("QT_QPA_PLATFORM", "offscreen");
  qInstallMessageHandler([](QtMsgType type, const QMessageLogContext&, const QString& text) {
    if (type == QtCriticalMsg || type == QtFatalMsg) {
      std::fprintf(stderr, "library files: %s\n", qPrintable(text));
    }
  });
  QGuiApplication app(argc, argv);
  for (const std::string& file : files) {
    const std::optional<Bytes> bytes = Contents(file);
    if (!bytes) {
      std::fprintf(stderr, "library files: no contents known for %s\n", file.c_str());
      return 1;
    }
    const fs::path target = root / file;
    fs::create_directories(target.parent_path());
    std::ofstream out(target, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes->data()),
              static_cast<std::streamsize>(bytes->size()));
    if (!out) {
      std::fprintf(stderr, "library files: cannot write %s\n", target.c_str());
      return 1;
    }
  }
  return 0;
}
