// Every step reloads its device, which sends the driver in four passes first.
// A transfer of those passes failing in any way ends the step, and a pass,
// as a failed step does: no Pass, no pass sound, no count, one message that
// names what failed, and nothing sent after the failing transfer.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <ostream>
#include <string>
#include <vector>

#include "app/copy_steps.h"
#include "app/run_sequences.h"
#include "run_fixture.h"

namespace quenlet::testing {
namespace {

using ::testing::ElementsAre;
using ::testing::HasSubstr;
using ::testing::StartsWith;

struct FailedUploadCase {
  const char* name;
  Step step;  // the step clicked; Count: the AutoRun button
  // The step whose failure pictures show, by the upload that fails: one per
  // device load of the action.
  std::vector<Step> loads;
  friend void PrintTo(const FailedUploadCase& c, std::ostream* os) { *os << c.name; }
};

class FailedUploadTest : public RunTest, public ::testing::WithParamInterface<FailedUploadCase> {
 protected:
  void StartByteDevice() {
    Write("INI\\AMD\\AM29F010.ini", kByteDevice);
    ChooseDevice("INI\\AMD\\AM29F010.ini", "+E+C+P+V");
    StartAndShow();
    InstallRunSequences(*app);
    InstallCopySteps(*app, {});
    // The data of a blank chip: every step passes without a fault.
    std::fill(app->buffer().Bytes().begin(), app->buffer().Bytes().end(), 0xFF);
  }
  bool AutoRun() const { return GetParam().step == Step::Count; }
  void Act() {
    if (AutoRun()) {
      EXPECT_TRUE(app->RunCommand(app->commands().auto_run));
    } else {
      EXPECT_TRUE(app->StepClick(GetParam().step, Layer::n));
    }
  }
};

// Where in the transfers of one action the driver passes lie, and the
// device load of the action each belongs to.
struct Upload {
  size_t transfer;  // index in the transfer lines
  bool bulk;
  size_t load;  // 0 for the action's first device load, 1 for the next, ...
};

std::vector<Upload> Uploads(const std::vector<std::string>& lines) {
  std::vector<Upload> uploads;
  size_t load = 0;
  for (size_t i = 0; i + 2 < lines.size(); ++i) {
    if (lines[i].rfind("OUT 43 000", 0) != 0 || lines[i + 1] != "OUT 47 4000 4000 0" ||
        lines[i + 2] != "bulk-out 16384") {
      continue;
    }
    for (size_t k = 0; k < 3; ++k) uploads.push_back({i + k, k == 2, load});
    if (lines[i] == "OUT 43 0003 0000 0") ++load;  // the fourth pass ends this upload
    i += 2;
  }
  return uploads;
}

TEST_P(FailedUploadTest, AnyTransferOfTheDriverFailingEndsTheStepAsFailed) {
  StartByteDevice();
  const std::vector<Step>& loads = GetParam().loads;
  // The action once without a fault shows where its driver passes go.
  Forget();
  Act();
  const std::vector<Upload> uploads = Uploads(Transfers());
  ASSERT_EQ(uploads.size(), loads.size() * 12);
  ASSERT_EQ(PassSounds(), AutoRun() ? 0 : 1);  // AutoRun holds its sound back
  const uint32_t count = app->state().PassCount;

  for (const Upload& upload : uploads) {
    std::vector<TransferFault> faults = {TransferFault::TimeOut, TransferFault::LostReply,
                                         TransferFault::Pull};
    if (upload.bulk) faults.push_back(TransferFault::Short);
    for (TransferFault fault : faults) {
      SCOPED_TRACE("transfer " + std::to_string(upload.transfer) + " fault " +
                   std::to_string(static_cast<int>(fault)));
      sim->SetUnitPresent(true);
      Forget();
      sim->unit().FailTransferAt(static_cast<int>(upload.transfer) + 1, fault);
      Act();

      // Nothing after the failing transfer.
      EXPECT_EQ(Transfers().size(), upload.transfer + 1);
      EXPECT_TRUE(app->pictures().Visible(loads[upload.load], Layer::f));
      EXPECT_FALSE(Shows(Indicator::Pass));
      EXPECT_EQ(PassSounds(), 0);
      EXPECT_GE(FailSounds(), 1);
      EXPECT_EQ(app->state().PassCount, count);
      if (AutoRun()) {
        EXPECT_EQ(app->state().RunFailed, 1);
      }
      // One message, naming the driver, its pass and the transfer. A pulled
      // unit also gets the AutoRun button's DEMO text.
      const std::vector<std::string> shown = messages.texts();
      ASSERT_FALSE(shown.empty());
      EXPECT_THAT(shown[0], StartsWith("Cannot send the driver file \"None\": pass "));
      EXPECT_THAT(shown[0], HasSubstr(upload.bulk ? "its 16 KB of data" : "request 0x4"));
      if (AutoRun() && fault == TransferFault::Pull) {
        EXPECT_THAT(shown, ElementsAre(shown[0], Application::kNotConnectedText));
      } else {
        EXPECT_EQ(shown.size(), 1u);
      }
      EXPECT_THAT(messages.errors, ::testing::IsEmpty());
    }
  }
}

INSTANTIATE_TEST_SUITE_P(
    Actions, FailedUploadTest,
    ::testing::Values(FailedUploadCase{"Erase", Step::Erase, {Step::Erase}},
                      FailedUploadCase{"Blank", Step::Blank, {Step::Blank}},
                      FailedUploadCase{"Program", Step::Program, {Step::Program}},
                      FailedUploadCase{"Verify", Step::Verify, {Step::Verify}},
                      // The read and its automatic confirm.
                      FailedUploadCase{"Read", Step::Read, {Step::Read, Step::Confirm}},
                      FailedUploadCase{"Protect", Step::Protect, {Step::Protect}},
                      FailedUploadCase{"AutoRun",
                                       Step::Count,
                                       {Step::Erase, Step::Blank, Step::Program, Step::Verify}}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace quenlet::testing
