// The device catalogue Select.ini and the recent-device ring SelIcHst.ini on
// arbitrary text (the input's two parts, split at its first "\0\n"): the
// device dialog restores the last choice, lists, picks from the history and
// looks the part up as OK does. A history entry splits into names that make
// the entry again, and what the lists select is the choice.
#include <algorithm>
#include <cstddef>
#include <cstdint>

#include "device/catalogue.h"
#include "device/device_history.h"
#include "device/select_ic_logic.h"
#include "device/selected_device.h"
#include "fuzz_support.h"
#include "platform/document_opener.h"
#include "platform/program_paths.h"
#include "state/main_form_state.h"

namespace {

class NoSetup : public quenlet::DeviceSetup {
 public:
  void Apply(bool) override {}
};

class NoOpener : public quenlet::DocumentOpener {
 public:
  bool Open(const std::string&) override { return false; }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace quenlet;
  const auto [catalogue_text, ring_text] = fuzz::SplitInput(data, size);
  fuzz::WriteScratch(kCatalogueFile, catalogue_text);
  fuzz::WriteScratch(kHistoryRingFile, ring_text);
  const ProgramPaths paths(fuzz::ScratchDir());
  MainFormState state;
  state.ProgramDir = paths.root();
  state.HistoryIniFile = paths.root() + "History_1.ini";
  SelectedDevice device;
  fuzz::SilentMessages messages;
  NoOpener opener;
  NoSetup setup;

  SelectIcDialogLogic logic(SelectIcEnv{paths, state, device, messages, opener, setup});
  logic.FormCreate();
  const DeviceCatalogue& catalogue = logic.Catalogue();
  const std::vector<std::string>& makers = logic.Manufacturers();
  fuzz::Check(makers.size() <= kMaxCatalogueCount, "the list is bounded");
  std::vector<std::string> sorted = makers;
  SortCatalogueNames(sorted);
  fuzz::Check(sorted == makers, "the manufacturers are sorted");
  auto selection_holds = [&] {
    const auto m = logic.SelectedManufacturer();
    const auto p = logic.SelectedPart();
    fuzz::Check(!m || (*m < makers.size() && makers[*m] == logic.ChosenManufacturer()),
                "the selected manufacturer is the chosen one");
    fuzz::Check(!p || (*p < logic.Parts().size() && logic.Parts()[*p] == logic.ChosenPart()),
                "the selected part is the chosen one");
  };
  selection_holds();

  const HistoryCombo& history = logic.History();
  for (size_t i = 0; i < history.items.size() && i < 3; ++i) {
    if (const auto choice = SplitHistoryEntry(history.items[i], catalogue)) {
      fuzz::Check(HistoryEntry(choice->manufacturer, choice->part) == history.items[i],
                  "an entry splits into the names that make it");
    }
    logic.HistCBoxChange(i);
    selection_holds();
  }
  if (!logic.Parts().empty()) logic.NumListBoxClick(logic.Parts().size() - 1);
  OkDeviceFile(catalogue.path(), logic.ChosenManufacturer(), logic.ChosenPart());
  return 0;
}
