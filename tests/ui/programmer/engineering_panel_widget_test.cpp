// The engineering panel's buttons on the offscreen platform.
#include "ui/programmer/engineering_panel_widget.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <QPushButton>
#include <QTest>

#include "programmer/engineering_panel.h"
#include "programmer/ops_fixture.h"
#include "ui/screenshot.h"

namespace quenlet::testing {
namespace {

class NoInput : public InputBox {
 public:
  std::string Ask(const std::string&, const std::string&, const std::string& d) override {
    return d;
  }
};

TEST(EngineeringPanelWidget, ClicksGoThroughTheRunnerAndAHoverOn0x4BHides) {
  OpsFixture ops;
  NoInput input;
  EngineeringPanel panel(ops.ctx, input);
  int runs = 0;
  EngineeringPanelWidget widget(panel, [&](const std::function<void()>& work) {
    ++runs;
    work();
  });
  EXPECT_TRUE(widget.isHidden());
  for (const char* name : {"Button6",  "Button7",  "Button8",  "Button9",  "Button10", "Button12",
                           "Button13", "Button15", "Button16", "Button17", "Button18", "Button19",
                           "Button20", "Button21", "Button1",  "Button2",  "Erase",    "check",
                           "program",  "verify",   "Prot",     "prog",     "Init"}) {
    QPushButton* button = widget.Button(name);
    ASSERT_NE(button, nullptr) << name;
    EXPECT_FALSE(button->accessibleName().isEmpty()) << name;
  }
  EXPECT_EQ(widget.Button("Button7")->text(), "Read SRAM");
  EXPECT_EQ(widget.Button("Button10")->text(), "0x4d");

  widget.show();
  EXPECT_TRUE(SaveScreenshot(widget, "engineering_panel"));
  std::fill(ops.buffer.Bytes().begin(), ops.buffer.Bytes().end(), 0x5A);
  QTest::mouseClick(widget.Button("Button8"), Qt::LeftButton);  // Write SRAM
  EXPECT_EQ(runs, 1);
  EXPECT_EQ(ops.unit().raw_memory()[511], 0x5A);

  widget.SetSramButtonsEnabled(false);
  EXPECT_FALSE(widget.Button("Button7")->isEnabled());
  EXPECT_FALSE(widget.Button("Button8")->isEnabled());
  EXPECT_TRUE(widget.Button("Button6")->isEnabled());

  QMouseEvent move(QEvent::MouseMove, QPointF(4, 4), QPointF(4, 4), Qt::NoButton, Qt::NoButton,
                   Qt::NoModifier);
  QCoreApplication::sendEvent(widget.Button("Button21"), &move);
  EXPECT_TRUE(widget.isHidden());
}

}  // namespace
}  // namespace quenlet::testing
