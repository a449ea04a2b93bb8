#include "ui/app/skin_pictures.h"

#include <QFile>
#include <QPainter>
#include <QPainterPath>
#include <cmath>
#include <iterator>

#include "app/skin_layout.h"
#include "platform/program_paths.h"
#include "ui/controls/frame_band.h"
#include "ui/controls/look.h"

namespace quenlet {

enum class Kind { Background, Page, Toolbar, Run, Command, Checksum, StepTile, Badge, Trigger };
enum class State { Plain, Hint, Down, Working, Pass, Fail, Frame };
enum class Glyph {
  None,
  Chip,
  Parameters,
  Options,
  About,
  Exit,
  Run,
  AutoRun,
  Stop,
  Sum,
  Block,
  Fill,
  Ok,
  Type,
  Load,
  Save,
  Edit,
  Read,
  Confirm,
  Erase,
  Blank,
  Program,
  Verify,
  Protect,
  Wait,
  Cross,
};

struct SkinPictures::Spec {
  Kind kind = Kind::Page;
  State state = State::Plain;
  Glyph glyph = Glyph::None;
  QString label;
};

namespace {

// --- glyphs: 2 px strokes with round caps on a unit square ------------------

class GlyphPen {
 public:
  GlyphPen(QPainter& p, const QRectF& box, const QColor& colour, qreal width = 2.0)
      : p_(p), box_(box), colour_(colour) {
    p_.save();
    QPen pen(colour, width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
    p_.setPen(pen);
    p_.setBrush(Qt::NoBrush);
  }
  ~GlyphPen() { p_.restore(); }

  QPointF At(qreal x, qreal y) const {
    return {box_.left() + x * box_.width(), box_.top() + y * box_.height()};
  }
  qreal Len(qreal v) const { return v * box_.width(); }
  void Line(qreal x1, qreal y1, qreal x2, qreal y2) { p_.drawLine(At(x1, y1), At(x2, y2)); }
  void Poly(std::initializer_list<QPointF> unit_points, bool closed = false) {
    QPainterPath path;
    bool first = true;
    for (const QPointF& u : unit_points) {
      if (first) {
        path.moveTo(At(u.x(), u.y()));
        first = false;
      } else {
        path.lineTo(At(u.x(), u.y()));
      }
    }
    if (closed) path.closeSubpath();
    p_.drawPath(path);
  }
  void Rect(qreal x1, qreal y1, qreal x2, qreal y2, qreal radius = 0) {
    p_.drawRoundedRect(QRectF(At(x1, y1), At(x2, y2)), Len(radius), Len(radius));
  }
  void Circle(qreal cx, qreal cy, qreal r) { p_.drawEllipse(At(cx, cy), Len(r), Len(r)); }
  void Dot(qreal cx, qreal cy, qreal r) {
    p_.save();
    p_.setPen(Qt::NoPen);
    p_.setBrush(colour_);
    p_.drawEllipse(At(cx, cy), Len(r), Len(r));
    p_.restore();
  }
  void Filled(std::initializer_list<QPointF> unit_points) {
    p_.save();
    p_.setBrush(colour_);
    Poly(unit_points, true);
    p_.restore();
  }
  // Arc of a circle, degrees counter-clockwise from 3 o'clock.
  void Arc(qreal cx, qreal cy, qreal r, qreal from, qreal span) {
    const QRectF rect(At(cx - r, cy - r), At(cx + r, cy + r));
    p_.drawArc(rect, static_cast<int>(from * 16), static_cast<int>(span * 16));
  }
  void Arrow(qreal x1, qreal y1, qreal x2, qreal y2) {
    Line(x1, y1, x2, y2);
    const qreal dx = x2 - x1, dy = y2 - y1;
    const qreal len = std::hypot(dx, dy);
    const qreal ux = dx / len, uy = dy / len;
    const qreal head = 0.18;
    Poly({{x2 - head * (ux - uy * 0.8), y2 - head * (uy + ux * 0.8)},
          {x2, y2},
          {x2 - head * (ux + uy * 0.8), y2 - head * (uy - ux * 0.8)}});
  }
  void Check(qreal x, qreal y, qreal s) {
    Poly({{x, y + 0.45 * s}, {x + 0.35 * s, y + 0.8 * s}, {x + s, y}});
  }
  QPainter& painter() { return p_; }

 private:
  QPainter& p_;
  QRectF box_;
  QColor colour_;
};

// A chip: the body with three pins on each side; `symbol` fills the body.
void Chip(GlyphPen& g) {
  g.Rect(0.24, 0.1, 0.76, 0.9, 0.05);
  for (qreal y : {0.28, 0.5, 0.72}) {
    g.Line(0.06, y, 0.24, y);
    g.Line(0.76, y, 0.94, y);
  }
}

void DrawGlyph(QPainter& p, Glyph glyph, const QRectF& box, const QColor& colour) {
  GlyphPen g(p, box, colour, box.width() >= 24 ? 2.0 : 1.8);
  switch (glyph) {
    case Glyph::None:
      break;
    case Glyph::Chip:
      Chip(g);
      g.Arc(0.5, 0.1, 0.08, 180, 180);
      break;
    case Glyph::Parameters:
      for (auto [y, knob] : {std::pair{0.22, 0.34}, {0.5, 0.68}, {0.78, 0.46}}) {
        g.Line(0.1, y, knob - 0.1, y);
        g.Line(knob + 0.1, y, 0.9, y);
        g.Circle(knob, y, 0.1);
      }
      break;
    case Glyph::Options:
      g.Circle(0.5, 0.5, 0.14);
      g.Circle(0.5, 0.5, 0.3);
      for (int i = 0; i < 8; ++i) {
        const qreal a = i * M_PI / 4;
        g.Line(0.5 + 0.3 * std::cos(a), 0.5 + 0.3 * std::sin(a), 0.5 + 0.43 * std::cos(a),
               0.5 + 0.43 * std::sin(a));
      }
      break;
    case Glyph::About:
      g.Circle(0.5, 0.5, 0.42);
      g.Dot(0.5, 0.3, 0.06);
      g.Line(0.5, 0.46, 0.5, 0.74);
      break;
    case Glyph::Exit:
      g.Arc(0.5, 0.55, 0.36, 120, 300);
      g.Line(0.5, 0.08, 0.5, 0.48);
      break;
    case Glyph::Run:
      g.Filled({{0.28, 0.16}, {0.28, 0.84}, {0.84, 0.5}});
      break;
    case Glyph::AutoRun:
      g.Arc(0.5, 0.5, 0.38, 60, 280);
      g.Poly({{0.62, 0.06}, {0.74, 0.18}, {0.58, 0.27}});
      g.Filled({{0.42, 0.34}, {0.42, 0.66}, {0.68, 0.5}});
      break;
    case Glyph::Stop:
      g.painter().save();
      g.painter().setBrush(colour);
      g.Rect(0.2, 0.2, 0.8, 0.8, 0.08);
      g.painter().restore();
      break;
    case Glyph::Sum:
      g.Poly({{0.78, 0.14}, {0.24, 0.14}, {0.56, 0.5}, {0.24, 0.86}, {0.78, 0.86}});
      break;
    case Glyph::Block:
      g.Rect(0.08, 0.12, 0.58, 0.58, 0.04);
      g.Rect(0.42, 0.42, 0.92, 0.88, 0.04);
      break;
    case Glyph::Fill:
      g.Rect(0.12, 0.12, 0.88, 0.88, 0.06);
      for (qreal x : {0.3, 0.5, 0.7}) g.Line(x, 0.5, x, 0.88);
      g.Line(0.12, 0.5, 0.88, 0.5);
      break;
    case Glyph::Ok:
      g.Check(0.14, 0.24, 0.72);
      break;
    case Glyph::Type:
      g.Circle(0.42, 0.42, 0.26);
      g.Line(0.61, 0.61, 0.88, 0.88);
      g.Line(0.3, 0.42, 0.54, 0.42);
      g.Line(0.42, 0.3, 0.42, 0.54);
      break;
    case Glyph::Load:
      g.Poly({{0.12, 0.6}, {0.12, 0.88}, {0.88, 0.88}, {0.88, 0.6}});
      g.Arrow(0.5, 0.08, 0.5, 0.64);
      break;
    case Glyph::Save:
      g.Poly({{0.12, 0.6}, {0.12, 0.88}, {0.88, 0.88}, {0.88, 0.6}});
      g.Arrow(0.5, 0.68, 0.5, 0.1);
      break;
    case Glyph::Edit:
      g.Rect(0.08, 0.44, 0.62, 0.92, 0.04);
      g.Line(0.08, 0.68, 0.62, 0.68);
      g.Line(0.35, 0.44, 0.35, 0.92);
      g.Poly({{0.5, 0.62}, {0.86, 0.18}, {0.96, 0.28}, {0.6, 0.72}, {0.46, 0.76}}, true);
      break;
    case Glyph::Read:
      Chip(g);
      g.Arrow(0.5, 0.74, 0.5, 0.26);
      break;
    case Glyph::Confirm:
      g.Check(0.06, 0.3, 0.5);
      g.Check(0.4, 0.3, 0.54);
      break;
    case Glyph::Erase:
      Chip(g);
      g.Line(0.34, 0.66, 0.62, 0.3);
      g.Line(0.42, 0.76, 0.66, 0.46);
      break;
    case Glyph::Blank:
      Chip(g);
      g.Circle(0.5, 0.5, 0.13);
      break;
    case Glyph::Program:
      Chip(g);
      g.Arrow(0.5, 0.26, 0.5, 0.74);
      break;
    case Glyph::Verify:
      Chip(g);
      g.Check(0.36, 0.36, 0.28);
      break;
    case Glyph::Protect:
      g.Arc(0.5, 0.42, 0.2, 0, 180);
      g.Line(0.3, 0.42, 0.3, 0.5);
      g.Line(0.7, 0.42, 0.7, 0.5);
      g.Rect(0.18, 0.5, 0.82, 0.92, 0.06);
      g.Dot(0.5, 0.68, 0.06);
      g.Line(0.5, 0.7, 0.5, 0.8);
      break;
    case Glyph::Wait:
      g.Circle(0.5, 0.5, 0.4);
      g.Line(0.5, 0.5, 0.5, 0.24);
      g.Line(0.5, 0.5, 0.7, 0.6);
      break;
    case Glyph::Cross:
      g.Line(0.2, 0.2, 0.8, 0.8);
      g.Line(0.8, 0.2, 0.2, 0.8);
      break;
  }
}

// --- tiles ---------------------------------------------------------------------

struct TileColours {
  QColor fill, border, glyph, text;
};

TileColours SurfaceColours(State state) {
  switch (state) {
    case State::Plain:
      return {look::kTile, look::kSurfaceBorder, look::kMuted, look::kText};
    case State::Hint:
      return {look::kAccentLight, look::kAccent, look::kAccent, look::kAccent};
    case State::Down:
      return {look::kAccentPressed, look::kAccent, look::kAccent, look::kAccent};
    case State::Working:
      return {look::kWorkingLight, look::kWorking, look::kWorking, look::kText};
    case State::Pass:
      return {look::kPassLight, look::kPass, look::kPass, look::kText};
    case State::Fail:
      return {look::kFailLight, look::kFail, look::kFail, look::kText};
    case State::Frame:
      return {look::kDisabledFill, look::kDisabledFill.darker(108), look::kDisabled,
              look::kDisabled};
  }
  return {};
}

void TileBody(QPainter& p, const QRectF& r, const TileColours& c, qreal radius = 6) {
  p.setPen(QPen(c.border, 1.0));
  p.setBrush(c.fill);
  p.drawRoundedRect(r.adjusted(0.5, 0.5, -0.5, -0.5), radius, radius);
}

// A small round mark in the top-right corner of a step tile.
void CornerMark(QPainter& p, const QRectF& tile, State state, const QColor& colour) {
  const QRectF mark(tile.right() - 19, tile.top() + 5, 14, 14);
  p.save();
  if (state == State::Working) {
    p.setPen(QPen(colour.lighter(150), 2.0));
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(mark.adjusted(1, 1, -1, -1));
    p.setPen(QPen(colour, 2.0, Qt::SolidLine, Qt::RoundCap));
    p.drawArc(mark.adjusted(1, 1, -1, -1), 90 * 16, -250 * 16);
  } else {
    p.setPen(Qt::NoPen);
    p.setBrush(colour);
    p.drawEllipse(mark);
    const QRectF inner = mark.adjusted(3, 3, -3, -3);
    DrawGlyph(p, state == State::Pass ? Glyph::Ok : Glyph::Cross, inner, look::kOnAccent);
  }
  p.restore();
}

void DrawStepTile(QPainter& p, const QSizeF& size, State state, Glyph glyph, const QString& label) {
  const QRectF r(QPointF(0, 0), size);
  const TileColours c = SurfaceColours(state);
  TileBody(p, r, c);
  if (state == State::Frame) {
    // The device has no such step: a quiet outline only.
    p.setPen(QPen(look::kSurfaceBorder, 1.0, Qt::DashLine));
    p.setBrush(Qt::NoBrush);
    p.drawRoundedRect(r.adjusted(3.5, 3.5, -3.5, -3.5), 4, 4);
  }
  DrawGlyph(p, glyph, QRectF((size.width() - 28) / 2, 10, 28, 28), c.glyph);
  p.setPen(c.text);
  p.setFont(look::Sans(11, state == State::Hint));
  p.drawText(QRectF(2, 46, size.width() - 4, 18), Qt::AlignCenter, label);
  if (state == State::Working || state == State::Pass || state == State::Fail) {
    CornerMark(p, r, state, c.border);
  }
}

void DrawToolbarTile(QPainter& p, const QSizeF& size, State state, Glyph glyph,
                     const QString& label) {
  const QRectF r(QPointF(0, 0), size);
  QColor ink = look::kFrameText;
  qreal shift = 0;
  if (state != State::Plain) {
    const TileColours c = SurfaceColours(state);
    TileBody(p, r.adjusted(1, 1, -1, -1), {c.fill, c.fill, c.glyph, c.text});
    ink = look::kAccent;
    shift = state == State::Down ? 1 : 0;
  }
  DrawGlyph(p, glyph, QRectF((size.width() - 20) / 2, 5 + shift, 20, 20), ink);
  p.setPen(ink);
  p.setFont(look::CaptionFont());
  p.drawText(QRectF(0, 27 + shift, size.width(), 14), Qt::AlignCenter, label);
}

void DrawWideTile(QPainter& p, const QSizeF& size, State state, Glyph glyph, const QString& label,
                  bool stop) {
  const QRectF r(QPointF(0, 0), size);
  const TileColours c = SurfaceColours(state);
  const qreal shift = state == State::Down ? 1 : 0;
  TileBody(p, r, c);
  const qreal g = 20;
  const QColor glyph_colour =
      stop ? look::kFail : (state == State::Plain ? look::kAccent : c.glyph);
  if (label.isEmpty()) {
    DrawGlyph(p, glyph, QRectF((size.width() - 16) / 2, (size.height() - 16) / 2 + shift, 16, 16),
              glyph_colour);
    return;
  }
  DrawGlyph(p, glyph, QRectF(14, (size.height() - g) / 2 + shift, g, g), glyph_colour);
  p.setPen(c.text);
  p.setFont(look::Sans(12, true));
  p.drawText(QRectF(42, shift, size.width() - 48, size.height()), Qt::AlignVCenter | Qt::AlignLeft,
             label);
}

void DrawBadge(QPainter& p, const QSizeF& size, const std::string& name) {
  QColor ink = look::kPass, fill = look::kPassLight;
  Glyph glyph = Glyph::Ok;
  QString word = QStringLiteral("PASS");
  if (name == "Wait") {
    ink = look::kWorking;
    fill = look::kWorkingLight;
    glyph = Glyph::Wait;
    word = QStringLiteral("WAIT");
  } else if (name == "Fail") {
    ink = look::kFail;
    fill = look::kFailLight;
    glyph = Glyph::Cross;
    word = QStringLiteral("FAIL");
  }
  const QRectF r(QPointF(0, 0), size);
  p.setPen(QPen(ink, 1.5));
  p.setBrush(fill);
  p.drawRoundedRect(r.adjusted(0.75, 0.75, -0.75, -0.75), 6, 6);
  DrawGlyph(p, glyph, QRectF(16, (size.height() - 18) / 2, 18, 18), ink);
  p.setPen(ink);
  p.setFont(look::TitleFont());
  p.drawText(QRectF(42, 0, size.width() - 50, size.height()), Qt::AlignVCenter | Qt::AlignLeft,
             word);
}

void DrawBackground(QPainter& p, const QSizeF& size) {
  const QRectF r(QPointF(0, 0), size);
  PaintFrame(p, r);
  p.setPen(QPen(look::kFrameEdge, 1.0));
  p.setBrush(Qt::NoBrush);
  p.drawRect(r.adjusted(0.5, 0.5, -1.5, -1.5));
  // The name plate of the toolbar.
  DrawGlyph(p, Glyph::Chip, QRectF(14, 13, 24, 24), look::kAccentLight);
  p.setPen(look::kFrameText);
  p.setFont(look::TitleFont());
  p.drawText(QRectF(46, 8, 200, 20), Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("Quenlet"));
  p.setPen(look::kFrameMuted);
  p.setFont(look::CaptionFont());
  p.drawText(QRectF(46, 27, 200, 16), Qt::AlignLeft | Qt::AlignVCenter,
             QStringLiteral("Device programmer"));
}

void DrawPage(QPainter& p, const QSizeF& size) {
  const QRectF r(QPointF(0, 0), size);
  p.setPen(QPen(look::kSurfaceBorder, 1.0));
  p.setBrush(look::kSurface);
  p.drawRoundedRect(r.adjusted(0.5, 0.5, -0.5, -0.5), 6, 6);
}

// One glyph per step, in the order of Step.
constexpr Glyph kStepGlyphs[] = {Glyph::Type,    Glyph::Load,    Glyph::Save,   Glyph::Edit,
                                 Glyph::Read,    Glyph::Confirm, Glyph::Erase,  Glyph::Blank,
                                 Glyph::Program, Glyph::Verify,  Glyph::Protect};
static_assert(std::size(kStepGlyphs) == static_cast<size_t>(Step::Count));

State StackState(size_t layer_index) {
  return layer_index == 0 ? State::Plain : layer_index == 1 ? State::Hint : State::Down;
}

QSize KindSize(Kind kind) {
  switch (kind) {
    case Kind::Background:
      return SkinPictures::kWindowSize;
    case Kind::Page:
      return SkinPictures::kPageSize;
    case Kind::Toolbar:
      return SkinPictures::kToolbarTileSize;
    case Kind::Run:
      return SkinPictures::kRunTileSize;
    case Kind::Command:
      return SkinPictures::kCommandTileSize;
    case Kind::Checksum:
      return SkinPictures::kChecksumTileSize;
    case Kind::StepTile:
      return SkinPictures::kStepTileSize;
    case Kind::Badge:
      return SkinPictures::kBadgeSize;
    case Kind::Trigger:
      return SkinPictures::kTriggerSize;
  }
  return {};
}

}  // namespace

SkinPictures::SkinPictures(std::string program_dir)
    : skin_dir_(ProgramPaths(std::move(program_dir)).root() + "skin/") {
  specs_["Main"] = {Kind::Background, State::Plain, Glyph::None, {}};
  specs_["Copy_Page"] = {Kind::Page, State::Plain, Glyph::None, {}};
  specs_["Edit_Page"] = {Kind::Page, State::Plain, Glyph::None, {}};
  specs_["Image6"] = {Kind::Trigger, State::Plain, Glyph::None, {}};
  for (const std::string& badge : ResultLayers()) {
    specs_[badge] = {Kind::Badge, State::Plain, Glyph::None, {}};
  }
  const Glyph toolbar_glyphs[] = {Glyph::Parameters, Glyph::Options, Glyph::About, Glyph::Exit};
  const Glyph run_glyphs[] = {Glyph::Run, Glyph::AutoRun, Glyph::Stop, Glyph::Sum};
  const Glyph command_glyphs[] = {Glyph::Sum, Glyph::Block, Glyph::Fill, Glyph::Ok};
  auto add_stacks = [&](const auto& stacks, const Glyph* glyphs, auto kind_of) {
    for (size_t s = 0; s < stacks.size(); ++s) {
      const SkinStackLayout& stack = stacks[s];
      const Kind kind = kind_of(stack);
      for (size_t l = 0; l < stack.layers.size(); ++l) {
        specs_[stack.layers[l]] = {
            kind, StackState(l), glyphs[s],
            kind == Kind::Checksum ? QString() : QString::fromStdString(stack.label)};
      }
    }
  };
  add_stacks(ToolbarStacks(), toolbar_glyphs, [](const SkinStackLayout&) { return Kind::Toolbar; });
  add_stacks(RunStacks(), run_glyphs,
             [](const SkinStackLayout& s) { return s.name == "v" ? Kind::Checksum : Kind::Run; });
  add_stacks(EditCommandStacks(), command_glyphs,
             [](const SkinStackLayout&) { return Kind::Command; });
  const State step_states[] = {State::Frame,   State::Fail, State::Pass,
                               State::Working, State::Hint, State::Plain};  // o f p w h n
  for (int s = 0; s < static_cast<int>(Step::Count); ++s) {
    const Step step = static_cast<Step>(s);
    for (int l = 0; l < static_cast<int>(Layer::Count); ++l) {
      specs_[StepPictures::Name(step, static_cast<Layer>(l))] = {
          Kind::StepTile, step_states[l], kStepGlyphs[s], QString(StepLabel(step))};
    }
  }
}

SkinPictures::~SkinPictures() = default;

std::vector<std::string> SkinPictures::Names() const {
  std::vector<std::string> names;
  for (const auto& [name, spec] : specs_) names.push_back(name);
  return names;
}

QSize SkinPictures::Size(const std::string& name) const {
  auto it = specs_.find(name);
  return it == specs_.end() ? QSize() : KindSize(it->second.kind);
}

bool SkinPictures::Overridden(const std::string& name) const {
  return QFile::exists(QString::fromStdString(skin_dir_ + name + ".png"));
}

const QPixmap& SkinPictures::Picture(const std::string& name, qreal ratio) {
  static const QPixmap kNone;
  if (ratio != cache_ratio_) {
    cache_.clear();
    cache_ratio_ = ratio;
  }
  auto cached = cache_.find(name);
  if (cached != cache_.end()) return cached->second;
  auto spec = specs_.find(name);
  if (spec == specs_.end()) return kNone;
  return cache_.emplace(name, Render(spec->second, name, ratio)).first->second;
}

void SkinPictures::Prepare(qreal ratio) {
  for (const auto& [name, spec] : specs_) Picture(name, ratio);
}

QPixmap SkinPictures::Render(const Spec& spec, const std::string& name, qreal ratio) const {
  const QSize size = KindSize(spec.kind);
  const QSize pixels(qRound(size.width() * ratio), qRound(size.height() * ratio));
  QPixmap override_png;
  if (override_png.load(QString::fromStdString(skin_dir_ + name + ".png"), "PNG")) {
    QPixmap scaled = override_png.scaled(pixels, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    scaled.setDevicePixelRatio(ratio);
    return scaled;
  }
  QPixmap pixmap(pixels);
  pixmap.setDevicePixelRatio(ratio);
  pixmap.fill(Qt::transparent);
  QPainter p(&pixmap);
  p.setRenderHint(QPainter::Antialiasing);
  p.setRenderHint(QPainter::TextAntialiasing);
  const QSizeF s(size);
  switch (spec.kind) {
    case Kind::Background:
      DrawBackground(p, s);
      break;
    case Kind::Page:
      DrawPage(p, s);
      break;
    case Kind::Toolbar:
      DrawToolbarTile(p, s, spec.state, spec.glyph, spec.label);
      break;
    case Kind::Run:
    case Kind::Command:
    case Kind::Checksum:
      DrawWideTile(p, s, spec.state, spec.glyph, spec.label, name.rfind("Stop", 0) == 0);
      break;
    case Kind::StepTile:
      DrawStepTile(p, s, spec.state, spec.glyph, spec.label);
      break;
    case Kind::Badge:
      DrawBadge(p, s, name);
      break;
    case Kind::Trigger:
      p.setPen(Qt::NoPen);
      p.setBrush(look::kSurfaceBorder);
      p.drawEllipse(QRectF(2.5, 2.5, 4, 4));
      break;
  }
  return pixmap;
}

void DrawChipGlyph(QPainter& painter, const QRectF& box, const QColor& colour) {
  DrawGlyph(painter, Glyph::Chip, box, colour);
}

}  // namespace quenlet
