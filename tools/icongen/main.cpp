// Draws the program's images with QPainter: the clean built-in icons, the big buttons, the About
// banner, the program icon, and the sketchy icons of the "handdrawn" theme. Every shape is
// described once on a design grid and rendered in either style, so both sets show the same motifs.
//
// Usage: icongen <repository root> [--preview <file.png>]
#include <QDir>
#include <QFile>
#include <QFont>
#include <QGuiApplication>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QPainterPathStroker>
#include <QTextStream>

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <vector>

namespace {

constexpr double kPi = 3.14159265358979323846;

// One shape: a filled area with an outline, or (no fill) an open line drawn with the outline pen.
struct Part {
  QPainterPath path;
  QColor fill;         // invalid: not filled
  QColor line;         // invalid: no outline
  double width = 1.0;  // outline width as a factor of the style's pen
};

struct Design {
  double grid = 32;  // design units across the image
  std::vector<Part> parts;
};

enum class Style { Clean, Sketchy };

// Colours: fill and outline pairs.
const QColor kPaper("#fdfdfb"), kPaperLine("#6b7b8c");
const QColor kFolder("#f6c453"), kFolderLine("#b07d22");
const QColor kGreen("#3fae49"), kGreenLine("#23732c");
const QColor kBlue("#3b82d6"), kBlueLine("#1f4f8f");
const QColor kRed("#e0463c"), kRedLine("#9c241d");
const QColor kOrange("#f39a2b"), kOrangeLine("#ad5e15");
const QColor kGrey("#9aa5b1"), kGreyLine("#566270");
const QColor kGold("#ffd23f"), kGoldLine("#b98a00");
const QColor kTeal("#2aa7a0"), kTealLine("#176b66");
const QColor kWhite("#ffffff");
const QColor kSky("#8fd0f7"), kHill("#5cb85c"), kWood("#c98b4f"), kWoodLine("#7a4f25");

// ---- geometry helpers (design units) ----

QPainterPath circle(double cx, double cy, double r) {
  QPainterPath p;
  p.addEllipse(QPointF(cx, cy), r, r);
  return p;
}

QPainterPath roundRect(double x, double y, double w, double h, double r) {
  QPainterPath p;
  p.addRoundedRect(QRectF(x, y, w, h), r, r);
  return p;
}

QPainterPath line(std::initializer_list<QPointF> points) {
  QPainterPath p;
  bool first = true;
  for (const QPointF& pt : points) {
    if (first)
      p.moveTo(pt);
    else
      p.lineTo(pt);
    first = false;
  }
  return p;
}

QPainterPath polygon(std::initializer_list<QPointF> points) {
  QPainterPath p = line(points);
  p.closeSubpath();
  return p;
}

// A thick line turned into a fillable outline.
QPainterPath thick(const QPainterPath& centre, double width, Qt::PenCapStyle cap = Qt::RoundCap) {
  QPainterPathStroker stroker;
  stroker.setWidth(width);
  stroker.setCapStyle(cap);
  stroker.setJoinStyle(Qt::RoundJoin);
  return stroker.createStroke(centre).simplified();
}

QPainterPath arrow(QPointF from, QPointF to, double shaft, double head) {
  QPointF d = to - from;
  const double len = std::hypot(d.x(), d.y());
  d /= len;
  const QPointF n(-d.y(), d.x());
  const double headLength = head * 0.85;
  const QPointF base = to - d * headLength;
  return polygon({from + n * shaft / 2, base + n * shaft / 2, base + n * head / 2, to, base - n * head / 2,
                  base - n * shaft / 2, from - n * shaft / 2});
}

QPainterPath page(double x, double y, double w, double h, double fold) {
  return polygon({{x, y}, {x + w - fold, y}, {x + w, y + fold}, {x + w, y + h}, {x, y + h}});
}

QPainterPath pageFold(double x, double y, double w, double fold) {
  return polygon({{x + w - fold, y}, {x + w - fold, y + fold}, {x + w, y + fold}});
}

QPainterPath folderBack(double x, double y, double w, double h) {
  return polygon({{x, y + h},
                  {x, y + 1},
                  {x + 1, y},
                  {x + w * 0.38, y},
                  {x + w * 0.45, y + 3},
                  {x + w - 1, y + 3},
                  {x + w, y + 4},
                  {x + w, y + h}});
}

QPainterPath folderFront(double x, double y, double w, double h) {
  return polygon({{x, y + h}, {x + 2, y + 7}, {x + w + 1.5, y + 7}, {x + w, y + h}});
}

QPainterPath star(double cx, double cy, double outer, double inner) {
  QPainterPath p;
  for (int i = 0; i < 10; ++i) {
    const double a = -kPi / 2 + i * kPi / 5;
    const double r = i % 2 == 0 ? outer : inner;
    const QPointF pt(cx + r * std::cos(a), cy + r * std::sin(a));
    if (i == 0)
      p.moveTo(pt);
    else
      p.lineTo(pt);
  }
  p.closeSubpath();
  return p;
}

QPainterPath gear(double cx, double cy, double outer, double root, double hole, int teeth) {
  QPainterPath p;
  const double pitch = 2 * kPi / teeth;
  for (int i = 0; i < teeth; ++i) {
    const double a = i * pitch;
    const double angles[4] = {a - 0.30 * pitch, a - 0.17 * pitch, a + 0.17 * pitch, a + 0.30 * pitch};
    const double radii[4] = {root, outer, outer, root};
    for (int k = 0; k < 4; ++k) {
      const QPointF pt(cx + radii[k] * std::cos(angles[k]), cy + radii[k] * std::sin(angles[k]));
      if (i == 0 && k == 0)
        p.moveTo(pt);
      else
        p.lineTo(pt);
    }
  }
  p.closeSubpath();
  return p.subtracted(circle(cx, cy, hole));
}

// An arc (angles in degrees, clockwise on screen) with an arrow head at its end.
QPainterPath arcArrow(double cx, double cy, double r, double from, double to, double width, double head) {
  QPainterPath arc;
  const int steps = 24;
  for (int i = 0; i <= steps; ++i) {
    const double a = (from + (to - from) * i / steps) * kPi / 180;
    const QPointF pt(cx + r * std::cos(a), cy + r * std::sin(a));
    if (i == 0)
      arc.moveTo(pt);
    else
      arc.lineTo(pt);
  }
  const double a = to * kPi / 180;
  const QPointF end(cx + r * std::cos(a), cy + r * std::sin(a));
  const QPointF radial(std::cos(a), std::sin(a));
  const QPointF tangent(-std::sin(a), std::cos(a));
  const QPainterPath tip =
      polygon({end + radial * head / 2, end + tangent * head * 0.8, end - radial * head / 2});
  return thick(arc, width, Qt::FlatCap).united(tip).simplified();
}

QPainterPath questionMark(double cx, double cy, double scale) {
  QPainterPath hook;
  const double r = 4.2 * scale;
  const QPointF c(cx, cy - 3.6 * scale);
  for (int i = 0; i <= 20; ++i) {
    const double a = (200 + 190.0 * i / 20) * kPi / 180;
    const QPointF pt = c + QPointF(r * std::cos(a), r * std::sin(a));
    if (i == 0)
      hook.moveTo(pt);
    else
      hook.lineTo(pt);
  }
  hook.lineTo(cx, cy + 3.2 * scale);
  return thick(hook, 3.2 * scale, Qt::RoundCap)
      .united(circle(cx, cy + 7.6 * scale, 1.9 * scale))
      .simplified();
}

QPainterPath letterI(double cx, double cy, double scale) {
  return roundRect(cx - 1.8 * scale, cy - 2.5 * scale, 3.6 * scale, 11 * scale, 1 * scale)
      .united(circle(cx, cy - 6.5 * scale, 2.1 * scale));
}

QPainterPath exclamation(double cx, double cy, double scale) {
  return roundRect(cx - 1.8 * scale, cy - 8.5 * scale, 3.6 * scale, 11.5 * scale, 1 * scale)
      .united(circle(cx, cy + 6.5 * scale, 2.1 * scale));
}

QPainterPath plusSign(double cx, double cy, double arm, double t) {
  return QPainterPath(roundRect(cx - arm, cy - t / 2, 2 * arm, t, 0.8))
      .united(roundRect(cx - t / 2, cy - arm, t, 2 * arm, 0.8));
}

void add(Design& d, QPainterPath path, QColor fill, QColor lineColour, double width = 1.0) {
  d.parts.push_back(Part{std::move(path), fill, lineColour, width});
}

void addPageLines(Design& d, double x, double y, double w, int count, double gap) {
  for (int i = 0; i < count; ++i) add(d, line({{x, y + i * gap}, {x + w, y + i * gap}}), {}, kGrey, 0.8);
}

void addFolder(Design& d, double x, double y, double w, double h) {
  add(d, folderBack(x, y, w, h), kFolder.darker(112), kFolderLine);
  add(d, folderFront(x, y, w, h), kFolder, kFolderLine);
}

void addTray(Design& d) {
  add(d, polygon({{3, 17}, {3, 28}, {29, 28}, {29, 17}, {25, 17}, {25, 24}, {7, 24}, {7, 17}}), kGrey,
      kGreyLine);
}

void addSun(Design& d, double cx, double cy, double r, double rayIn, double rayOut, int rays) {
  for (int i = 0; i < rays; ++i) {
    const double a = i * 2 * kPi / rays;
    const double w = kPi / rays * 0.45;
    add(d,
        polygon({{cx + rayIn * std::cos(a - w), cy + rayIn * std::sin(a - w)},
                 {cx + rayOut * std::cos(a), cy + rayOut * std::sin(a)},
                 {cx + rayIn * std::cos(a + w), cy + rayIn * std::sin(a + w)}}),
        kOrange, kOrangeLine);
  }
  add(d, circle(cx, cy, r), kGold, kOrangeLine);
}

// The design of one key on a 32-unit grid (big buttons on their own grid).
Design design(const QString& key, bool big) {
  Design d;
  if (big && key == "Convert") {
    d.grid = 64;
    add(d, roundRect(2, 3, 36, 29, 2), kPaper, kPaperLine, 1.4);
    add(d, QPainterPath(roundRect(6, 7, 28, 21, 1)), kSky, kBlueLine, 0.8);
    QPainterPath hill;
    hill.moveTo(6, 28);
    hill.lineTo(6, 23);
    hill.cubicTo(13, 15, 19, 16, 25, 21);
    hill.cubicTo(28, 19, 31, 18, 34, 20);
    hill.lineTo(34, 28);
    hill.closeSubpath();
    add(d, hill, kHill, kGreenLine, 0.8);
    add(d, circle(13, 13, 3.2), kGold, kGoldLine, 0.8);
    add(d, arrow({18, 32}, {37, 51}, 7, 15), kOrange.lighter(105), kOrangeLine, 1.4);
    addSun(d, 51, 51, 6.5, 8.5, 12.5, 10);
    return d;
  }
  if (big && key == "InFiles") {
    add(d, page(11, 2, 17, 22, 5), kPaper.darker(104), kPaperLine);
    add(d, page(7, 6, 17, 23, 5), kPaper, kPaperLine);
    add(d, pageFold(7, 6, 17, 5), kPaper.darker(112), kPaperLine);
    addPageLines(d, 11, 15, 8, 3, 3.5);
    add(d, arrow({1, 22}, {15, 22}, 4.5, 10), kGreen, kGreenLine);
    return d;
  }
  if (key == "New") {
    add(d, page(6, 2, 20, 28, 7), kPaper, kPaperLine);
    add(d, pageFold(6, 2, 20, 7), kPaper.darker(112), kPaperLine);
    addPageLines(d, 10, 14, 12, 4, 3.5);
  } else if (key == "Add") {
    add(d, circle(16, 16, 13.5), kGreen, kGreenLine);
    add(d, plusSign(16, 16, 8, 4.4), kWhite, {});
  } else if (key == "InFiles") {
    add(d, page(10, 2, 19, 27, 6), kPaper, kPaperLine);
    add(d, pageFold(10, 2, 19, 6), kPaper.darker(112), kPaperLine);
    add(d, arrow({1, 18}, {19, 18}, 5, 12), kGreen, kGreenLine);
  } else if (key == "InFolder") {
    addFolder(d, 2, 9, 28, 20);
    add(d, arrow({16, 1}, {16, 22}, 5, 12), kGreen, kGreenLine);
  } else if (key == "OutFolder") {
    addFolder(d, 2, 9, 28, 20);
    add(d, arrow({13, 22}, {28, 3}, 5, 12), kBlue, kBlueLine);
  } else if (key == "OutFormat") {
    const double ys[3] = {8, 16, 24};
    const double xs[3] = {11, 21, 15};
    const QColor knobs[3] = {kBlue, kOrange, kGreen};
    const QColor knobLines[3] = {kBlueLine, kOrangeLine, kGreenLine};
    for (int i = 0; i < 3; ++i) {
      add(d, roundRect(3, ys[i] - 1.5, 26, 3, 1.5), kGrey, kGreyLine, 0.8);
      add(d, circle(xs[i], ys[i], 3.6), knobs[i], knobLines[i]);
    }
  } else if (key == "FavFolder") {
    addFolder(d, 1, 6, 26, 19);
    add(d, star(22, 21, 9, 3.8), kGold, kGoldLine);
  } else if (key == "ImportFiles") {
    addTray(d);
    add(d, arrow({16, 1}, {16, 23}, 5.5, 13), kGreen, kGreenLine);
  } else if (key == "ExportFiles") {
    addTray(d);
    add(d, arrow({16, 22}, {16, 1}, 5.5, 13), kBlue, kBlueLine);
  } else if (key == "Exit") {
    add(d, QPainterPath(roundRect(4, 3, 15, 26, 1)), kWood, kWoodLine);
    add(d, circle(15.5, 17, 1.4), kGold, kWoodLine, 0.6);
    add(d, arrow({13, 16}, {31, 16}, 5, 12), kRed, kRedLine);
  } else if (key == "Copy") {
    add(d, page(11, 2, 18, 21, 5), kPaper.darker(104), kPaperLine);
    add(d, page(4, 9, 18, 21, 5), kPaper, kPaperLine);
    add(d, pageFold(4, 9, 18, 5), kPaper.darker(112), kPaperLine);
  } else if (key == "Delete") {
    QPainterPath bar = roundRect(-12, -2.6, 24, 5.2, 1.2);
    QTransform a, b;
    a.translate(16, 16);
    a.rotate(45);
    b.translate(16, 16);
    b.rotate(-45);
    add(d, a.map(bar).united(b.map(bar)).simplified(), kRed, kRedLine);
  } else if (key == "SelectAll") {
    add(d, QPainterPath(roundRect(4, 4, 24, 24, 1)), QColor(59, 130, 214, 60), {});
    QPainterPath dashes;
    for (int i = 0; i < 6; ++i) {
      const double t = 4 + i * 4;
      dashes.moveTo(t, 4);
      dashes.lineTo(t + 2.4, 4);
      dashes.moveTo(t, 28);
      dashes.lineTo(t + 2.4, 28);
      dashes.moveTo(4, t);
      dashes.lineTo(4, t + 2.4);
      dashes.moveTo(28, t);
      dashes.lineTo(28, t + 2.4);
    }
    add(d, dashes, {}, kBlueLine, 1.0);
    add(d, thick(line({{9, 16}, {14, 21}, {23, 10}}), 4), kGreen, kGreenLine);
  } else if (key == "Convert") {
    add(d, arrow({2, 16}, {30, 16}, 9, 22), kOrange, kOrangeLine);
  } else if (key == "Error") {
    add(d, circle(16, 16, 13.5), kRed, kRedLine);
    add(d, exclamation(16, 16, 1), kWhite, {});
  } else if (key == "Preferences") {
    add(d, gear(16, 16, 14.5, 10.5, 4.5, 8), kGrey, kGreyLine);
  } else if (key == "CustomConverter") {
    add(d, thick(line({{19, 19}, {28, 28}}), 5), kWood, kWoodLine);
    add(d, circle(13, 13, 7), QColor("#d8eefb"), {});
    add(d, circle(13, 13, 10).subtracted(circle(13, 13, 7)), kGrey, kGreyLine);
  } else if (key == "Help") {
    add(d, circle(16, 16, 13.5), kBlue, kBlueLine);
    add(d, questionMark(16, 15.5, 1), kWhite, {});
  } else if (key == "Email") {
    add(d, QPainterPath(roundRect(3, 7, 26, 19, 1.5)), kPaper, kPaperLine);
    add(d, line({{3.5, 8}, {16, 18}, {28.5, 8}}), {}, kPaperLine, 1.0);
    add(d, line({{4, 25}, {13, 16}}), {}, kPaperLine, 0.7);
    add(d, line({{28, 25}, {19, 16}}), {}, kPaperLine, 0.7);
  } else if (key == "Web") {
    add(d, circle(16, 16, 13.5), QColor("#4fb3e8"), kBlueLine);
    QPainterPath meridian;
    meridian.addEllipse(QPointF(16, 16), 6, 13.5);
    add(d, meridian, {}, kBlueLine, 0.8);
    add(d, line({{16, 2.5}, {16, 29.5}}), {}, kBlueLine, 0.8);
    add(d, line({{2.5, 16}, {29.5, 16}}), {}, kBlueLine, 0.8);
    add(d, line({{5, 9}, {27, 9}}), {}, kBlueLine, 0.8);
    add(d, line({{5, 23}, {27, 23}}), {}, kBlueLine, 0.8);
  } else if (key == "Updates") {
    add(d, arcArrow(16, 16, 10.5, 200, 335, 4.5, 10), kGreen, kGreenLine);
    add(d, arcArrow(16, 16, 10.5, 20, 155, 4.5, 10), kGreen, kGreenLine);
  } else if (key == "About") {
    add(d, circle(16, 16, 13.5), kTeal, kTealLine);
    add(d, letterI(16, 17, 1), kWhite, {});
  }
  return d;
}

// The program's own icon: a landscape photograph whose sun breaks out of the frame, bright
// beyond the picture's range. Drawn on a 64-unit grid; the smallest sizes drop the hill's
// detail so the two shapes stay readable.
Design appIconDesign(int size) {
  Design d;
  d.grid = 64;
  add(d, roundRect(4, 12, 46, 40, 4), kPaper, kPaperLine, 1.3);
  add(d, QPainterPath(roundRect(9, 17, 36, 30, 1.5)), kSky, kBlueLine, 0.9);
  QPainterPath hill;
  hill.moveTo(9, 47);
  hill.lineTo(9, 39);
  if (size >= 32) {
    hill.cubicTo(17, 29, 25, 31, 31, 37);
    hill.cubicTo(35, 34, 40, 33, 45, 36);
  } else {
    hill.cubicTo(20, 30, 34, 30, 45, 38);
  }
  hill.lineTo(45, 47);
  hill.closeSubpath();
  add(d, hill, kHill, kGreenLine, 0.9);
  addSun(d, 46, 18, 9, 12, size >= 32 ? 17.5 : 16.5, size >= 32 ? 12 : 8);
  return d;
}

const int kAppIconSizes[] = {16, 32, 48, 64, 128, 256};

// ---- rendering ----

uint32_t mix(uint32_t x) {
  x ^= x >> 16;
  x *= 0x7feb352du;
  x ^= x >> 15;
  x *= 0x846ca68bu;
  x ^= x >> 16;
  return x;
}

// A repeatable value in [-1, 1].
double noise(uint32_t seed, uint32_t i) { return (mix(seed * 2654435761u + i) & 0xffff) / 32767.5 - 1.0; }

uint32_t seedOf(const QString& text) {
  uint32_t h = 2166136261u;
  for (QChar c : text) h = (h ^ c.unicode()) * 16777619u;
  return h;
}

// A shaky copy of a polyline: resampled about every step units and pushed sideways a little.
QPolygonF wobble(const QPolygonF& in, double step, double amount, uint32_t seed) {
  QPolygonF out;
  uint32_t n = 0;
  for (int i = 0; i + 1 < in.size(); ++i) {
    const QPointF a = in[i], b = in[i + 1];
    const double len = std::hypot(b.x() - a.x(), b.y() - a.y());
    const int pieces = std::max(1, static_cast<int>(std::ceil(len / step)));
    for (int k = 0; k < pieces; ++k) {
      const QPointF p = a + (b - a) * (static_cast<double>(k) / pieces);
      out << p + QPointF(noise(seed, n) * amount, noise(seed + 1, n) * amount);
      ++n;
    }
  }
  if (!in.isEmpty()) out << in.last() + QPointF(noise(seed, n) * amount, noise(seed + 1, n) * amount);
  return out;
}

QImage render(const Design& d, int size, Style style, const QString& name) {
  QImage image(size, size, QImage::Format_ARGB32);
  image.fill(Qt::transparent);
  QPainter p(&image);
  p.setRenderHint(QPainter::Antialiasing);
  const double scale = size / d.grid;
  p.scale(scale, scale);
  const double unit = 1.0 / scale;  // one pixel in design units
  // Outlines: one pixel on small icons, growing slowly with the size.
  const double penUnits = std::max(1.0, size * 32.0 / d.grid / 22.0) * unit;
  const uint32_t seed = seedOf(name) ^ static_cast<uint32_t>(size) * 7919u;

  int index = 0;
  for (const Part& part : d.parts) {
    ++index;
    const QRectF box = part.path.boundingRect();
    if (style == Style::Clean) {
      if (part.fill.isValid()) {
        QLinearGradient g(box.topLeft(), box.bottomLeft());
        g.setColorAt(0, part.fill.lighter(118));
        g.setColorAt(1, part.fill);
        p.fillPath(part.path, g);
      }
      if (part.line.isValid()) {
        QPen pen(part.line, penUnits * part.width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
        p.strokePath(part.path, pen);
      }
      continue;
    }
    // Sketchy: a flat crayon fill slightly off its outline, hatching on larger sizes, and a
    // doubled graphite outline that wobbles.
    const uint32_t partSeed = seed + static_cast<uint32_t>(index) * 104729u;
    if (part.fill.isValid()) {
      QColor crayon = part.fill;
      if (crayon.alpha() == 255) crayon.setAlpha(225);
      p.save();
      p.translate(0.7 * unit * std::min(2.0, size / 16.0), 0.7 * unit * std::min(2.0, size / 16.0));
      p.fillPath(part.path, crayon);
      p.restore();
      if (size >= 24 && part.fill.alpha() == 255 && part.fill.lightness() < 240) {
        p.save();
        p.setClipPath(part.path);
        QPen hatch(part.fill.darker(135), unit * 0.9);
        hatch.setCapStyle(Qt::RoundCap);
        p.setPen(hatch);
        const double gap = unit * 3.2;
        uint32_t n = 0;
        for (double t = box.left() - box.height(); t < box.right(); t += gap) {
          const QPointF a(t, box.bottom()), b(t + box.height(), box.top());
          p.drawPolyline(wobble(QPolygonF({a, b}), unit * 6, unit * 0.5, partSeed + (n++) * 31u));
        }
        p.restore();
      }
    }
    if (part.line.isValid()) {
      QColor graphite = part.fill.isValid() ? QColor(45, 45, 50) : part.line.darker(130);
      if (size < 24) graphite.setAlpha(175);
      const double amount = unit * std::min(1.2, size / 48.0);
      const QList<QPolygonF> polys = part.path.toSubpathPolygons();
      uint32_t n = 0;
      for (const QPolygonF& poly : polys) {
        QPen first(graphite, penUnits * part.width * 1.1, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
        p.setPen(first);
        p.setBrush(Qt::NoBrush);
        p.drawPolyline(wobble(poly, unit * 3, amount, partSeed + (n++) * 17u));
        if (size >= 24) {
          QColor light = graphite;
          light.setAlpha(120);
          p.setPen(QPen(light, penUnits * part.width * 0.7, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
          p.drawPolyline(wobble(poly, unit * 3, amount * 1.4, partSeed + (n++) * 17u));
        }
      }
    } else if (part.fill.isValid()) {
      // White glyphs get a soft pencil edge so they read as drawn too.
      QColor edge(45, 45, 50, 90);
      p.setPen(QPen(edge, penUnits * 0.6, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
      p.setBrush(Qt::NoBrush);
      for (const QPolygonF& poly : part.path.toSubpathPolygons())
        p.drawPolyline(wobble(poly, unit * 3, unit * 0.4, seed + 7u));
    }
  }
  p.end();
  return image;
}

QImage banner() {
  QImage image(360, 40, QImage::Format_RGB888);
  QPainter p(&image);
  p.setRenderHint(QPainter::Antialiasing);
  p.setRenderHint(QPainter::TextAntialiasing);
  QLinearGradient g(0, 0, 360, 0);
  g.setColorAt(0.0, QColor("#16213e"));
  g.setColorAt(0.55, QColor("#2f4f8f"));
  g.setColorAt(1.0, QColor("#f0932b"));
  p.fillRect(image.rect(), g);
  QLinearGradient shine(0, 0, 0, 40);
  shine.setColorAt(0, QColor(255, 255, 255, 40));
  shine.setColorAt(0.5, QColor(255, 255, 255, 0));
  p.fillRect(image.rect(), shine);

  Design sun;
  sun.grid = 40;
  addSun(sun, 20, 20, 7, 9.5, 15, 10);
  p.drawImage(4, 0, render(sun, 40, Style::Clean, "banner"));

  QFont font("DejaVu Sans");
  font.setBold(true);
  font.setPixelSize(19);
  font.setHintingPreference(QFont::PreferNoHinting);
  p.setFont(font);
  p.setPen(QColor(0, 0, 0, 90));
  p.drawText(QRectF(51, 1, 300, 40), Qt::AlignLeft | Qt::AlignVCenter, "Lumavane JPG to HDR");
  p.setPen(Qt::white);
  p.drawText(QRectF(50, 0, 300, 40), Qt::AlignLeft | Qt::AlignVCenter, "Lumavane JPG to HDR");
  p.end();
  return image;
}

const QStringList kIconKeys = {"New",
                               "Add",
                               "InFiles",
                               "InFolder",
                               "OutFolder",
                               "OutFormat",
                               "FavFolder",
                               "ImportFiles",
                               "ExportFiles",
                               "Exit",
                               "Copy",
                               "Delete",
                               "SelectAll",
                               "Convert",
                               "Error",
                               "Preferences",
                               "CustomConverter",
                               "Help",
                               "Email",
                               "Web",
                               "Updates",
                               "About"};
const int kToolbarSizes[] = {16, 24, 32, 48, 64};

struct BigButton {
  const char* key;
  int size;
};
const BigButton kBigButtons[] = {{"Convert", 64}, {"InFiles", 48}, {"InFolder", 48}};

bool save(const QImage& image, const QString& path) {
  if (image.save(path, "PNG", 0)) return true;
  std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
  return false;
}

bool writeThemeConfig(const QString& path) {
  QString text;
  text += "[Theme]\r\nName=Hand-drawn\r\nAuthor=Lumavane\r\n\r\n[Buttons]\r\n";
  for (const BigButton& b : kBigButtons)
    text += QString("%1=button_%2.png\r\n").arg(b.key, QString(b.key).toLower());
  text += "\r\n[Icons]\r\n";
  for (const QString& key : kIconKeys) text += key + "=" + key.toLower() + "\r\n";
  QFile file(path);
  if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate)) return false;
  return file.write(text.toLatin1()) == text.size();
}

QImage previewSheet() {
  const int cell = 72;
  const int columns = static_cast<int>(kIconKeys.size()) + 3;
  QImage sheet(columns * cell, 7 * cell, QImage::Format_ARGB32);
  sheet.fill(QColor("#eeeeee"));
  QPainter p(&sheet);
  int column = 0;
  for (const QString& key : kIconKeys) {
    p.drawImage(column * cell + 4, 4, render(design(key, false), 16, Style::Clean, key).scaled(64, 64));
    p.drawImage(column * cell + 4, cell + 4,
                render(design(key, false), 32, Style::Clean, key).scaled(64, 64));
    int row = 2;
    for (int size : kToolbarSizes) {
      const QImage img = render(design(key, false), size, Style::Sketchy, key);
      p.drawImage(column * cell + 4, row * cell + 4, img.scaled(64, 64));
      ++row;
    }
    ++column;
  }
  for (const BigButton& b : kBigButtons) {
    p.drawImage(column * cell + 4, 4, render(design(b.key, true), b.size, Style::Clean, b.key));
    p.drawImage(column * cell + 4, 2 * cell + 4, render(design(b.key, true), b.size, Style::Sketchy, b.key));
    ++column;
  }
  p.end();
  return sheet;
}

}  // namespace

int main(int argc, char** argv) {
  QGuiApplication app(argc, argv);
  if (argc < 2) {
    std::fprintf(stderr, "usage: icongen <repository root> [--preview <file.png>]\n");
    return 2;
  }
  const QDir root(QString::fromLocal8Bit(argv[1]));
  const QString images = root.filePath("src/themes/images");
  const QString theme = root.filePath("themes/handdrawn");
  for (const QString& folder : {images + "/menu", images + "/big", theme}) QDir().mkpath(folder);

  bool ok = true;
  for (const QString& key : kIconKeys) {
    ok &= save(render(design(key, false), 16, Style::Clean, key), images + "/menu/" + key + ".png");
    for (int size : kToolbarSizes)
      ok &= save(render(design(key, false), size, Style::Sketchy, key),
                 QString("%1/%2_%3.png").arg(theme, key.toLower()).arg(size));
  }
  for (const BigButton& b : kBigButtons) {
    ok &= save(render(design(b.key, true), b.size, Style::Clean, b.key), images + "/big/" + b.key + ".png");
    ok &= save(render(design(b.key, true), b.size, Style::Sketchy, b.key),
               QString("%1/button_%2.png").arg(theme, QString(b.key).toLower()));
  }
  ok &= save(banner(), images + "/about_banner.png");
  for (int size : kAppIconSizes) {
    const QString folder = root.filePath(QString("data/icons/hicolor/%1x%1/apps").arg(size));
    QDir().mkpath(folder);
    ok &= save(render(appIconDesign(size), size, Style::Clean, "quillet"), folder + "/quillet.png");
  }
  ok &= writeThemeConfig(theme + "/theme.cfg");

  if (argc >= 4 && QString(argv[2]) == "--preview")
    ok &= save(previewSheet(), QString::fromLocal8Bit(argv[3]));
  return ok ? 0 : 1;
}
