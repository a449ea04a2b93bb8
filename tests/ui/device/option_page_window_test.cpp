// The option window on the offscreen platform: the pages built from a page
// file, the value edits' input rules, the lane choice and its commit.
#include "ui/device/option_page_window.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <QApplication>
#include <QButtonGroup>
#include <QCheckBox>
#include <QClipboard>
#include <QGroupBox>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QTabWidget>
#include <QTableWidget>
#include <QTest>
#include <QTimer>
#include <filesystem>

#include "buffer/data_buffer.h"
#include "device/option_page_file.h"
#include "device/selected_device.h"
#include "platform/ini_file.h"
#include "platform/program_paths.h"
#include "state/main_form_state.h"
#include "support/fakes.h"
#include "support/option_pages_fixture.h"
#include "support/temp_dir.h"
#include "ui/device/option_value_edit.h"
#include "ui/screenshot.h"

namespace quenlet::testing {
namespace {

class OptionWindowTest : public TempDirTest {
 protected:
  void SetUp() override {
    TempDirTest::SetUp();
    InstallFixturePages(dir_);
    paths_ = std::make_unique<ProgramPaths>(dir_.string());
    device_.IcDeviceSize = 0x20000;
    device_.IcBufferSize = 0x20000;
    device_.Option_Fuse_Type = 2;
    device_.OptionPageIni = "MENU\\PAGES.INI";
    state_.BufferSize = 0x20000;
    buffer_.ResizeBuffer(0x20000, messages_);
  }
  OptionWindowContext Context() { return {state_, device_, buffer_, messages_, *paths_}; }
  std::unique_ptr<TCurrentPageForm> Built() {
    auto form = std::make_unique<TCurrentPageForm>(Context(), nullptr);
    form->LoadPageFile(device_.OptionPageIni);
    return form;
  }
  void TempValue(const std::string& key, const std::string& value) {
    IniFile(Path("temp.ini")).WriteString("CurrentUserPageSetup", key, value);
  }
  // The control of page p, component c.
  template <class T>
  T* Control(TCurrentPageForm& form, int page, int component) {
    for (const auto& r : form.Components()) {
      if (r->Page == page && r->Index == component) return qobject_cast<T*>(r->Control.data());
    }
    return nullptr;
  }

