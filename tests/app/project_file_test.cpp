// Project.ini: the records the list shows and what opening one of them
// puts on the Copy page.
#include "app/project_file.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "support/temp_dir.h"

namespace quenlet {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

class ProjectFileTest : public testing::TempDirTest {};

std::vector<std::string> Vendors(const std::vector<ProjectRecord>& records) {
  std::vector<std::string> out;
  for (const ProjectRecord& r : records) out.push_back(r.vendor);
  return out;
}

TEST_F(ProjectFileTest, RecordsEndAtTheFirstWithoutAVendor) {
  struct Case {
    const char* name;
    const char* text;
    std::vector<std::string> vendors;
  };
  const Case cases[] = {
      {"a gap after two", "[1]\r\nVendor=A\r\n[2]\r\nVendor=B\r\n[4]\r\nVendor=D\r\n", {"A", "B"}},
      {"a record without Vendor", "[1]\r\nID=X\r\n[2]\r\nVendor=B\r\n", {}},
      {"the Create page's record is no project",
       "[Temp]\r\nVendor=T\r\n[1]\r\nVendor=A\r\n",
       {"A"}},
      {"eleven records, ten listed",
       "[1]\nVendor=1\n[2]\nVendor=2\n[3]\nVendor=3\n[4]\nVendor=4\n[5]\nVendor=5\n[6]\nVendor=6\n"
       "[7]\nVendor=7\n[8]\nVendor=8\n[9]\nVendor=9\n[10]\nVendor=10\n[11]\nVendor=11\n",
       {"1", "2", "3", "4", "5", "6", "7", "8", "9", "10"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    testing::WriteFile(Path("Project.ini"), c.text);
    EXPECT_EQ(Vendors(ReadProjectRecords(Path("Project.ini"))), c.vendors);
  }
}

TEST_F(ProjectFileTest, MissingKeysReadEmptyAndAMissingFileHasNoRecords) {
  EXPECT_THAT(ReadProjectRecords(Path("Project.ini")), IsEmpty());
  testing::WriteFile(Path("Project.ini"), "[1]\r\nVendor=Maker\r\nProg=+E\r\n");
  const std::vector<ProjectRecord> records = ReadProjectRecords(Path("Project.ini"));
  ASSERT_EQ(records.size(), 1u);
  EXPECT_EQ(records[0].id, "<empty>");
  EXPECT_EQ(records[0].source, "<empty>");
  EXPECT_EQ(records[0].prog, "+E");
}

TEST(ProjectOpening, AMissingKeyIsAbsent) {
  struct Case {
    const char* name;
    ProjectRecord record;
    const char* load_path;
    std::optional<std::string> data_file;
    std::optional<std::string> steps;
  };
  const Case cases[] = {
      {"file and steps",
       {"V", "P", "Samples\\a.hex", "+C+V"},
       "Samples\\a.hex",
       "Samples\\a.hex",
       "+C+V"},
      {"no file: the steps from Prog",
       {"V", "P", "<empty>", "+E+P"},
       "No File",
       std::nullopt,
       "+E+P"},
      {"neither: the boxes stay",
       {"V", "P", "<empty>", "<empty>"},
       "No File",
       std::nullopt,
       std::nullopt},
      {"file without steps", {"V", "P", "b.bin", "<empty>"}, "b.bin", "b.bin", std::nullopt},
      {"a Source of steps is the step list", {"V", "P", "+S", "+E"}, "No File", std::nullopt, "+S"},
      {"empty values are absent too", {"V", "P", "", ""}, "No File", std::nullopt, std::nullopt},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const ProjectOpening o = ProjectOpeningOf(c.record);
    EXPECT_EQ(o.load_path, c.load_path);
    EXPECT_EQ(o.data_file, c.data_file);
    EXPECT_EQ(o.steps, c.steps);
  }
}

TEST(ProjectOpening, StepLettersTickTheirBoxesInAnyOrder) {
  using Ticks = std::array<bool, 5>;
  EXPECT_EQ(ProjectStepTicks("+E+P"), (Ticks{true, false, true, false, false}));
  EXPECT_EQ(ProjectStepTicks("+S+V+C+P+E"), (Ticks{true, true, true, true, true}));
  // "T" has no box; lower case is no step.
  EXPECT_EQ(ProjectStepTicks("+T+e"), (Ticks{}));
}

}  // namespace
}  // namespace quenlet
