// What the load and save dialogs check, write and change, without windows.
#include "app/load_save_dialogs.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include "app/load_save_fixture.h"
#include "buffer/format_detect.h"
#include "buffer/hex_input.h"
#include "buffer/save_pipeline.h"

namespace quenlet {
namespace {

class LoadDialogTest : public testing::LoadSaveFixture {
 protected:
  void SetUp() override {
    LoadSaveFixture::SetUp();
    data_ = File("data.bin", std::string(256, '\x5A'));
    // What an earlier load left: a refused Load must leave it byte for byte.
    History().WriteString("LoadDlg", "Name", "/old/file.bin");
    History().WriteString("LoadDlg", "OK", "1");
  }
  std::string data_;
};

TEST_F(LoadDialogTest, RefusedFieldsWriteNothingAndSayWhy) {
  ASSERT_EQ(::mkfifo(Path("fifo").c_str(), 0600), 0);
  std::filesystem::create_directory(dir_ / "folder");
  const std::string broken = File("x\n[Option]\nsound_setup=abc", "data");
  struct Row {
    const char* name;
    std::string file;
    const char* start;
    const char* end;
    const char* dest;
    const char* fill;
    const char* caption;  // of the "Input Value Error !" box; null: "Not Found File ! "
  };
  const Row rows[] = {
      {"end must be above start", data_, "0", "0", "0", "FF", "Error"},
      {"end before start", data_, "10", "F", "0", "FF", "Error"},
      {"end at the file's length", data_, "0", "100", "0", "FF", "ERROR"},
      {"destination at 15 MB", data_, "0", "FF", "F00000", "FF", "ERROR"},
      {"fill of three digits", data_, "0", "FF", "0", "100", "ERROR"},
      {"missing file", Path("missing.bin"), "0", "FF", "0", "FF", nullptr},
      {"a FIFO is no file", Path("fifo"), "0", "FF", "0", "FF", nullptr},
      {"a folder is no file", Path("folder"), "0", "FF", "0", "FF", nullptr},
      {"a name with line breaks, even of a real file", broken, "0", "2", "0", "FF", nullptr},
      {"an empty name", "", "0", "FF", "0", "FF", nullptr},
  };
  const std::string before = HistoryBytes();
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    messages.boxes.clear();
    LoadDialogLogic dialog(env);
    dialog.fields() = {row.file, row.start, row.end, row.dest, row.fill, true, kLoadBinary, true};
    EXPECT_FALSE(dialog.Load());
    ASSERT_EQ(messages.boxes.size(), 1u);
    EXPECT_EQ(messages.boxes[0].text, row.caption ? "Input Value Error !" : "Not Found File ! ");
    EXPECT_EQ(messages.boxes[0].caption, row.caption ? row.caption : "ERROR");
    EXPECT_EQ(messages.boxes[0].icon, MessageIcon::Stop);
    EXPECT_EQ(HistoryBytes(), before);
    EXPECT_FALSE(session.pending_range_size);
  }
}

TEST_F(LoadDialogTest, LoadWritesTheSectionAndDefersTheSizing) {
  const uint32_t size_before = ops.buffer.BufSize();
  LoadDialogLogic dialog(env);
  // A relative name is the program directory's file.
  dialog.fields() = {"data.bin", "10", "FF", "EFFFFF", "a5", false, kLoadTektronix, true};
  ASSERT_TRUE(dialog.Load());
  EXPECT_TRUE(messages.boxes.empty());

  const IniFile h = History();
  EXPECT_EQ(h.ReadString("LoadDlg", "Name", ""), data_);
  EXPECT_EQ(h.ReadString("LoadDlg", "SourceSAdd", ""), "16");
  EXPECT_EQ(h.ReadString("LoadDlg", "SourceEAdd", ""), "255");
  EXPECT_EQ(h.ReadString("LoadDlg", "DistSAdd", ""), "15728639");
  EXPECT_EQ(h.ReadString("LoadDlg", "UserFill", ""), "165");
  EXPECT_EQ(h.ReadString("LoadDlg", "Format", ""), "6");
  EXPECT_EQ(h.ReadString("LoadDlg", "UnuserFillCheck", ""), "0");
  EXPECT_EQ(h.ReadString("LoadDlg", "OK", ""), "1");
  EXPECT_EQ(dialog.fields().name, data_);

  EXPECT_EQ(ops.state.LoadRangeSize, 0xEFu);  // end - start, not + 1
  EXPECT_EQ(ops.state.ChecksumDeviceRange, 1u);
  EXPECT_EQ(ops.state.LoadCancelled, 0);
  EXPECT_EQ(ops.buffer.FileFormat(), kLoadTektronix);
  EXPECT_TRUE(session.show_sum_after_load);
  EXPECT_EQ(session.pending_range_size, 0xEFu);
  EXPECT_EQ(ops.buffer.BufSize(), size_before);  // sized only once the file has loaded
  EXPECT_EQ(host.device_sizings, 0);
  for (Step step : {Step::Edit, Step::Save}) {
    EXPECT_TRUE(ops.view.Visible(step, Layer::n));
    EXPECT_TRUE(ops.view.Visible(step, Layer::w));
  }
  EXPECT_TRUE(ops.view.Enabled(Control::Panel9));
  EXPECT_TRUE(ops.view.Enabled(Control::Panel8));
}

TEST_F(LoadDialogTest, AHistoryThatCannotBeWrittenKeepsTheDialogOpen) {
  std::filesystem::create_directory(dir_ / "History.ini");  // a folder in the file's place
  ops.buffer.SetHistoryIniPath(Path("History.ini"));
  LoadDialogLogic load(env);
  load.fields() = {data_, "0", "FF", "0", "FF", true, kLoadBinary, true};
  EXPECT_FALSE(load.Load());
  SaveDialogLogic save(env);
  save.fields() = {Path("out.bin"), "0", "FF", kSaveBinary};
  EXPECT_FALSE(save.Save());
  const std::string text = Path("History.ini") + " cannot be written.";
  EXPECT_EQ(Texts(), (std::vector<std::string>{text, text}));
  EXPECT_FALSE(session.pending_range_size);
}

TEST_F(LoadDialogTest, RelativeNamesFollowTheLastBrowseFolder) {
  std::filesystem::create_directory(dir_ / "sub");
  const std::string other = File("sub/other.bin", std::string(16, 'x'));
  LoadDialogLogic dialog(env);
  dialog.BrowseChosen(other);
  EXPECT_EQ(session.browse_folder, Path("sub") + "/");
  EXPECT_EQ(dialog.fields().source_end, "000000F");

  dialog.fields().name = "data.bin";  // not in sub/
  EXPECT_FALSE(dialog.Load());
  File("sub/data.bin", std::string(32, 'y'));
  dialog.NameEditChange("data.bin");
  EXPECT_EQ(dialog.fields().source_end, "000001F");
  ASSERT_TRUE(dialog.Load());
  EXPECT_EQ(History().ReadString("LoadDlg", "Name", ""), Path("sub/data.bin"));
}

TEST_F(LoadDialogTest, BrowseOpensInTheFolderOfTheNamedFile) {
  std::filesystem::create_directories(dir_ / "elsewhere");
  std::filesystem::create_directories(dir_ / "browsed");
  const std::string elsewhere = File("elsewhere/chip.hex", ":00000001FF\r\n");
  const struct {
    const char* what;
    std::string field;
    std::string browse_folder;
    std::string folder;  // where the chooser opens
    std::string name;    // the file it picks
  } rows[] = {
      {"a file elsewhere", elsewhere, Path("browsed") + "/", Path("elsewhere") + "/", "chip.hex"},
      {"a new name in a folder that is there", Path("elsewhere/new.bin"), "",
       Path("elsewhere") + "/", ""},
      {"a name in a folder that is not there", Path("gone/chip.hex"), Path("browsed") + "/",
       Path("browsed") + "/", ""},
      {"an empty field, after a Browse", "", Path("browsed") + "/", Path("browsed") + "/", ""},
      {"an empty field, no Browse yet", "", "", Path(""), ""},
      {"a relative name, as the dialog resolves it", "data.bin", "", Path(""), "data.bin"},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.what);
    session.browse_folder = row.browse_folder;
    for (bool save : {false, true}) {
      const FileDialogRequest request = BrowseRequest(env, save, row.field);
      EXPECT_EQ(request.initial_dir, row.folder);
      EXPECT_EQ(request.initial_name, row.name);
      EXPECT_EQ(request.must_exist, !save);
      EXPECT_EQ(request.filter, kDataFileFilter);
    }
  }
}

