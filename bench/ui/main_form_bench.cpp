// The main window on the offscreen platform: start-up to its first painted
// picture, one full repaint of the skin, and a program and verify with the
// window attached.
#include <benchmark/benchmark.h>
#include <stdlib.h>

#include <QCoreApplication>
#include <QImage>
#include <QPainter>
#include <filesystem>
#include <fstream>
#include <memory>

#include "app/application.h"
#include "programmer/device_compare.h"
#include "programmer/device_program.h"
#include "programmer/simulated_backend.h"
#include "support/fakes.h"
#include "ui/app/main_form.h"
#include "ui/app/qt_services.h"

namespace quenlet {
namespace {

// A program folder with one byte-wide device chosen last time, of 128 KB
// unless the high word of its last address says otherwise.
class ProgramFolder {
 public:
  explicit ProgramFolder(const char* max_address_hi = "1") {
    std::string pattern = (std::filesystem::temp_directory_path() / "quenlet-bench-XXXXXX");
    root_ = ::mkdtemp(pattern.data());
    std::filesystem::create_directories(root_ / "INI" / "AMD");
    std::ofstream(root_ / "INI" / "AMD" / "AM29F010.ini")
        << "[VK_KZExternValue]\r\nName=AM29F010\r\nData_Width=0x00FF\r\nmax_address_Hi="
        << max_address_hi
        << "\r\nmax_address_Low=0xFFFF\r\nread_mode=0x0100\r\nerase_mode=1\r\nblank_mode=1\r\n"
           "prog_mode=1\r\nverify_mode=1\r\n";
    std::ofstream(root_ / "History_1.ini")
        << "[SelectDlg]\r\nManufacturer=AMD\r\nTypeNum=AM29F010\r\nIcFileName=INI\\AMD\\"
           "AM29F010.ini\r\nProcessMode=+E+C+P+V\r\n";
  }
  ~ProgramFolder() { std::filesystem::remove_all(root_); }
  std::string path() const { return root_.string(); }

 private:
  std::filesystem::path root_;
};

// The program over the folder; its operations let the queue run through
// `pump` (the program's own event pump, or a fake that runs nothing).
struct Program {
  explicit Program(const std::string& dir, EventPump* pump_to_use = nullptr) {
    BackendChoice choice;
    auto simulated = std::make_unique<SimulatedBackend>();
    choice.simulated = simulated.get();
    choice.backend = std::move(simulated);
    app = std::make_unique<Application>(
        dir, std::move(choice),
        AppServices{messages, sound, pump_to_use ? *pump_to_use : pump, progress});
  }
  testing::FakeMessages messages;
  testing::FakeSound sound;
  testing::FakeEventPump pump;
  NullProgress progress;
  std::unique_ptr<Application> app;
};

void BM_MainWindowStartup(benchmark::State& state) {
  ProgramFolder folder;
  QImage frame(SkinPictures::kWindowSize, QImage::Format_ARGB32_Premultiplied);
  for (auto _ : state) {
    Program program(folder.path());
    TMainForm window(*program.app);
    window.show();
    while (!program.app->Restored()) QCoreApplication::processEvents();
    window.render(&frame);
    benchmark::DoNotOptimize(frame.constBits());
  }
}
BENCHMARK(BM_MainWindowStartup)->Unit(benchmark::kMillisecond);

void BM_MainWindowRepaint(benchmark::State& state) {
  ProgramFolder folder;
  Program program(folder.path());
  TMainForm window(*program.app);
  window.show();
  while (!program.app->Restored()) QCoreApplication::processEvents();
  QImage frame(SkinPictures::kWindowSize, QImage::Format_ARGB32_Premultiplied);
  for (auto _ : state) {
    window.render(&frame);
    benchmark::DoNotOptimize(frame.constBits());
  }
}
BENCHMARK(BM_MainWindowRepaint)->Unit(benchmark::kMillisecond);

// Program then verify of a 16 MiB byte-wide device through the simulated
// unit with the main window shown and the event loop running in the
// operations' pumps, as in the program: against BM_ProgramVerify16MiB of
// quenlet_bench, the same operations without a window, this is what the
// window's drawing costs an operation.
void BM_ProgramVerify16MiBWithWindow(benchmark::State& s) {
  constexpr uint32_t kDeviceBytes = 16u * 1024 * 1024;
  ProgramFolder folder("0xFF");
  QtEventPump pump;
  Program program(folder.path(), &pump);
  Application& app = *program.app;
  TMainForm window(app);
  window.show();
  while (!app.Restored()) QCoreApplication::processEvents();
  if (app.device().IcDeviceSize != kDeviceBytes) {
    s.SkipWithError("the 16 MiB device did not load");
    return;
  }
  auto bytes = app.buffer().Bytes();
  for (size_t i = 0; i < bytes.size(); ++i) bytes[i] = static_cast<uint8_t>(i * 7 + (i >> 16));
  for (auto _ : s) {
    if (!program_1Click(app.operations(), 1) || !verify_1Click(app.operations(), 1)) {
      s.SkipWithError("program or verify failed");
      break;
    }
    // The drawing the window still owes the operator belongs to the operation.
    QCoreApplication::processEvents();
  }
  s.SetBytesProcessed(int64_t(s.iterations()) * kDeviceBytes);
}
BENCHMARK(BM_ProgramVerify16MiBWithWindow)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace quenlet
