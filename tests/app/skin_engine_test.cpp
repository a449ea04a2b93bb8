#include "app/skin_engine.h"

#include <gtest/gtest.h>

#include "app/skin_layout.h"
#include "programmer/step_pictures.h"
#include "state/main_form_state.h"

namespace quenlet {
namespace {

// The toolbar and the Edit page's commands as the window starts: every
// picture of every stack visible, the plain one on top.
class SkinEngineTest : public ::testing::Test {
 protected:
  void SetUp() override {
    for (const auto* stacks : {&ToolbarStacks(), &EditCommandStacks(), &RunStacks()}) {
      for (const SkinStackLayout& stack : *stacks) {
        for (const std::string& layer : stack.layers) pictures.Show(layer);
      }
    }
    pictures.Show("Main");
    for (Step step : {Step::Type, Step::Load}) {
      pictures.Show(step, Layer::n);
      pictures.Show(step, Layer::h);
    }
  }

  void Mouse(SkinMouse event, const std::string& picture) {
    HandleSkinMouse(skin, pictures, state, event, picture);
  }
  // The picture a person sees on a stack: its topmost visible layer.
  std::string Top(const std::vector<std::string>& layers) const {
    for (const std::string& layer : layers) {
      if (pictures.VisibleByName(layer)) return layer;
    }
    return "";
  }
  std::string Top(const std::string& plain) const {
    return Top({plain, plain + "_Hint", plain + "_Down"});
  }

  StepPictures pictures;
  SkinEngine skin{pictures};
  MainFormState state;
};

TEST_F(SkinEngineTest, MovingFromOneButtonToAnotherHighlightsOnlyTheLastOne) {
  Mouse(SkinMouse::Move, "Help");
  EXPECT_EQ(Top("Help"), "Help_Hint");
  Mouse(SkinMouse::Move, "Exit");
  EXPECT_EQ(Top("Help"), "Help");
  EXPECT_EQ(Top("Exit"), "Exit_Hint");
  EXPECT_EQ(skin.CurrentImage(), "Exit");
  // Onto the background: the button comes back, the background never hides.
  Mouse(SkinMouse::Move, "Main");
  EXPECT_EQ(Top("Exit"), "Exit");
  EXPECT_TRUE(pictures.VisibleByName("Main"));
  Mouse(SkinMouse::Move, "Multi");
  Mouse(SkinMouse::Move, "Main");
  Mouse(SkinMouse::Move, "Multi");
  Mouse(SkinMouse::Move, "Copy_Page");
  EXPECT_EQ(Top("Multi"), "Multi");
  EXPECT_EQ(skin.CurrentImage(), "Copy_Page");
  EXPECT_TRUE(pictures.VisibleByName("Main"));
}

TEST_F(SkinEngineTest, PressShowsThePressedTwinAndReleaseRestoresTheButton) {
  Mouse(SkinMouse::Move, "Help");
  Mouse(SkinMouse::Down, "Help_Hint");
  EXPECT_EQ(Top("Help"), "Help_Down");
  Mouse(SkinMouse::Up, "Help_Hint");
  EXPECT_TRUE(pictures.VisibleByName("Help_Hint"));
  EXPECT_TRUE(pictures.VisibleByName("Help"));
  EXPECT_EQ(skin.CurrentImage(), "Help_Hint");
  // The next move over it highlights it again.
  Mouse(SkinMouse::Move, "Help");
  EXPECT_EQ(Top("Help"), "Help_Hint");

  // An Edit-page command: a move over its pressed picture keeps it pressed,
  // the release (to the picture that took the press) lifts it.
  Mouse(SkinMouse::Move, "Fill");
  EXPECT_EQ(Top("Help"), "Help");
  Mouse(SkinMouse::Down, "Fill_Hint");
  EXPECT_EQ(Top("Fill"), "Fill_Down");
  Mouse(SkinMouse::Move, "Fill_Down");
  EXPECT_EQ(Top("Fill"), "Fill_Down");
  Mouse(SkinMouse::Up, "Fill_Hint");
  EXPECT_EQ(Top("Fill"), "Fill");
  Mouse(SkinMouse::Move, "Fill");
  EXPECT_EQ(Top("Fill"), "Fill_Hint");
}

TEST_F(SkinEngineTest, WhileExitingAboutAndExitStayAsTheyAre) {
  state.ExitInProgress = 1;
  Mouse(SkinMouse::Move, "Help");
  Mouse(SkinMouse::Move, "Exit");
  EXPECT_EQ(Top("Help"), "Help");
  EXPECT_EQ(Top("Exit"), "Exit");
  EXPECT_EQ(skin.CurrentImage(), "");
  // The Type step's highlight waits too; Load's does not.
  Mouse(SkinMouse::Move, "type_n");
  EXPECT_EQ(pictures.Top(Step::Type), Layer::n);
  Mouse(SkinMouse::Move, "load_n");
  EXPECT_EQ(pictures.Top(Step::Load), Layer::h);
}

TEST_F(SkinEngineTest, StepHoverGivesWayToTheHighlightedPicture) {
  Mouse(SkinMouse::Move, "type_n");
  EXPECT_EQ(pictures.Top(Step::Type), Layer::h);
  Mouse(SkinMouse::Move, "load_n");
  EXPECT_EQ(pictures.Top(Step::Type), Layer::n);
  EXPECT_EQ(pictures.Top(Step::Load), Layer::h);
  // A picture without a handler for the event is left alone.
  Mouse(SkinMouse::Move, "Setup");
  Mouse(SkinMouse::Down, "Help");
  EXPECT_EQ(pictures.Top(Step::Load), Layer::h);
  EXPECT_EQ(Top("Setup"), "Setup");
  EXPECT_EQ(skin.CurrentImage(), "load_n");
}

TEST_F(SkinEngineTest, PageButtonsSwapTheirHighlight) {
  for (const char* b : {"CopyBtn", "CreateBtn"}) pictures.Show(b);
  skin.ShowHintImage("CopyBtn");
  EXPECT_FALSE(pictures.VisibleByName("CopyBtn"));
  EXPECT_EQ(skin.HintImage(), "CopyBtn");
  skin.ShowHintImage("CopyBtn");  // the same button again: nothing
  EXPECT_EQ(skin.HintImage(), "CopyBtn");
  Mouse(SkinMouse::Move, "Exit");
  skin.ShowHintImage("CreateBtn");
  EXPECT_TRUE(pictures.VisibleByName("CopyBtn"));
  EXPECT_TRUE(pictures.VisibleByName("Exit"));  // the current picture came back
  EXPECT_FALSE(pictures.VisibleByName("CreateBtn"));
  EXPECT_EQ(skin.CurrentImage(), "");
  // The next hovers: the first only becomes the current picture, the
  // second brings the highlighted page button back.
  Mouse(SkinMouse::Move, "Help");
  EXPECT_FALSE(pictures.VisibleByName("CreateBtn"));
  Mouse(SkinMouse::Move, "Exit");
  EXPECT_TRUE(pictures.VisibleByName("CreateBtn"));
  EXPECT_EQ(skin.HintImage(), "");
}

TEST_F(SkinEngineTest, DragMovesTheWindowByThePointer) {
  skin.PressBackground({40, 12});
  EXPECT_EQ(skin.WindowPositionFor({540, 312}), (SkinEngine::Point{500, 300}));
  EXPECT_EQ(skin.WindowPositionFor({10, 5}), (SkinEngine::Point{-30, -7}));
}

}  // namespace
}  // namespace quenlet