TEST_F(LoadDialogTest, ANameBeingTypedChangesNothingUntilItIsAFile) {
  LoadDialogLogic dialog(env);
  dialog.fields().source_end = "0000123";
  for (const char* typed : {"d", "da", "dat", "data.b", "folder", ""}) {
    dialog.NameEditChange(typed);
    EXPECT_EQ(dialog.fields().source_end, "0000123") << typed;
  }
  dialog.NameEditChange("data.bin");
  EXPECT_EQ(dialog.fields().source_start, "000000");
  EXPECT_EQ(dialog.fields().source_end, "00000FF");
  EXPECT_TRUE(messages.boxes.empty());
}

TEST_F(LoadDialogTest, OpensOnlyOnceADeviceIsChosen) {
  host.no_device = true;
  LoadDialogLogic dialog(env);
  EXPECT_FALSE(dialog.FormCreate());
  EXPECT_EQ(ops.state.LoadNeedsDevice, 1);
  EXPECT_EQ(Texts(), std::vector<std::string>{"Please Selete IC..."});
  EXPECT_TRUE(messages.boxes[0].plain);
  EXPECT_EQ(ops.FailSounds(), 1);

  host.no_device = false;
  EXPECT_TRUE(LoadDialogLogic(env).FormCreate());
  EXPECT_EQ(ops.state.LoadNeedsDevice, 0);
}

