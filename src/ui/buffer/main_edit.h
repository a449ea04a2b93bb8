#pragma once
// The buffer editor "Dump Edit": the data buffer as 8-bit and 16-bit hex and
// character grids with their scroll bars, a Buffer Information page, the
// swap buttons and the popup menu of buffer commands. A thin window over the
// view core (HexView): it holds references to the program's buffer and state
// and owns neither.
//
// Refreshes are coalesced: RefreshView only asks for a paint, and the grids
// paint at most every 50 ms, so a device read that refreshes once per 64 KB
// block is not slowed down by painting.
#include <QWidget>
#include <array>
#include <functional>

#include "buffer/hex_view.h"
#include "buffer/repaint_throttle.h"

class QLabel;
class QMenu;
class QScrollBar;
class QTabWidget;
class QTimer;
class QToolButton;

namespace quenlet {

class DataBuffer;
class Messages;
class Progress;
class THexGrid;
enum class BufferChange;
struct MainFormState;

class TMainEdit : public QWidget {
  Q_OBJECT

 public:
  static constexpr int kClientWidth = 535;
  static constexpr int kClientHeight = 305;
  enum Page { kEdit8BitSheet = 0, kEdit16BitSheet = 1, kBufInfSheet = 2 };

  // The popup's commands whose dialogs live elsewhere; an empty one does
  // nothing.
  struct Commands {
    std::function<void()> LoadFile;
    std::function<void()> SaveFile;
    std::function<void()> GetSum;
    std::function<void()> FillData;
    std::function<void()> Block;
    std::function<void()> Resize;
  };

  // The editor takes over the buffer's change notice for as long as it lives.
  TMainEdit(DataBuffer& buffer, MainFormState& state, Messages& messages, Progress& progress,
            QWidget* parent = nullptr);
  ~TMainEdit() override;

  void SetCommands(Commands commands) { commands_ = std::move(commands); }
  // Asked before typing, a swap button or a Data Set item changes the
  // buffer; while it says no they do nothing. Scrolling and the popup still
  // work. Without a gate they always act.
  void SetBufferGate(std::function<bool()> may_change) {
    view_.SetWriteGate(std::move(may_change));
  }
  // Run after the window closed (the main window hides its Edit page panel).
  void SetCloseHandler(std::function<void()> handler) { close_handler_ = std::move(handler); }
  void SetClock(RepaintThrottle::Now now) { throttle_.SetClock(std::move(now)); }

  // Asks for the grids to be drawn again from the buffer.
  void RefreshView();
  // The bars' events by code (0 line up, 1 line down, 2 page up, 3 page
  // down, 8 end of scroll); position is the bar's new position in and out.
  // Both views share one row, so both bars follow either.
  void Edit8BitScrollBarScroll(int code, int& position);
  void Edit16BitScrollBarScroll(int code, int& position);
  // Everything is drawn again, the information page included.
  void PaintDC();
  int32_t ReturnDataMode() const;
  // The active page is brought up to date (the information page rereads its
  // texts).
  void MainEditPageChange();

  HexView& View() { return view_; }
  QTabWidget* MainEditPage() const { return pages_; }
  THexGrid* Grid(HexGrid grid) const { return grids_[size_t(grid)]; }
  QScrollBar* Edit8BitScrollBar() const { return bar8_; }
  QScrollBar* Edit16BitScrollBar() const { return bar16_; }
  QMenu* PopupMenu() const { return menu_; }

 public slots:
  void LoadFileClick();
  void SaveFileClick();
  void GetSumClick();
  void FillDataClick();
  void BlockClick();
  void ResizeClick();
  void EvenClick();
  void OddClick();
  void SwapByteClick();
  void ByteSwapButtonClick();
  void WordSwapButtonClick();
  void DoubleSwapButtonClick();
  // Opens the popup menu under the Options button.
  void OptionsClick();

 protected:
  void showEvent(QShowEvent* event) override;
  void closeEvent(QCloseEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  QWidget* BuildViewPage(HexGrid address, HexGrid hex, HexGrid chars, QScrollBar*& bar,
                         const char* name);
  QWidget* BuildInfoPage();
  QWidget* BuildButtonPanel();
  void BuildMenu();
  void Scroll(int code, int& position);
  void BarAction(QScrollBar* bar, int action);
  void Wheel(int angle_delta);
  void SyncBars();
  void PaintNow();
  void BufferChanged(BufferChange change);
  void RunCommand(const std::function<void()>& command);
  void SetDataSet(int32_t mode);
  void Swap(int32_t mode);
  void WriteCommonDataSelect(int32_t value);
  void ShowMenu(QPoint global_position);

  DataBuffer& buffer_;
  Messages& messages_;
  Progress& progress_;
  HexView view_;
  Commands commands_;
  std::function<void()> close_handler_;
  RepaintThrottle throttle_;
  QTimer* repaint_timer_ = nullptr;

  QTabWidget* pages_ = nullptr;
  std::array<THexGrid*, kHexGridCount> grids_{};
  QScrollBar* bar8_ = nullptr;
  QScrollBar* bar16_ = nullptr;
  QToolButton* options_ = nullptr;
  QMenu* menu_ = nullptr;
  QLabel* file_name_label_ = nullptr;
  QLabel* file_format_label_ = nullptr;
  QLabel* check_sum_label_ = nullptr;
  QLabel* sum_range_label_ = nullptr;
  QLabel* buf_size_label_ = nullptr;
  QLabel* start_label_ = nullptr;
  QLabel* end_label_ = nullptr;
};

}  // namespace quenlet
