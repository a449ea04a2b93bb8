#pragma once
// The device-selection dialog: history box, manufacturer and part lists with
// their read-only edits, the part's preview, the manufacturer's document
// button, OK and Cancel. A borderless modal dialog of 531 x 363 pixels, made
// once for the run and shown with Exec(); Escape and the window's close are
// Cancel. The logic is SelectIcDialogLogic (device/select_ic_logic.h); this
// window shows its fields and hands it every event.
#include <QDialog>
#include <QPushButton>

#include "device/select_ic_logic.h"

class QComboBox;
class QFrame;
class QLabel;
class QLineEdit;
class QListView;
class QStringListModel;

namespace quenlet {

// A button whose text begins with blanks for a glyph, as the dialog's OK and
// Cancel do: the glyph is drawn in that room.
class GlyphButton : public QPushButton {
  Q_OBJECT

 public:
  enum class Glyph { Check, Cross };
  GlyphButton(Glyph glyph, const QString& text, QWidget* parent);

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  Glyph glyph_;
};

class TSelectICDialog : public QDialog {
  Q_OBJECT

 public:
  // Creates the dialog and runs its creation (lists, history, last choice).
  explicit TSelectICDialog(SelectIcEnv env, QWidget* owner = nullptr);

  // Shows the dialog modally with the current selection.
  int Exec();

  SelectIcDialogLogic& Logic() { return logic_; }

  QComboBox* HistCBox() const { return hist_box_; }
  QLineEdit* ManuEdit() const { return manu_edit_; }
  QLineEdit* IcTypeEdit() const { return ic_type_edit_; }
  QListView* MaunListBox() const { return maker_list_; }
  QListView* NumListBox() const { return part_list_; }
  QPushButton* OKBtn() const { return ok_; }
  QPushButton* CancelBtn() const { return cancel_; }
  QPushButton* ConnetWEBBitBtn() const { return web_; }
  QLabel* PinLabel() const { return pin_; }
  QLabel* SizeLabel() const { return size_; }
  QLabel* VCCLabel() const { return vcc_; }
  QLabel* VCPLabel() const { return vcp_; }
  QLabel* VPPLabel() const { return vpp_; }
  QLabel* D_CodeLabel() const { return ids_; }
  QLabel* NoteLabel() const { return note_; }
  QLabel* Image1() const { return image_; }

 public slots:
  void OKBtnClick();
  void CancelBtnClick();
  void reject() override;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void Build();
  // Widgets from the logic's fields; lists only when their content changed.
  void Push();
  void Select(QListView* list, std::optional<size_t> row);

  SelectIcDialogLogic logic_;
  bool pushing_ = false;
  uint64_t shown_part_list_ = ~uint64_t{0};
  std::optional<std::string> shown_picture_;

  QComboBox* hist_box_ = nullptr;
  QLineEdit* manu_edit_ = nullptr;
  QLineEdit* ic_type_edit_ = nullptr;
  QListView* maker_list_ = nullptr;
  QListView* part_list_ = nullptr;
  QStringListModel* makers_ = nullptr;
  QStringListModel* parts_ = nullptr;
  QPushButton* ok_ = nullptr;
  QPushButton* cancel_ = nullptr;
  QPushButton* web_ = nullptr;
  QLabel* pin_ = nullptr;
  QLabel* size_ = nullptr;
  QLabel* vcc_ = nullptr;
  QLabel* vcp_ = nullptr;
  QLabel* vpp_ = nullptr;
  QLabel* ids_ = nullptr;
  QLabel* note_ = nullptr;
  QFrame* panel5_ = nullptr;
  QLabel* image_ = nullptr;
};

}  // namespace quenlet