TEST_F(LoadDialogTest, ProposesTheLastFileWithItsDetectedFormatAndWholeRange) {
  const std::string hex = ":10000000000102030405060708090A0B0C0D0E0F78\r\n:00000001FF\r\n";
  const std::string file = File("last.hex", hex);
  IniFile h = History();
  h.WriteString("LoadDlg", "Name", file);
  h.WriteInteger("LoadDlg", "SourceSAdd", 0);
  h.WriteInteger("LoadDlg", "SourceEAdd", static_cast<int32_t>(hex.size() - 1));
  h.WriteInteger("LoadDlg", "UserFill", 0x3C);
  h.WriteInteger("LoadDlg", "UnuserFillCheck", 0);

  LoadDialogLogic dialog(env);
  ASSERT_TRUE(dialog.FormCreate());
  const LoadDialogFields& f = dialog.fields();
  EXPECT_EQ(f.name, file);
  EXPECT_EQ(f.format, kLoadIntelHex);
  EXPECT_EQ(f.source_start, "000000");
  EXPECT_EQ(f.source_end, strprintf("%07zX", hex.size() - 1));
  EXPECT_EQ(f.dest_start, "000000");
  EXPECT_TRUE(f.range_enabled);
  EXPECT_EQ(f.user_fill, "3C");
  EXPECT_FALSE(f.fill_unused);

  // Without the file the form's defaults stay, the stored fill included.
  std::filesystem::remove(file);
  LoadDialogLogic fresh(env);
  ASSERT_TRUE(fresh.FormCreate());
  EXPECT_EQ(fresh.fields().name, "");
  EXPECT_EQ(fresh.fields().dest_start, "00000000");
  EXPECT_EQ(fresh.fields().user_fill, "FF");
  EXPECT_TRUE(fresh.fields().fill_unused);
}

TEST_F(LoadDialogTest, FormatDecidesTheRangeFieldsAndTheFill) {
  for (int32_t code = 0; code <= kLoadPof; ++code) {
    LoadDialogLogic dialog(env);
    dialog.fields().fill_unused = false;
    dialog.FormatGroupClick(code);
    EXPECT_EQ(dialog.fields().range_enabled, code >= 1 && code <= 6) << code;
    EXPECT_EQ(dialog.fields().fill_unused, code >= kLoadIntelHex) << code;
  }
}

TEST_F(LoadDialogTest, CancelWritesOkZeroAndKeepsTheLanes) {
  LoadDialogLogic dialog(env);
  dialog.LaneClick(kDataOddBytes);
  dialog.Cancel();
  EXPECT_EQ(History().ReadString("LoadDlg", "OK", ""), "0");
  EXPECT_EQ(History().ReadString("LoadDlg", "Name", ""), "/old/file.bin");
  EXPECT_EQ(ops.state.LoadCancelled, 1);
  EXPECT_EQ(ops.buffer.DataMode(), kDataOddBytes);
  EXPECT_TRUE(ops.view.Enabled(Control::Panel7));
  EXPECT_TRUE(ops.view.Enabled(Control::CopyReadBtn));
  EXPECT_TRUE(ops.view.Visible(Step::Read, Layer::n));
  EXPECT_TRUE(ops.view.Visible(Step::Load, Layer::h));
}

