#include "ui/device/option_page_window.h"

#include <QButtonGroup>
#include <QEvent>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QTableWidget>

#include <utility>
#include <vector>

#include "buffer/option_lane.h"
#include "device/option_page_file.h"
#include "device/parameter_grid.h"
#include "device/selected_device.h"
#include "platform/ini_snapshot.h"
#include "platform/strprintf.h"
#include "platform/user_interfaces.h"
#include "state/main_form_state.h"
#include "ui/controls/dialog_look.h"
#include "ui/controls/display_text.h"
#include "ui/controls/look.h"
#include "ui/controls/window_frame.h"
#include "ui/controls/window_placement.h"

namespace quenlet {
namespace {

QFont HeadingFont() {
  return look::Sans(12, true);
}

// Four bytes of a 32-bit group of the buffer, the device's bytes marked:
// every byte, one byte of each 16-bit pair, or one byte of each group; the
// lane ticked in the column is the one marked.
class LanePicture : public QWidget {
 public:
  LanePicture(int width, QWidget* parent) : QWidget(parent), width_(width) {
    setFixedSize(128, 36);
  }
  void SetLane(int lane) {
    if (lane == lane_) return;
    lane_ = lane;
    update();
  }

 protected:
  void paintEvent(QPaintEvent*) override {
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    p.setFont(look::CaptionFont());
    const int cell = 28;
    for (int i = 0; i < 4; ++i) {
      const QRectF r(4 + i * (cell + 2) + 0.5, 4.5, cell, cell - 4);
      const bool device = i % width_ == lane_;
      p.setPen(device ? look::kAccent : look::kSurfaceBorder);
      p.setBrush(device ? look::kAccentLight : look::kSurface);
      p.drawRoundedRect(r, 3, 3);
      p.setPen(device ? look::kAccent : look::kMuted);
      p.drawText(r, Qt::AlignCenter, device ? "D" : "-");
    }
  }

