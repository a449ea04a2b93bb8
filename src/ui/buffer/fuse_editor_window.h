#pragma once
// The GAL/PAL fuse-map editor window: a frameless child of the main window
// with the fuse grid onto the map, its row numbers and scroll bars, the
// jump edit, the legends, and the SUM, Fill and OK buttons. The logic lives
// in FuseMapEditor; this window shows it and forwards the operator's actions.
// The shell makes a new one for every fuse device it selects.
#include <QWidget>
#include <cstdint>

#include "buffer/fuse_map_editor.h"

class QLabel;
class QLineEdit;
class QScrollBar;
class QTableWidget;
class QTabWidget;
class QAbstractButton;

namespace quenlet {

class TPalShowBox;

class Tform2 : public QWidget {
  Q_OBJECT

 public:
  explicit Tform2(const FuseEditorLinks& links, QWidget* parent = nullptr);
  ~Tform2() override;

  FuseMapEditor& Editor() { return editor_; }

  // What the shell and the device operations call.
  bool InitFuseMap();
  void FreeFuseMap();
  FuseMap* GetFuseMapHandle() { return editor_.GetFuseMapHandle(); }
  void DrawFuseView() { editor_.DrawFuseView(); }
  uint32_t ShowCheckSum(int mode) { return editor_.ShowCheckSum(mode); }
  bool GAL_loadClick();
  bool Gal_SaveClick() { return editor_.Gal_SaveClick(); }

  TPalShowBox* PalShowBox1() const { return grid_; }
  QTableWidget* FuseAddStringGrid() const { return addresses_; }
  QScrollBar* PalScrollBar_H() const { return bar_h_; }
  QScrollBar* PalScrollBar_V() const { return bar_v_; }
  QLineEdit* JumpEdit() const { return jump_edit_; }
  QLabel* XLabel() const { return x_label_; }
  QLabel* SquareLabel() const { return square_label_; }
  QLabel* Bitmap0Label() const { return bitmap0_label_; }
  QLabel* BigMap1Label() const { return bigmap1_label_; }

 public slots:
  void PalScrollBar_VScroll(int position);
  void PalScrollBar_HScroll(int position);
  void PalShowBox1BarDownEvent(int x, int y);
  void PalShowBox1BarUpEvent(int x, int y);
  void PalShowBox1Change(int x, int y, int value);
  void PalShowBox1CurrentChange(int x, int y);
  void PalShowBox1LeftEvent(int x, int y);
  void PalShowBox1RightEvent(int x, int y);
  void check_sumClick();
  void GAL_Image6Click();
  void Full_dataClick();
  void JumpEditChange(const QString& text);
  void jump_bmpMouseUp();

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  QWidget* BuildTopPanel();
  QWidget* BuildEditPage();
  QWidget* BuildBottomPanel();
  void ShowView();
  void ShowLabels();

  FuseMapEditor editor_;
  QTabWidget* pages_ = nullptr;
  QTableWidget* addresses_ = nullptr;
  TPalShowBox* grid_ = nullptr;
  QScrollBar* bar_h_ = nullptr;
  QScrollBar* bar_v_ = nullptr;
  QLineEdit* jump_edit_ = nullptr;
  QLabel* x_label_ = nullptr;
  QLabel* square_label_ = nullptr;
  QLabel* bitmap0_label_ = nullptr;
  QLabel* bigmap1_label_ = nullptr;
};

}  // namespace quenlet