TEST_F(LoadDialogTest, SizingCoversTheRangeOrTheDevice) {
  // A range of at least the device's size raises every size to it.
  ops.state.BufferSize = 0x8000;
  ops.state.DeviceBufferSize = 0x10000;
  ApplyLoadBufferSizing(0x30000, ctx, host);
  EXPECT_EQ(ops.device.IcBufferSize, 0x30000u);
  EXPECT_EQ(ops.state.BufferSize, 0x30000u);
  EXPECT_EQ(ops.state.DeviceBufferSize, 0x30000u);
  EXPECT_EQ(ops.buffer.BufSize(), 0x30000u + DataBuffer::kSizeExtra);
  EXPECT_EQ(host.device_sizings, 0);

  // A smaller range sizes the buffer for the device.
  ApplyLoadBufferSizing(0x100, ctx, host);
  EXPECT_EQ(ops.device.IcBufferSize, ops.device.IcDeviceSize);
  EXPECT_EQ(host.device_sizings, 1);
  EXPECT_EQ(ops.state.BufferSize, 0x30000u);  // never below what it was
}

// The load command takes the sizing of the confirmed dialog once; a dialog
// opened again forgets one nobody took.
TEST_F(LoadDialogTest, TheConfirmedSizingIsTakenOnceAndANewDialogDropsIt) {
  EXPECT_FALSE(session.TakeBufferSizing(ctx, host));
  LoadDialogLogic dialog(env);
  dialog.fields() = {data_, "0", "FF", "0", "FF", true, kLoadBinary, true};
  ASSERT_TRUE(dialog.Load());
  const std::function<void()> sizing = session.TakeBufferSizing(ctx, host);
  ASSERT_TRUE(sizing);
  EXPECT_FALSE(session.TakeBufferSizing(ctx, host));
  EXPECT_EQ(host.device_sizings, 0);  // not before the load command runs it
  sizing();
  EXPECT_EQ(host.device_sizings, 1);  // a range below the device's size
  EXPECT_EQ(ops.device.IcBufferSize, ops.device.IcDeviceSize);

  ASSERT_TRUE(dialog.Load());
  LoadDialogLogic next(env);
  ASSERT_TRUE(next.FormCreate());
  EXPECT_FALSE(session.pending_range_size);
  EXPECT_FALSE(session.TakeBufferSizing(ctx, host));
}

class SaveDialogTest : public testing::LoadSaveFixture {
 protected:
  void SetUp() override {
    LoadSaveFixture::SetUp();
    ops.buffer.ResizeBuffer(0x1000100, messages);  // room for every format's limit
    History().WriteString("SaveDlg", "OK", "1");
  }
  bool Save(const std::string& name, const char* start, const char* end, int32_t format) {
    SaveDialogLogic dialog(env);
    dialog.fields() = {name, start, end, format};
    return dialog.Save();
  }
};

TEST_F(SaveDialogTest, EachFormatRefusesWhatItCannotHold) {
  struct Row {
    int32_t format;
    const char* end;
    bool accepted;
  };
  const Row rows[] = {
      {kSaveIntelHex, "FFFFF", true},     {kSaveIntelHex, "100000", false},
      {kSaveMotorolaS1, "FFFF", true},    {kSaveMotorolaS1, "10000", false},
      {kSaveTektronix, "FFFF", true},     {kSaveTektronix, "10000", false},
      {kSaveMotorolaS2, "FFFFFF", true},  {kSaveMotorolaS2, "1000000", false},
      {kSaveMotorolaS3, "1000000", true}, {kSaveBinary, "1000000", true},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(::testing::PrintToString(row.format) + " " + row.end);
    messages.boxes.clear();
    History().WriteString("SaveDlg", "OK", "0");
    const std::string before = HistoryBytes();
    EXPECT_EQ(Save(Path("out.hex"), "0", row.end, row.format), row.accepted);
    if (row.accepted) {
      EXPECT_TRUE(messages.boxes.empty());
      EXPECT_EQ(History().ReadString("SaveDlg", "OK", ""), "1");
      EXPECT_EQ(History().ReadInteger("SaveDlg", "SourceEAdd", 0),
                static_cast<int32_t>(HexTextToInt(row.end)));
      EXPECT_EQ(History().ReadInteger("SaveDlg", "Format", -1), row.format);
      EXPECT_EQ(History().ReadString("SaveDlg", "Name", ""), Path("out.hex"));
    } else {
      ASSERT_EQ(messages.boxes.size(), 1u);
      EXPECT_EQ(messages.boxes[0].text, SaveTooBigText(row.format));
      EXPECT_EQ(messages.boxes[0].caption, "SAVE");
      EXPECT_EQ(messages.boxes[0].icon, MessageIcon::Stop);
      EXPECT_EQ(HistoryBytes(), before);
    }
  }
}