 private:
  int width_;
  int lane_ = 0;
};

struct LaneColumn {
  const char* heading;
  int width;                                                 // bytes per group
  std::vector<std::pair<const char*, const char*>> buttons;  // name, caption
};

}  // namespace

// The page file's places and sizes are bounded by this window's size.
static_assert(TCurrentPageForm::kClientWidth == kOptionWindowWidth &&
              TCurrentPageForm::kClientHeight == kOptionWindowHeight);

TCurrentPageForm::TCurrentPageForm(const OptionWindowContext& context, QWidget* owner)
    : QDialog(owner, Qt::Dialog | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint),
      context_(context) {
  setObjectName("CurrentPageForm");
  setWindowTitle("CurrentPage");
  setFixedSize(kClientWidth, kClientHeight);
  ApplyDialogLook(this);

  // The title band takes the top of the client area; the notebook, which
  // has room to spare, is that much shorter.
  auto* notebook = new QTabWidget(this);
  notebook->setObjectName("TabbedNotebook1");
  notebook->setGeometry(8, kTitleBandHeight + 8, kClientWidth - 16, 312 - kTitleBandHeight);
  auto* common = new QWidget;
  common->setObjectName("CommonSetup");
  notebook->addTab(common, "Common Setup");

  auto* data_set = new QGroupBox(common);
  data_set->setObjectName("Data_Set");
  data_set->setGeometry(8, 8, kClientWidth - 40, 264 - kTitleBandHeight);
  lanes_ = new QButtonGroup(this);
  std::vector<std::pair<LanePicture*, int>> lane_of_code;  // by code: its column's picture, lane
  int code = 0;
  int x = 16;
  for (const LaneColumn& column :
       {LaneColumn{"8 Bits", 1, {{"every_8", "Every"}}},
        LaneColumn{"16 Bits", 2, {{"even_16", "EVEN"}, {"odd_16", "ODD"}}},
        LaneColumn{"32 Bits",
                   4,
                   {{"st_32", "1'st"}, {"nd_32", "2'nd"}, {"rd_32", "3'rd"}, {"th_32", "4'th"}}}}) {
    auto* heading = new QLabel(column.heading, data_set);
    heading->setFont(HeadingFont());
    heading->setGeometry(x, 16, 140, 20);
    auto* picture = new LanePicture(column.width, data_set);
    picture->move(x, 40);
    picture->setAccessibleDescription(QString(column.heading) + " lanes");
    int y = 88;
    for (size_t lane = 0; lane < column.buttons.size(); ++lane) {
      const auto& [name, caption] = column.buttons[lane];
      auto* button = new QRadioButton(caption, data_set);
      button->setObjectName(name);
      button->setAccessibleName(QString(column.heading) + " " + caption);
      button->setGeometry(x, y, 140, 24);
      lane_of_code.emplace_back(picture, static_cast<int>(lane));
      lanes_->addButton(button, code++);
      y += 32;
    }
    x += 160;
  }
  // Each column's picture marks the lane ticked in it, else its first.
  connect(lanes_, &QButtonGroup::idToggled, this, [lane_of_code](int id, bool checked) {
    const auto& [picture, lane] = lane_of_code[static_cast<size_t>(id)];
    picture->SetLane(checked ? lane : 0);
  });
  LaneButton(0)->setChecked(true);

  // Kept from the layout, never shown.
  auto* range = new QGroupBox(" Range Set ", common);
  range->setObjectName("RangeSet");
  range->setGeometry(8, 180, 300, 84);
  auto* size = new QLabel(range);
  size->setObjectName("size");
  size->setGeometry(8, 20, 80, 20);
  int edit_x = 96;
  for (const auto& [name, text] :
       {std::pair{"edit_device_s", "0"}, std::pair{"edit_device_e", "1000"},
        std::pair{"edit_buffer_s", "0"}}) {
    auto* edit = new QLineEdit(text, range);
    edit->setObjectName(name);
    edit->setGeometry(edit_x, 20, 60, 24);
    edit->setEnabled(false);
    edit_x += 66;
  }
  range->setEnabled(false);
  range->hide();

  main_page_control_ = new QTabWidget(common);
  main_page_control_->setObjectName("MainPageControl");
  main_page_control_->setGeometry(data_set->geometry());
  main_page_control_->hide();

  auto* panel = new QWidget(this);
  panel->setObjectName("ButtonPanel");
  panel->setGeometry(0, kClientHeight - 44, kClientWidth, 44);
  auto* ok = new QPushButton("OK", panel);
  ok->setObjectName("OKBitBtn");
  ok->setAccessibleName("OK");
  ok->setDefault(true);
  ok->setGeometry(kClientWidth - 8 - 88, 8, 88, 28);
  connect(ok, &QPushButton::clicked, this, &TCurrentPageForm::OKBitBtnClick);
  // Hidden and disabled in the layout; Cancel and Exit close without a change.
  auto hidden = [panel](const char* name, const char* text) {
    auto* button = new QPushButton(text, panel);
    button->setObjectName(name);
    button->setAccessibleName(text);
    button->hide();
    button->setEnabled(false);
    return button;
  };
  connect(hidden("BitBtn2", "Cancel"), &QPushButton::clicked, this, [this] {
    result_ = 0;
    reject();
  });
  hidden("Apply", "Apply");
  hidden("BitBtn1", "Default");
  connect(hidden("ExitBitBtn", "Exit"), &QPushButton::clicked, this, &QDialog::reject);

  BuildParameterGrid();
  InitDataSet();
  FrameWindow(this, WindowTitle::Band);
}

TCurrentPageForm::~TCurrentPageForm() = default;

QRadioButton* TCurrentPageForm::LaneButton(int code) const {
  return static_cast<QRadioButton*>(lanes_->button(code));
}

void TCurrentPageForm::InitDataSet() {
  findChild<QGroupBox*>("Data_Set")->setEnabled(true);
  for (QAbstractButton* b : lanes_->buttons()) b->setEnabled(true);
  findChild<QLabel*>("size")->setText(QString::fromStdString(LaneRangeSizeText(context_.device)));
  // A lane code outside 0 to 6 is every byte.
  LaneButton(ByteLane::FromCode(context_.state.DataSetMode()).code())->setChecked(true);
}

void TCurrentPageForm::BuildParameterGrid() {
  const std::vector<ParameterGridRow> rows =
      ParameterGridRows(context_.state.ParamGridValues, context_.device);
  grid_ = new QTableWidget(static_cast<int>(rows.size()), 6, this);
  grid_->setObjectName("StringGrid1");
  grid_->horizontalHeader()->hide();
  grid_->verticalHeader()->hide();
  for (int r = 0; r < static_cast<int>(rows.size()); ++r) {
    for (int c = 0; c < 6; ++c) {
      grid_->setItem(r, c, new QTableWidgetItem(QString::fromStdString(rows[r][c])));
    }
  }
  connect(grid_, &QTableWidget::cellClicked, this, [this](int row, int) { selected_row_ = row; });
  // Placed outside the client area in the layout: never seen.
  grid_->setGeometry(kClientWidth + 16, 0, 480, 240);
  grid_->hide();
}

void TCurrentPageForm::LoadPageFile(const std::string& name) {
  page_file_name_ = name;
  BuildUserPages(name);
}

void TCurrentPageForm::BuildUserPages(const std::string& name) {
  const std::string path = OptionPageFilePath(context_.paths, name);
  const OptionPageSet set = ReadOptionPageSet(IniSnapshot(path));
  if (set.cut) context_.messages.Show(strprintf(kOptionPagesCutFormat, path.c_str()));
  setWindowTitle(DisplayText(set.caption));
  const IniSnapshot temp_ini(OptionValuesPath(context_.paths));
  main_page_control_->clear();
  BuiltOptionPages built = BuildOptionPages(
      main_page_control_, set, OptionPageValues{temp_ini, context_.state.ProgrammerHasData != 0});
  pages_ = std::move(built.pages);
  components_ = std::move(built.components);
  context_.state.ProgrammerHasData = 1;
}

void TCurrentPageForm::OKBitBtnClick() {
  const int ticked = lanes_->checkedId();
  data_set_code_ = ticked < 0 ? 0 : ticked;
  accept();
  CommitLaneChoice(data_set_code_, context_.state, context_.device, context_.buffer,
                   context_.messages);
}

void PlaceOptionWindow(QDialog& window, QWidget* owner) {
  PlaceWindow(window, WindowPlacement::AtOffset(owner, TCurrentPageForm::kOptionWindowOffset));
}

int32_t ShowCurrentPageDialog(const OptionWindowContext& context, QWidget* owner,
                              const std::string& name) {
  TCurrentPageForm form(context, owner);
  form.LoadPageFile(name);
  PlaceOptionWindow(form, owner);
  form.exec();
  return form.Result();
}

void ShowDeviceParameters(const OptionWindowContext& context, QWidget* owner) {
  if (context.state.ExitInProgress == 1) return;
  if (context.state.UserVoltageOn != 1) LoadDeviceParamFields(context.state, context.device);
  if (HasOptionPages(context.device)) {
    ShowCurrentPageDialog(context, owner, context.device.OptionPageIni);
    return;
  }
  TCurrentPageForm form(context, owner);
  PlaceOptionWindow(form, owner);
  form.exec();
}

}  // namespace quenlet