  MainFormState state_;
  SelectedDevice device_;
  FakeMessages messages_;
  DataBuffer buffer_;
  std::unique_ptr<ProgramPaths> paths_;
};

TEST_F(OptionWindowTest, WindowWithoutPages) {
  TCurrentPageForm form(Context(), nullptr);
  EXPECT_EQ(form.windowTitle(), "CurrentPage");
  EXPECT_NE(form.findChild<QWidget*>("TitleBand"), nullptr);  // the caption shows
  EXPECT_EQ(form.size(), QSize(534, 366));
  EXPECT_TRUE(form.windowFlags() & Qt::FramelessWindowHint);
  EXPECT_TRUE(form.windowFlags() & Qt::WindowStaysOnTopHint);
  auto* notebook = form.findChild<QTabWidget*>("TabbedNotebook1");
  ASSERT_NE(notebook, nullptr);
  EXPECT_EQ(notebook->tabText(0), "Common Setup");
  EXPECT_TRUE(form.LaneButton(0)->isChecked());
  const char* captions[] = {"Every", "EVEN", "ODD", "1'st", "2'nd", "3'rd", "4'th"};
  for (int code = 0; code < 7; ++code) EXPECT_EQ(form.LaneButton(code)->text(), captions[code]);
  EXPECT_EQ(form.MainPageControl()->count(), 0);
  EXPECT_TRUE(form.findChild<QPushButton*>("OKBitBtn")->isDefault());

  form.show();
  // Kept from the layout but never seen.
  EXPECT_FALSE(form.MainPageControl()->isVisible());
  EXPECT_FALSE(form.ParameterGrid()->isVisible());
  EXPECT_FALSE(form.findChild<QGroupBox*>("RangeSet")->isVisible());
  for (const char* hidden : {"BitBtn2", "Apply", "BitBtn1", "ExitBitBtn"}) {
    auto* button = form.findChild<QPushButton*>(hidden);
    ASSERT_NE(button, nullptr) << hidden;
    EXPECT_FALSE(button->isVisible() || button->isEnabled()) << hidden;
  }
  EXPECT_EQ(form.findChild<QLabel*>("size")->text(), "001FFFF");
  EXPECT_EQ(form.ParameterGrid()->item(0, 1)->text(), " Symbol");
  EXPECT_EQ(form.ParameterGrid()->item(8, 4)->text(), "100");
  EXPECT_EQ(state_.ProgrammerHasData, 0);  // no pages were built
  SaveScreenshot(form, "option_window_no_pages");
}

TEST_F(OptionWindowTest, BuildsEveryKindFromThePageFile) {
  TempValue("Page1Com0Set", "48879");
  const auto form = Built();
  EXPECT_EQ(form->windowTitle(), "Test Options");
  QTabWidget* pages = form->MainPageControl();
  ASSERT_EQ(pages->count(), 2);
  EXPECT_EQ(pages->tabText(0), "Flags");
  EXPECT_EQ(pages->tabText(1), "Page1");
  EXPECT_EQ(pages->widget(1)->objectName(), "Page1");
  ASSERT_EQ(form->Components().size(), 8u);
  EXPECT_EQ(state_.ProgrammerHasData, 1);

  auto* secure = Control<QCheckBox>(*form, 0, 0);
  ASSERT_NE(secure, nullptr);
  EXPECT_EQ(secure->geometry().topLeft(), QPoint(12, 8));
  EXPECT_EQ(secure->width(), 120);  // 20 pixels per byte of "Secure"

  // Five items in two columns, filled column by column.
  auto* mode = Control<OptionRadioGroup>(*form, 0, 1);
  ASSERT_NE(mode, nullptr);
  EXPECT_EQ(mode->geometry(), QRect(12, 36, 240, 96));
  QList<QAbstractButton*> items;
  for (int i = 0; i < 5; ++i) items << mode->Items()->button(i);
  EXPECT_EQ(items[0]->x(), items[2]->x());
  EXPECT_LT(items[0]->y(), items[1]->y());
  EXPECT_LT(items[1]->y(), items[2]->y());
  EXPECT_GT(items[3]->x(), items[2]->x());
  EXPECT_EQ(items[3]->y(), items[0]->y());
  EXPECT_EQ(items[4]->text(), "Max");

  auto* count = Control<OptionValueEdit>(*form, 0, 2);
  ASSERT_NE(count, nullptr);
  QLabel* label = nullptr;
  for (QLabel* l : pages->widget(0)->findChildren<QLabel*>()) {
    if (l->text() == "Count [DEC] : ") label = l;
  }
  ASSERT_NE(label, nullptr);
  EXPECT_EQ(count->x(), label->x() + label->width() + 4);
  EXPECT_EQ(count->y(), 140);
  EXPECT_EQ(count->width(), 60);
  EXPECT_EQ(label->y(), count->y() + (count->height() - label->height()) / 2);
  EXPECT_EQ(count->text(), "0");  // no temp.ini value

  auto* explanation = Control<QPlainTextEdit>(*form, 0, 3);
  ASSERT_NE(explanation, nullptr);
  EXPECT_TRUE(explanation->isReadOnly());
  EXPECT_EQ(explanation->palette().color(QPalette::Base), QColor(0, 0, 0));
  EXPECT_EQ(explanation->palette().color(QPalette::Text), QColor(0, 255, 0));
  EXPECT_EQ(explanation->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
  EXPECT_EQ(explanation->horizontalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
  EXPECT_EQ(explanation->toPlainText(), "Secure: reads give FFh.\nMode: the programming speed.");

  EXPECT_EQ(Control<OptionValueEdit>(*form, 1, 0)->text(), "BEEF");
  EXPECT_EQ(Control<OptionValueEdit>(*form, 1, 1)->text(), "None");
  // No ComponentType, and an unknown kind: a record without a control.
  EXPECT_EQ(form->Components()[6]->Control, nullptr);
  EXPECT_EQ(form->Components()[6]->ComponentType, -1);
  EXPECT_EQ(form->Components()[7]->Control, nullptr);
  EXPECT_EQ(form->Components()[7]->ComponentType, 9);
}

// The sample library's option device, as the operator opens it.
TEST_F(OptionWindowTest, SampleLibraryPages) {
  std::filesystem::copy_file(QUENLET_LIBRARY "/MENU/QDO-008.INI", dir_ / "MENU" / "QDO-008.INI");
  device_.OptionPageIni = "MENU\\QDO-008.INI";
  TempValue("Page1Com0Set", "150");
  TempValue("Page1Com1Set", "4660");
  TempValue("Page1Com2Set", "QDO-008");
  const auto form = Built();
  EXPECT_EQ(form->windowTitle(), "QDO-008 Options");
  QTabWidget* pages = form->MainPageControl();
  ASSERT_EQ(pages->count(), 2);
  EXPECT_EQ(pages->tabText(0), "Protection");
  EXPECT_EQ(pages->tabText(1), "Values");
  EXPECT_TRUE(Control<QCheckBox>(*form, 0, 0)->isChecked());
  EXPECT_EQ(Control<OptionRadioGroup>(*form, 0, 1)->ItemIndex(), 2);
  EXPECT_EQ(Control<OptionValueEdit>(*form, 1, 0)->text(), "150");
  EXPECT_EQ(Control<OptionValueEdit>(*form, 1, 1)->text(), "1234");
  EXPECT_EQ(Control<OptionValueEdit>(*form, 1, 2)->text(), "QDO-008");

  form->show();
  SaveScreenshot(*form, "option_window_sample");
  // The pages are built hidden; here each is drawn as it would look.
  for (int p = 0; p < pages->count(); ++p) {
    pages->setCurrentIndex(p);
    pages->show();
    SaveScreenshot(*pages, QString("option_window_sample_page%1").arg(p));
  }
}

// Check boxes and radio groups show the page file's defaults until the
// programmer has given values; value edits always show temp.ini.
TEST_F(OptionWindowTest, ValueSources) {
  TempValue("Page0Com0Set", "0");
  TempValue("Page0Com1Set", "99");  // no such item
  TempValue("Page0Com2Set", "300");
  for (int has_data : {0, 1}) {
    SCOPED_TRACE(has_data);
    state_.ProgrammerHasData = has_data;
    const auto form = Built();
    EXPECT_EQ(Control<QCheckBox>(*form, 0, 0)->isChecked(), has_data == 0);
    EXPECT_EQ(Control<OptionRadioGroup>(*form, 0, 1)->ItemIndex(), has_data == 0 ? 3 : -1);
    EXPECT_EQ(Control<OptionValueEdit>(*form, 0, 2)->text(), "300");  // shown as the unit sent it
  }
}

TEST_F(OptionWindowTest, ValueEditsTakeOnlyWhatTheirTypeAllows) {
  WriteFile(dir_ / "MENU" / "PAGES.INI",
            "[CurrentUserPage_0]\nComponentTotal=5\n"
            "ComponentType0=2\nValueType0=0\n"
            "ComponentType1=2\nValueType1=3\n"
            "ComponentType2=2\nValueType2=2\n"
            "ComponentType3=2\nValueType3=6\n"
            "ComponentType4=2\nValueType4=8\nComponentCaption4=Odd\n");
  const auto form = Built();
  // An unknown value type shows no text.
  EXPECT_TRUE(Control<OptionValueEdit>(*form, 0, 4)->text().isEmpty());
  struct Case {
    int component;
    const char* keys;
    const char* shown;
  };
  for (const Case& c :
       {Case{0, "999", "255"}, Case{0, "0255", "025"}, Case{0, "4x-2", "42"}, Case{1, "a", "A"},
        Case{1, "1FF", "1F"}, Case{1, "fg", "F"}, Case{2, "16777215", "16777215"},
        Case{3, "Any 1!", "Any 1!"}, Case{4, "free", "free"}}) {
    SCOPED_TRACE(std::string(c.keys) + " into component " + std::to_string(c.component));
    auto* edit = Control<OptionValueEdit>(*form, 0, c.component);
    ASSERT_NE(edit, nullptr);
    edit->clear();
    QTest::keyClicks(edit, c.keys);
    EXPECT_EQ(edit->text(), c.shown);
  }
  // Backspace still edits; a paste is dropped.
  auto* dec = Control<OptionValueEdit>(*form, 0, 0);
  dec->setText("12");
  QTest::keyClick(dec, Qt::Key_End);
  QTest::keyClick(dec, Qt::Key_Backspace);
  EXPECT_EQ(dec->text(), "1");
  QApplication::clipboard()->setText("ABC");
  QTest::keyClick(dec, Qt::Key_V, Qt::ControlModifier);
  EXPECT_EQ(dec->text(), "1");
  // An unknown value type: no text, no suffix.
  EXPECT_EQ(Control<OptionValueEdit>(*form, 0, 4)->accessibleName(), "Odd");
}

// A damaged page file: controls stay inside the window, and a set larger
// than the bounds is built up to them and said once.
TEST_F(OptionWindowTest, DamagedPageFileStaysWithinTheWindowAndItsBounds) {
  std::string text =
      "[CurrentUserPage]\nTotal=2\n[CurrentUserPage_0]\nComponentTotal=3\n"
      "ComponentType0=2\nValueType0=0\nLeft0=2147483647\nTop0=2147483647\n"
      "Width0=2147483647\nComponentCaption0=Far\n"
      "ComponentType1=0\nLeft1=-2147483648\nComponentCaption1=" +
      std::string(200, 'x') +
      "\nComponentType2=1\nLeft2=2147483647\nWidth2=2147483647\nHeight2=2147483647\n"
      "Radio2Total=2\n[CurrentUserPage_1]\nComponentTotal=128\n";
  WriteFile(dir_ / "MENU" / "PAGES.INI", text);
  const auto form = Built();
  const QRect window(0, 0, TCurrentPageForm::kClientWidth, TCurrentPageForm::kClientHeight);
  auto* far = Control<OptionValueEdit>(*form, 0, 0);
  ASSERT_NE(far, nullptr);
  EXPECT_EQ(far->width(), window.width());
  EXPECT_EQ(far->y(), window.height());
  EXPECT_LE(far->x(), 2 * window.width());
  EXPECT_EQ(Control<QCheckBox>(*form, 0, 1)->geometry().topLeft().x(), 0);
  EXPECT_EQ(Control<QCheckBox>(*form, 0, 1)->width(), window.width());
  EXPECT_EQ(Control<OptionRadioGroup>(*form, 0, 2)->geometry(),
            QRect(window.width(), 1, window.width(), window.height()));
  // 3 + 128 components: the second page gets 125 of its 128.
  EXPECT_EQ(form->Components().size(), size_t{kMaxOptionComponents});
  EXPECT_THAT(messages_.texts(),
              ::testing::ElementsAre(::testing::StartsWith("The option page file \"")));
}

// A lane button only picks; OK commits, Escape and a close change nothing.
TEST_F(OptionWindowTest, LaneCommitsOnlyAtOk) {
  struct Case {
    const char* name;
    std::function<void(TCurrentPageForm&)> end;
    bool committed;
  };
  for (const Case& c : {
           Case{"OK", [](TCurrentPageForm& f) { f.findChild<QPushButton*>("OKBitBtn")->click(); },
                true},
           Case{"Escape", [](TCurrentPageForm& f) { QTest::keyClick(&f, Qt::Key_Escape); }, false},
           Case{"close", [](TCurrentPageForm& f) { f.close(); }, false},
       }) {
    SCOPED_TRACE(c.name);
    state_ = MainFormState{};
    state_.BufferSize = 0x20000;
    ASSERT_TRUE(buffer_.ResizeBuffer(0x20000, messages_));
    TCurrentPageForm form(Context(), nullptr);
    QTimer::singleShot(0, &form, [&] {
      form.LaneButton(2)->click();
      EXPECT_EQ(state_.DataSetMode(), 0);  // picked, not yet committed
      c.end(form);
    });
    form.exec();
    EXPECT_FALSE(form.isVisible());
    if (c.committed) {
      EXPECT_EQ(state_.DataSetMode(), 2);
      EXPECT_EQ(state_.LaneOffset(), 1u);
      EXPECT_EQ(state_.LaneWidth(), 2u);
      EXPECT_EQ(state_.BufferSize, 0x40000u);
      EXPECT_EQ(buffer_.BufSize(), 0x40000u + DataBuffer::kSizeExtra);
      EXPECT_EQ(state_.ProgrammerHasData, 1);
    } else {
      EXPECT_EQ(state_.DataSetMode(), 0);
      EXPECT_EQ(state_.BufferSize, 0x20000u);
      EXPECT_EQ(buffer_.BufSize(), 0x20000u + DataBuffer::kSizeExtra);
      EXPECT_EQ(state_.ProgrammerHasData, 0);
    }
    EXPECT_EQ(form.Result(), 0);
  }
}

TEST_F(OptionWindowTest, TicksTheCurrentLane) {
  for (auto [mode, ticked] : {std::pair{5, 5}, std::pair{9, 0}}) {
    state_.SetDataSetMode(mode);
    TCurrentPageForm form(Context(), nullptr);
    EXPECT_TRUE(form.LaneButton(ticked)->isChecked()) << mode;
  }
  state_.SetDataSetMode(4);
  TCurrentPageForm form(Context(), nullptr);
  form.show();
  SaveScreenshot(form, "option_window_lane_2nd");
}

// The Parameters command: the grid's device parameters, then the window with
// the device's pages, or without them for a device that has none.
TEST_F(OptionWindowTest, ParametersCommandOpensOneWindowPerShowing) {
  device_.OperationVoltages[kReadVcc] = 50;
  struct Case {
    const char* menu;
    uint16_t option_fuse_type;
    int pages;
  };
  for (const Case& c :
       {Case{"MENU\\PAGES.INI", 2, 2}, Case{"0", 2, 0}, Case{"MENU\\PAGES.INI", 0, 0}}) {
    SCOPED_TRACE(c.menu + std::to_string(c.option_fuse_type));
    device_.OptionPageIni = c.menu;
    device_.Option_Fuse_Type = c.option_fuse_type;
    state_.ParamGridValues = {};
    int shown = -1;
    QTimer::singleShot(0, [&] {
      auto* form = qobject_cast<TCurrentPageForm*>(QApplication::activeModalWidget());
      ASSERT_NE(form, nullptr);
      shown = form->MainPageControl()->count();
      form->reject();
    });
    ShowDeviceParameters(Context(), nullptr);
    EXPECT_EQ(shown, c.pages);
    EXPECT_EQ(state_.ParamGridValues[0], 50);
    // The window is gone with its showing.
    int windows = 0;
    for (QWidget* w : QApplication::topLevelWidgets())
      windows += qobject_cast<TCurrentPageForm*>(w) != nullptr;
    EXPECT_EQ(windows, 0);
  }
  // The operator's own voltages keep the grid as it is.
  state_.UserVoltageOn = 1;
  state_.ParamGridValues = {};
  QTimer::singleShot(0, [] { QApplication::activeModalWidget()->close(); });
  ShowDeviceParameters(Context(), nullptr);
  EXPECT_EQ(state_.ParamGridValues[0], 0);
}

}  // namespace
}  // namespace quenlet::testing