TEST_F(SaveDialogTest, RefusedNamesAndRangesWriteNothing) {
  struct Row {
    const char* name;
    std::string file;
    const char* start;
    const char* end;
    const char* text;
  };
  const std::string size = HexAddressText(ops.buffer.BufSize());
  const Row rows[] = {
      {"empty name", "", "0", "FF", "No File Name!!"},
      {"name with a line feed", "a\n[Option]\nsound_setup=abc", "0", "FF", "No File Name!!"},
      {"name with a carriage return", "a\rb.bin", "0", "FF", "No File Name!!"},
      {"end not above start", Path("o.bin"), "FF", "FF", "Input Value Error !"},
      {"end past the buffer", Path("o.bin"), "0", size.c_str(), "Input Value Error !"},
  };
  const std::string before = HistoryBytes();
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    messages.boxes.clear();
    EXPECT_FALSE(Save(row.file, row.start, row.end, kSaveBinary));
    EXPECT_EQ(Texts(), std::vector<std::string>{row.text});
    EXPECT_EQ(HistoryBytes(), before);
  }
  EXPECT_EQ(IniFile(Path("History_1.ini")).ReadSections(), (std::vector<std::string>{"SaveDlg"}));
}

TEST_F(SaveDialogTest, AnExistingFileIsAskedAboutOnce) {
  const std::string file = File("keep.bin", "precious");
  History().WriteString("SaveDlg", "OK", "0");
  const std::string before = HistoryBytes();
  messages.answers = {MessageResult::Cancel};
  EXPECT_FALSE(Save(file, "0", "FF", kSaveBinary));
  ASSERT_EQ(messages.boxes.size(), 1u);
  EXPECT_EQ(messages.boxes[0].text, "File is Exist ! Are sure to save ?");
  EXPECT_EQ(messages.boxes[0].caption, "Save File");
  EXPECT_EQ(messages.boxes[0].buttons, MessageButtons::OkCancel);
  EXPECT_EQ(HistoryBytes(), before);
  EXPECT_EQ(testing::ReadFile(file), "precious");

  messages.boxes.clear();
  messages.answers = {MessageResult::Ok};
  EXPECT_TRUE(Save(file, "0", "FF", kSaveBinary));
  EXPECT_EQ(messages.boxes.size(), 1u);
  EXPECT_EQ(History().ReadString("SaveDlg", "OK", ""), "1");
}

TEST_F(SaveDialogTest, RangeButtons) {
  SaveDialogLogic dialog(env);
  dialog.FillICSizeBBClick();
  EXPECT_EQ(dialog.fields().source_start, "000000");
  EXPECT_EQ(dialog.fields().source_end, "0007FFF");

  dialog.fields().name = "data.bin";
  dialog.FillFileBtnClick();
  EXPECT_EQ(Texts(), std::vector<std::string>{"No File Seleted!!"});
  File("data.bin", std::string(0x1234, 'x'));
  dialog.FillFileBtnClick();
  EXPECT_EQ(dialog.fields().source_end, "0001233");

  dialog.FillMaxBtnClick();  // the buffer is larger than the device: as it is
  EXPECT_EQ(dialog.fields().source_end, HexAddressText(ops.buffer.BufSize() - 1));
  ops.buffer.ResizeBuffer(0x100, messages);
  dialog.FillMaxBtnClick();  // grown for the device first
  EXPECT_EQ(ops.buffer.BufSize(), 0x8000u + DataBuffer::kSizeExtra);
  EXPECT_EQ(dialog.fields().source_end, "00083FF");

  // A device of no size gives the empty range, which Save refuses.
  ops.device.IcDeviceSize = 0;
  dialog.FillICSizeBBClick();
  EXPECT_EQ(dialog.fields().source_end, "0000000");
  dialog.fields().name = Path("out.bin");
  EXPECT_FALSE(dialog.Save());
}

TEST_F(SaveDialogTest, ProposesTheLastLoadedFileAndSaveFormat) {
  IniFile h = History();
  h.WriteString("LoadDlg", "Name", "/data/last.hex");
  h.WriteInteger("SaveDlg", "Format", kSaveMotorolaS3);
  SaveDialogLogic dialog(env);
  dialog.FormCreate();
  EXPECT_EQ(dialog.fields().name, "/data/last.hex");
  EXPECT_EQ(dialog.fields().format, kSaveMotorolaS3);
  EXPECT_EQ(dialog.fields().source_end, "000000");

  h.WriteInteger("SaveDlg", "Format", 9);  // not in the group: its first entry
  dialog.FormCreate();
  EXPECT_EQ(dialog.fields().format, kSaveBinary);

  dialog.Cancel();
  EXPECT_EQ(History().ReadString("SaveDlg", "OK", ""), "0");
}

}  // namespace
}  // namespace quenlet
