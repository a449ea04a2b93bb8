// The step-picture model: what shows is the topmost visible picture of the
// stack _o, _f, _p, _w, _h, _n; the window reaches pictures by name.
#include <gtest/gtest.h>

#include "programmer/step_pictures.h"

namespace quenlet {
namespace {

TEST(StepPictures, TopmostVisiblePictureShows) {
  StepPictures view;
  EXPECT_FALSE(view.Top(Step::Read).has_value());
  view.Show(Step::Read, Layer::f);
  view.Show(Step::Read, Layer::p);
  EXPECT_EQ(view.Top(Step::Read), Layer::p);  // passed over failed looks passed
  view.Show(Step::Read, Layer::n);
  EXPECT_EQ(view.Top(Step::Read), Layer::n);
  view.Hide(Step::Read, Layer::n);
  view.Hide(Step::Read, Layer::p);
  EXPECT_EQ(view.Top(Step::Read), Layer::f);
  EXPECT_FALSE(view.Top(Step::Confirm).has_value());  // steps are independent
}

TEST(StepPictures, NamesAsTheWindowKnowsThem) {
  StepPictures view;
  StepView& by_name = view;  // the interface the programmer link uses
  by_name.Show("erace_w");
  by_name.Show("secur_f");
  by_name.Show("Wait");
  by_name.Show("read_n");
  by_name.Hide("read_n");
  EXPECT_TRUE(view.Visible(Step::Erase, Layer::w));
  EXPECT_TRUE(view.Visible(Step::Protect, Layer::f));
  EXPECT_TRUE(view.Visible(Indicator::Wait));
  EXPECT_FALSE(view.Visible(Step::Read, Layer::n));
  EXPECT_EQ(StepPictures::Name(Step::Program, Layer::p), "prog_p");
  EXPECT_EQ(StepPictures::Name(Step::Blank, Layer::o), "check_o");
  // Names of other pictures are kept as they come.
  by_name.Show("Counter");
  EXPECT_TRUE(view.VisibleByName("Counter"));
  EXPECT_TRUE(view.VisibleByName("secur_f"));
}

TEST(StepPictures, EveryChangeIsReportedOnce) {
  StepPictures view;
  int changes = 0;
  view.SetChangeHandler([&] { ++changes; });
  view.Show(Indicator::Pass);
  view.Show(Indicator::Pass);  // no change
  view.SetSum("0000ABCD");
  view.SetProgressPosition(7);
  view.TickBox(RunBox::CheckBox3, true);
  EXPECT_EQ(changes, 4);
}

}  // namespace
}  // namespace quenlet
