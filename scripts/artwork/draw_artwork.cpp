// Draws the application icon and the product picture of the main window.
// Run through scripts/draw-artwork; the PNGs it writes are kept in the tree.
#include <QFont>
#include <QGuiApplication>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <cstdio>

namespace {

const QColor kBody(0x1F, 0x5F, 0x73);
const QColor kBodyLight(0x2E, 0x86, 0x9E);
const QColor kSlot(0x12, 0x3A, 0x46);
const QColor kPaper(0xFF, 0xFF, 0xFF);
const QColor kInk(0x9A, 0xA8, 0xAE);
const QColor kAccent(0xF2, 0xA1, 0x3B);

// A fiscal printer with a receipt coming out of it, drawn in a square of
// side s at the painter's origin.
void DrawPrinter(QPainter& p, qreal s) {
  p.setPen(Qt::NoPen);

  // The receipt, its lower end hidden inside the printer.
  QRectF paper(s * 0.27, s * 0.06, s * 0.46, s * 0.52);
  QPainterPath receipt;
  receipt.moveTo(paper.left(), paper.bottom());
  receipt.lineTo(paper.left(), paper.top());
  receipt.lineTo(paper.right(), paper.top());
  receipt.lineTo(paper.right(), paper.bottom());
  p.setBrush(kPaper);
  p.setPen(QPen(QColor(0xC8, 0xD2, 0xD6), s / 128.0));
  p.drawPath(receipt);
  p.setPen(Qt::NoPen);
  p.setBrush(kInk);
  const qreal line = s * 0.035;
  for (int i = 0; i < 4; ++i) {
    const qreal y = paper.top() + s * 0.07 + i * s * 0.075;
    const qreal width = i == 3 ? paper.width() * 0.45 : paper.width() * 0.72;
    p.drawRoundedRect(QRectF(paper.left() + paper.width() * 0.14, y, width, line), line / 2,
                      line / 2);
  }
  p.setBrush(kAccent);
  p.drawRoundedRect(QRectF(paper.right() - paper.width() * 0.38,
                           paper.top() + s * 0.07 + 3 * s * 0.075, paper.width() * 0.24, line),
                    line / 2, line / 2);

  // The body.
  QRectF body(s * 0.08, s * 0.42, s * 0.84, s * 0.48);
  QLinearGradient shade(body.topLeft(), body.bottomLeft());
  shade.setColorAt(0, kBodyLight);
  shade.setColorAt(1, kBody);
  p.setBrush(shade);
  p.drawRoundedRect(body, s * 0.09, s * 0.09);

  // The paper slot and a status light.
  p.setBrush(kSlot);
  p.drawRoundedRect(QRectF(s * 0.22, s * 0.47, s * 0.56, s * 0.045), s * 0.02, s * 0.02);
  p.setBrush(kAccent);
  p.drawEllipse(QRectF(s * 0.72, s * 0.70, s * 0.08, s * 0.08));
  p.setBrush(QColor(0xFF, 0xFF, 0xFF, 0x50));
  p.drawRoundedRect(QRectF(s * 0.20, s * 0.72, s * 0.40, s * 0.04), s * 0.02, s * 0.02);
}

bool SaveIcon(const QString& path, int size) {
  QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
  image.fill(Qt::transparent);
  QPainter p(&image);
  p.setRenderHint(QPainter::Antialiasing);
  DrawPrinter(p, size);
  p.end();
  return image.save(path);
}

bool SaveProductPicture(const QString& path) {
  const int width = 560, height = 300;
  QImage image(width, height, QImage::Format_RGB32);
  image.fill(Qt::white);
  QPainter p(&image);
  p.setRenderHint(QPainter::Antialiasing);
  p.setRenderHint(QPainter::TextAntialiasing);

  p.save();
  p.translate(20, 40);
  DrawPrinter(p, 220);
  p.restore();

  QFont name("DejaVu Sans", 40, QFont::Bold);
  p.setFont(name);
  p.setPen(kBody);
  p.drawText(QRectF(260, 80, 290, 70), Qt::AlignLeft | Qt::AlignVCenter, "Taloven");

  p.setPen(Qt::NoPen);
  p.setBrush(kAccent);
  p.drawRect(QRectF(264, 152, 72, 4));

  QFont line("DejaVu Sans", 11);
  p.setFont(line);
  p.setPen(QColor(0x4A, 0x5A, 0x60));
  p.drawText(QRectF(264, 166, 290, 80), Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap,
             QString::fromUtf8("Teste, diagnóstico e programação\nde impressoras fiscais"));
  p.end();
  return image.save(path);
}

}  // namespace

int main(int argc, char** argv) {
  QGuiApplication app(argc, argv);
  if (argc != 3) {
    std::fprintf(stderr, "usage: draw_artwork RESOURCE_DIR ICON_THEME_DIR\n");
    return 1;
  }
  const QString dir = QString::fromLocal8Bit(argv[1]);
  bool ok = SaveIcon(dir + "/taloven_icon.png", 256) &&
            SaveIcon(dir + "/taloven_icon_32.png", 32) && SaveProductPicture(dir + "/product.png");
  if (!ok) std::fprintf(stderr, "could not write the pictures into %s\n", argv[1]);
  // The desktop menu's icons, one folder per size of the icon theme.
  const QString themeDir = QString::fromLocal8Bit(argv[2]);
  for (int size : {48, 128, 256}) {
    if (!SaveIcon(QString("%1/%2/taloven.png").arg(themeDir).arg(size), size)) {
      std::fprintf(stderr, "could not write the %d pixel icon into %s\n", size, argv[2]);
      ok = false;
    }
  }
  return ok ? 0 : 1;
}
