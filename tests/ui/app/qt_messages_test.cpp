// The Qt side of Messages: every box is the program's own, with the caller's
// captions, over the dialog that is up.
#include <gtest/gtest.h>
#include <QPushButton>
#include <QTest>

#include "ui/app/qt_services.h"
#include "ui/controls/message_box_window.h"
#include "ui/dialog_script.h"

namespace quenlet::testing {
namespace {

struct Seen {
  QString caption;
  MessageIcon icon = MessageIcon::None;
  QString text;
  QWidget* owner = nullptr;
  QRect frame;
};

// Records the box that comes up, then answers it with `answer`.
void Answer(Seen& seen, MessageResult answer) {
  WhenShown<MessageBoxWindow>([&seen, answer](MessageBoxWindow& box) {
    seen = {box.windowTitle(), box.Icon(), box.TextLabel()->text(), box.parentWidget(),
            box.frameGeometry()};
    box.Button(answer)->click();
  });
}

class QtMessagesTest : public ::testing::Test {
 protected:
  void SetUp() override {
    main_window.resize(554, 429);
    main_window.show();
    messages.SetParent(&main_window);
  }
  QWidget main_window{nullptr, Qt::Window | Qt::FramelessWindowHint};
  QtMessages messages;
};

TEST_F(QtMessagesTest, EveryKindIsTheProgramsOwnBoxWithItsCaption) {

  Seen seen;
  Answer(seen, MessageResult::Ok);
  messages.Show("Please Selete IC...");
  EXPECT_EQ(seen.caption, "Quenlet");
  EXPECT_EQ(seen.icon, MessageIcon::None);
  EXPECT_EQ(seen.text, "Please Selete IC...");
  EXPECT_EQ(seen.owner, &main_window);

  Answer(seen, MessageResult::Ok);
  messages.ShowError("'x' is not a valid integer value");
  EXPECT_EQ(seen.caption, "Quenlet");
  EXPECT_EQ(seen.icon, MessageIcon::Stop);

  Answer(seen, MessageResult::No);
  EXPECT_EQ(messages.Box("Exit Program?", "Exit:", MessageButtons::YesNo, MessageIcon::Question),
            MessageResult::No);
  EXPECT_EQ(seen.caption, "Exit:");
  EXPECT_EQ(seen.icon, MessageIcon::Question);
}

TEST_F(QtMessagesTest, ABoxComesOverTheDialogThatIsUp) {
  QDialog dialog(&main_window, Qt::Dialog | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint);
  dialog.resize(300, 200);
  dialog.move(40, 300);

  Seen seen;
  WhenShown<QDialog>([&](QDialog&) {
    Answer(seen, MessageResult::Ok);
    messages.Box("Input Value Error !", "ERROR", MessageButtons::Ok, MessageIcon::Stop);
    dialog.accept();
  });
  dialog.exec();
  // Its own child, so that it stays above it, centred over it.
  EXPECT_EQ(seen.owner, &dialog);
  EXPECT_LE((seen.frame.center() - dialog.frameGeometry().center()).manhattanLength(), 2);
}

}  // namespace
}  // namespace quenlet::testing
