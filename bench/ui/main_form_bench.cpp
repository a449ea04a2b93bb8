// The main window on the offscreen platform: start-up to its first painted
// picture, and one full repaint of the skin.
#include <benchmark/benchmark.h>
#include <stdlib.h>

#include <QCoreApplication>
#include <QImage>
#include <QPainter>
#include <filesystem>
#include <fstream>
#include <memory>

#include "app/application.h"
#include "programmer/simulated_backend.h"
#include "support/fakes.h"
#include "ui/app/main_form.h"

namespace quenlet {
namespace {

// A program folder with one byte-wide device chosen last time.
class ProgramFolder {
 public:
  ProgramFolder() {
    std::string pattern = (std::filesystem::temp_directory_path() / "quenlet-bench-XXXXXX");
    root_ = ::mkdtemp(pattern.data());
    std::filesystem::create_directories(root_ / "INI" / "AMD");
    std::ofstream(root_ / "INI" / "AMD" / "AM29F010.ini")
        << "[VK_KZExternValue]\r\nName=AM29F010\r\nData_Width=0x00FF\r\nmax_address_Hi=1\r\n"
           "max_address_Low=0xFFFF\r\nread_mode=0x0100\r\nerase_mode=1\r\nblank_mode=1\r\n"
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

struct Program {
  explicit Program(const std::string& dir) {
    BackendChoice choice;
    auto simulated = std::make_unique<SimulatedBackend>();
    choice.simulated = simulated.get();
    choice.backend = std::move(simulated);
    app = std::make_unique<Application>(dir, std::move(choice),
                                        AppServices{messages, sound, pump, progress});
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

}  // namespace
}  // namespace quenlet
