// Project.ini on arbitrary text: at most ten records, each with a vendor,
// and what opening one puts on the Copy page follows from its keys.
#include <cstddef>
#include <cstdint>

#include "app/project_file.h"
#include "fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace quenlet;
  const std::string path =
      fuzz::WriteScratch("Project.ini", {reinterpret_cast<const char*>(data), size});
  const std::vector<ProjectRecord> records = ReadProjectRecords(path);
  fuzz::Check(records.size() <= size_t{kProjectRecords}, "at most ten records");
  for (const ProjectRecord& record : records) {
    fuzz::Check(record.vendor != kProjectKeyMissing, "a listed record has a vendor");
    const ProjectOpening opening = ProjectOpeningOf(record);
    fuzz::Check(opening.data_file ? opening.load_path == *opening.data_file
                                  : opening.load_path == kProjectNoFile,
                "the load path shows the data file, or that there is none");
    if (opening.steps) ProjectStepTicks(*opening.steps);
  }
  return 0;
}
