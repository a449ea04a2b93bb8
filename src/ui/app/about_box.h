#pragma once
// The about box: the program's name and version and the firmware version
// of the attached unit, which it asks the unit for each time it opens
// ("Not Available" without one). A frameless dialog over the main window,
// at top + 55 and left + 130 (window_placement.h), its caption in a title
// band above the box's own layout; OK, Enter or Escape closes it.
#include <QDialog>
#include <vector>

#include "ui/controls/window_frame.h"

class QAbstractButton;
class QLabel;
class QPushButton;

namespace quenlet {

class Application;

class TAboutBox : public QDialog {
  Q_OBJECT

 public:
  static constexpr QSize kSize{294, 232};
  // The title band takes the place of the top edge and pushes the box's
  // own layout down.
  static constexpr int kBandDrop = kTitleBandHeight - 1;
  static constexpr QPoint kOffset{130, 55};  // from the main window's top left
  static constexpr int kShortPanelHeight = 161;
  static constexpr int kShortHeight = 163;
  static constexpr const char* kSoftwareVersion = "9.40";

  // Reconnects the unit, reads its firmware version and reloads the device.
  TAboutBox(Application& app, QWidget* main_window);

  QLabel* H_sn() const { return h_sn_; }
  QLabel* tt() const { return tt_; }
  QLabel* Label3() const { return label3_; }
  QWidget* Panel1() const { return panel1_; }
  QAbstractButton* ProgramIcon() const { return icon_; }
  QPushButton* OKButton() const { return ok_; }

 public slots:
  // The short form of the box: only the icon, the name and OK.
  void ProgramIconClick();
  void OKButtonClick();

 private:
  QWidget* panel1_ = nullptr;
  QAbstractButton* icon_ = nullptr;
  QLabel* tt_ = nullptr;
  QLabel* label3_ = nullptr;
  QLabel* h_sn_ = nullptr;
  QPushButton* ok_ = nullptr;
  QWidget* panel3_ = nullptr;
  std::vector<QLabel*> version_labels_;
};

}  // namespace quenlet
