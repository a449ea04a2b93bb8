#pragma once
// Every picture of the main window's skin, drawn by the program with
// QPainter and cached by name at the screen's pixel ratio: the background,
// the page surfaces, the plain, highlighted and pressed states of each
// button, the six states of each step picture and the Pass, Wait and Fail
// indicators. A PNG named "<picture>.png" in the program directory's skin/
// folder takes the place of the drawn picture (scaled to its size).
#include <QPixmap>
#include <QSize>
#include <map>
#include <string>
#include <vector>

class QColor;
class QPainter;
class QRectF;

namespace quenlet {

// The program's chip glyph, as on the main window's name plate, in `box`.
void DrawChipGlyph(QPainter& painter, const QRectF& box, const QColor& colour);

class SkinPictures {
 public:
  // Sizes of the picture kinds, in logical pixels.
  static constexpr QSize kWindowSize{554, 429};
  static constexpr QSize kPageSize{535, 366};
  static constexpr QSize kToolbarTileSize{64, 44};
  static constexpr QSize kStepTileSize{66, 72};
  static constexpr QSize kRunTileSize{120, 44};
  static constexpr QSize kCommandTileSize{96, 40};
  static constexpr QSize kChecksumTileSize{28, 28};
  static constexpr QSize kBadgeSize{120, 40};
  static constexpr QSize kTriggerSize{9, 9};

  // `program_dir`: where skin/ is looked for.
  explicit SkinPictures(std::string program_dir);
  ~SkinPictures();

  // The names of every picture the skin draws.
  std::vector<std::string> Names() const;
  // Logical size of a picture; invalid for a name the skin does not know.
  QSize Size(const std::string& name) const;
  // The picture at `ratio` device pixels per logical pixel; a null pixmap
  // for an unknown name. Pictures are drawn once per ratio and kept.
  const QPixmap& Picture(const std::string& name, qreal ratio);
  // Draws every picture for `ratio` now (at start-up, so painting later
  // only copies).
  void Prepare(qreal ratio);
  // Whether skin/ holds the picture.
  bool Overridden(const std::string& name) const;

 private:
  struct Spec;
  QPixmap Render(const Spec& spec, const std::string& name, qreal ratio) const;

  std::string skin_dir_;
  std::map<std::string, Spec> specs_;
  std::map<std::string, QPixmap> cache_;
  qreal cache_ratio_ = 0;
};

}  // namespace quenlet
