#pragma once
// The fill command's range dialog ("Fill Data"): start and end fuse, the
// Max button, the bit to fill with, OK and Exit. It does no work itself: OK
// hands the range to the editor, which fills once the dialog has closed.
#include <QDialog>

class QButtonGroup;
class QLineEdit;
class QPushButton;

namespace quenlet {

class FuseMapEditor;

class TPalFillDataForm : public QDialog {
  Q_OBJECT

 public:
  explicit TPalFillDataForm(QWidget* parent = nullptr);

  // The editor whose range and bit the dialog shows and sets; call before
  // the dialog is shown.
  void SetForm2(FuseMapEditor* editor);

  QLineEdit* Edit1() const { return edit1_; }
  QLineEdit* Edit2() const { return edit2_; }
  QButtonGroup* FillGroup() const { return fill_group_; }

 public slots:
  void Edit1Change(const QString& text);
  void Edit2Change(const QString& text);
  void MaxBtnClick();
  void BitBtn1Click();
  void BitBtn2Click();
  // Escape and the window's close button are Exit.
  void reject() override;

 protected:
  // The edits' key filter: digits, A to F (a to f upper-cased), backspace.
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void FormCreate();
  void ApplyRule(QLineEdit* edit, const QString& text);

  FuseMapEditor* editor_ = nullptr;
  QLineEdit* edit1_ = nullptr;
  QLineEdit* edit2_ = nullptr;
  QButtonGroup* fill_group_ = nullptr;
  bool created_ = false;
};

}  // namespace quenlet
