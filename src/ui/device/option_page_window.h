#pragma once
// The device's option window (Parameters): the byte-lane choice of the data
// buffer and the option pages built from the device's page-description
// file. One window per showing: the caller creates it, shows it modally and
// destroys it.
//
// A lane button only picks a lane; OK commits it (lanes, buffer size) and
// closes. Escape and the window's close change nothing. The option pages
// are built with their values but kept hidden, as the program has always
// had them: values changed in them end with the window.
#include <QDialog>
#include <QPoint>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "ui/device/option_page_builder.h"

class QButtonGroup;
class QRadioButton;
class QTabWidget;
class QTableWidget;

namespace quenlet {

class DataBuffer;
class Messages;
class ProgramPaths;
struct MainFormState;
struct SelectedDevice;

// What the window works on; the application owns all of it.
struct OptionWindowContext {
  MainFormState& state;
  const SelectedDevice& device;
  DataBuffer& buffer;
  Messages& messages;
  const ProgramPaths& paths;
};

class TCurrentPageForm : public QDialog {
  Q_OBJECT

 public:
  static constexpr int kClientWidth = 534;
  static constexpr int kClientHeight = 366;
  static constexpr QPoint kOptionWindowOffset{12, 54};  // from the owner's top left

  TCurrentPageForm(const OptionWindowContext& context, QWidget* owner);
  ~TCurrentPageForm() override;

  // Builds the pages of the page-description file `name` (a path below the
  // program directory); ProgrammerHasData := 1 afterwards.
  void LoadPageFile(const std::string& name);
  // What ShowCurrentPageDialog returns: always 0.
  int32_t Result() const { return result_; }
  // The lane code OK committed (0 until then).
  int32_t DataSetCode() const { return data_set_code_; }

  // The lane buttons by code 0 to 6 (every_8 ... th_32).
  QRadioButton* LaneButton(int code) const;
  QTabWidget* MainPageControl() const { return main_page_control_; }
  QTableWidget* ParameterGrid() const { return grid_; }
  const std::vector<QWidget*>& Pages() const { return pages_; }
  const std::vector<std::unique_ptr<TComponentDefault>>& Components() const { return components_; }

 public slots:
  void OKBitBtnClick();

 private:
  void InitDataSet();
  void BuildParameterGrid();
  void BuildUserPages(const std::string& name);

  OptionWindowContext context_;
  QButtonGroup* lanes_ = nullptr;
  QTabWidget* main_page_control_ = nullptr;
  QTableWidget* grid_ = nullptr;
  std::string page_file_name_;
  std::vector<QWidget*> pages_;
  std::vector<std::unique_ptr<TComponentDefault>> components_;
  int32_t data_set_code_ = 0;
  int32_t result_ = 0;
  int32_t selected_row_ = 0;
};

// Places the window at the owner's top + 54, left + 12 (window_placement.h).
void PlaceOptionWindow(QDialog& window, QWidget* owner);

// A window with the pages of `name`, shown modally and destroyed; returns 0.
int32_t ShowCurrentPageDialog(const OptionWindowContext& context, QWidget* owner,
                              const std::string& name);

// The Parameters command: the device parameters copied for the grid (unless
// the operator's own voltages are on), then the option window, with the
// device's pages when it has some. Nothing while the program exits.
void ShowDeviceParameters(const OptionWindowContext& context, QWidget* owner);

}  // namespace quenlet
