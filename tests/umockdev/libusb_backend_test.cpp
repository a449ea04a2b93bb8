// The real USB path: LibusbBackend (real libusb) against a device that
// umockdev emulates in the kernel's place. The emulated device's URBs are
// answered by the simulated unit. Runs under umockdev-wrapper.
#include "platform/libusb_backend.h"

#include <errno.h>
#include <glib.h>
#include <linux/ioctl.h>
#include <linux/usbdevice_fs.h>
#include <umockdev.h>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <fnmatch.h>
#include <cstddef>
#include <cstdlib>
#include <cstring>
#include <deque>
#include <fstream>
#include <map>
#include <memory>
#include <numeric>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

#include "programmer/identification.h"
#include "programmer/protocol.h"
#include "programmer/transport.h"
#include "programmer/uploads.h"
#include "sim/simulated_unit.h"
#include "tests/programmer/programmer_link_fixture.h"

namespace quenlet {
namespace {

using ::testing::ElementsAre;

// Device and configuration descriptors: interface 0 (vendor-specific class
// ff unless another class, subclass and protocol are given) with bulk IN 0x81
// and bulk OUT 0x02 of 64-byte packets; the product id is patched in.
std::string Descriptors(uint16_t product_id, const char* interface_class = "ff0000") {
  char id[5];
  std::snprintf(id, sizeof id, "%02x%02x", product_id & 0xFF, product_id >> 8);
  return std::string("12010002000000403412") + id + "0001010203010902200001010080fa0904000002" +
         interface_class + "000705810240000007050202400000";
}

std::string DeviceRecord(int devnum, uint16_t product_id) {
  char n[4];
  std::snprintf(n, sizeof n, "%03d", devnum);
  return std::string("P: /devices/usb1/1-") + std::to_string(devnum) + "\n" + "N: bus/usb/001/" +
         n + "\n" + "E: SUBSYSTEM=usb\nE: DRIVER=usb\nE: BUSNUM=001\nE: DEVNUM=" + n + "\n" +
         "E: DEVNAME=/dev/bus/usb/001/" + n + "\nE: DEVTYPE=usb_device\n" +
         "A: bConfigurationValue=1\nA: busnum=1\nA: devnum=" + std::to_string(devnum) + "\n" +
         "A: speed=480\nH: descriptors=" + Descriptors(product_id) + "\n";
}

// The kernel's side of usbfs for one device: URBs complete at once, answered
// by the simulated unit, and wait to be reaped. With a bound driver the
// device stands for another product that shares the unit's id.
struct EmulatedUnit {
  SimulatedUnit unit;
  std::deque<UMockdevIoctlData*> done;
  bool unplugged = false;
  int urbs = 0;
  std::string bound_driver;             // the kernel driver of interface 0, if any
  std::vector<unsigned long> requests;  // every ioctl, in order

  ~EmulatedUnit() {
    for (UMockdevIoctlData* urb : done) g_object_unref(urb);
  }

  void Answer(usbdevfs_urb* urb, uint8_t* buffer) {
    ++urbs;
    urb->actual_length = 0;
    if (unplugged) {
      urb->status = -ENODEV;
      return;
    }
    int64_t moved = -1;
    if (urb->type == USBDEVFS_URB_TYPE_CONTROL && urb->buffer_length >= 8) {
      VendorRequest r;
      r.request_type = buffer[0];
      r.request = buffer[1];
      r.value = static_cast<uint16_t>(buffer[2] | buffer[3] << 8);
      r.index = static_cast<uint16_t>(buffer[4] | buffer[5] << 8);
      r.length = static_cast<uint16_t>(buffer[6] | buffer[7] << 8);
      moved = unit.Control(r, buffer + 8);
    } else if (urb->type == USBDEVFS_URB_TYPE_BULK) {
      const auto length = static_cast<uint32_t>(urb->buffer_length);
      moved = (urb->endpoint & 0x80) ? unit.BulkIn(buffer, length) : unit.BulkOut(buffer, length);
    }
    urb->status = moved < 0 ? -EPIPE : 0;
    urb->actual_length = moved < 0 ? 0 : static_cast<int>(moved);
  }
};

gboolean HandleIoctl(UMockdevIoctlBase*, UMockdevIoctlClient* client, gpointer user) {
  auto* emulated = static_cast<EmulatedUnit*>(user);
  UMockdevIoctlData* arg = umockdev_ioctl_client_get_arg(client);
  const unsigned long request = umockdev_ioctl_client_get_request(client);
  emulated->requests.push_back(request);
  switch (request) {
    case USBDEVFS_GET_CAPABILITIES: {
      UMockdevIoctlData* caps = umockdev_ioctl_data_resolve(arg, 0, sizeof(uint32_t), nullptr);
      const uint32_t bits = USBDEVFS_CAP_BULK_CONTINUATION | USBDEVFS_CAP_NO_PACKET_SIZE_LIM;
      std::memcpy(caps->data, &bits, sizeof bits);
      umockdev_ioctl_client_complete(client, 0, 0);
      return TRUE;
    }
    case USBDEVFS_CLAIMINTERFACE:
    case USBDEVFS_RELEASEINTERFACE:
      umockdev_ioctl_client_complete(client, 0, 0);
      return TRUE;
    case USBDEVFS_SUBMITURB: {
      UMockdevIoctlData* urb_data =
          umockdev_ioctl_data_resolve(arg, 0, sizeof(struct usbdevfs_urb), nullptr);
      auto* urb = reinterpret_cast<usbdevfs_urb*>(urb_data->data);
      UMockdevIoctlData* buffer = umockdev_ioctl_data_resolve(
          urb_data, offsetof(struct usbdevfs_urb, buffer), urb->buffer_length, nullptr);
      emulated->Answer(urb, buffer->data);
      emulated->done.push_back(static_cast<UMockdevIoctlData*>(g_object_ref(urb_data)));
      umockdev_ioctl_client_complete(client, 0, 0);
      return TRUE;
    }
    case USBDEVFS_REAPURB:
    case USBDEVFS_REAPURBNDELAY: {
      if (emulated->done.empty()) {
        umockdev_ioctl_client_complete(client, -1, EAGAIN);
        return TRUE;
      }
      UMockdevIoctlData* urb_data = emulated->done.front();
      emulated->done.pop_front();
      UMockdevIoctlData* out = umockdev_ioctl_data_resolve(arg, 0, sizeof(gpointer), nullptr);
      umockdev_ioctl_data_set_ptr(out, 0, urb_data);
      g_object_unref(urb_data);
      umockdev_ioctl_client_complete(client, 0, 0);
      return TRUE;
    }
    case USBDEVFS_DISCARDURB:  // every URB has completed already
      umockdev_ioctl_client_complete(client, -1, EINVAL);
      return TRUE;
    case USBDEVFS_GETDRIVER: {
      if (emulated->bound_driver.empty()) {
        umockdev_ioctl_client_complete(client, -1, ENODATA);
        return TRUE;
      }
      UMockdevIoctlData* out =
          umockdev_ioctl_data_resolve(arg, 0, sizeof(struct usbdevfs_getdriver), nullptr);
      auto* getdriver = reinterpret_cast<usbdevfs_getdriver*>(out->data);
      std::snprintf(getdriver->driver, sizeof getdriver->driver, "%s",
                    emulated->bound_driver.c_str());
      umockdev_ioctl_client_complete(client, 0, 0);
      return TRUE;
    }
    case USBDEVFS_IOCTL:  // what a detach of the kernel driver sends
      umockdev_ioctl_client_complete(client, 0, 0);
      return TRUE;
    default:
      umockdev_ioctl_client_complete(client, -1, ENOTTY);
      return TRUE;
  }
}

class LibusbBackendTest : public ::testing::Test {
 protected:
  void SetUp() override {
    const char* preload = std::getenv("LD_PRELOAD");
    ASSERT_TRUE(preload && std::strstr(preload, "libumockdev-preload"))
        << "run this test under umockdev-wrapper";
    testbed_ = umockdev_testbed_new();
    handler_ = umockdev_ioctl_base_new();
    g_signal_connect(handler_, "handle-ioctl", G_CALLBACK(HandleIoctl), &emulated_);
    disk_handler_ = umockdev_ioctl_base_new();
    g_signal_connect(disk_handler_, "handle-ioctl", G_CALLBACK(HandleIoctl), &disk_);
    disk_.bound_driver = "usb-storage";
    // Another product, the unit, and one that shares the unit's id and has
    // its driver bound. libusb lists the devices last added first, so the
    // search meets the bound one before the unit.
    AddDevice(2, 0x1111, nullptr);
    AddDevice(3, kProgrammerProductId, handler_);
    AddDevice(4, kProgrammerProductId, disk_handler_);
    backend_ = std::make_unique<LibusbBackend>();
    ASSERT_TRUE(backend_->usable());
    transport_ = std::make_unique<Transport>(*backend_);
  }
  void TearDown() override {
    transport_.reset();
    backend_.reset();
    if (handler_) g_object_unref(handler_);
    if (disk_handler_) g_object_unref(disk_handler_);
    if (testbed_) g_object_unref(testbed_);
  }
  void AddDevice(int devnum, uint16_t product_id, UMockdevIoctlBase* handler) {
    char node[32];
    std::snprintf(node, sizeof node, "/dev/bus/usb/001/%03d", devnum);
    GError* error = nullptr;
    if (handler) {
      ASSERT_TRUE(umockdev_testbed_attach_ioctl(testbed_, node, handler, &error));
    }
    ASSERT_TRUE(umockdev_testbed_add_from_string(testbed_, DeviceRecord(devnum, product_id).c_str(),
                                                 &error))
        << (error ? error->message : "");
  }

  SimulatedUnit& unit() { return emulated_.unit; }

  EmulatedUnit emulated_;
  EmulatedUnit disk_;
  UMockdevTestbed* testbed_ = nullptr;
  UMockdevIoctlBase* handler_ = nullptr;
  UMockdevIoctlBase* disk_handler_ = nullptr;
  std::unique_ptr<LibusbBackend> backend_;
  std::unique_ptr<Transport> transport_;
};

TEST_F(LibusbBackendTest, FindsTheUnitByItsProductIdAndIdentifiesIt) {
  ASSERT_TRUE(transport_->OpenProgrammer(kProgrammerProductId));
  HardwareInfoReply reply;
  ASSERT_TRUE(ReadHardwareInfo(*transport_, reply));
  EXPECT_TRUE(reply.IsProgrammerModel());
  EXPECT_EQ(reply.ModelName(), "VARNEK-TX ");
  EXPECT_THAT(unit().log().Lines(), ElementsAre("IN 41 0000 0000 22"));
  EXPECT_TRUE(transport_->CloseProgrammer());
}

// The other product keeps its driver and sees none of our requests; the
// search goes on to the unit. With QUENLET_USB_DEBUG the passed-over device
// is named on stderr.
TEST_F(LibusbBackendTest, ADeviceHeldByAKernelDriverIsPassedOver) {
  for (const bool debug : {false, true}) {
    SCOPED_TRACE(debug);
    if (debug) ::setenv("QUENLET_USB_DEBUG", "1", 1);
    LibusbBackend backend;
    ::unsetenv("QUENLET_USB_DEBUG");
    Transport transport(backend);
    disk_.requests.clear();
    ::testing::internal::CaptureStderr();
    const bool opened = transport.OpenProgrammer(kProgrammerProductId);
    const std::string log = ::testing::internal::GetCapturedStderr();
    ASSERT_TRUE(opened);
    HardwareInfoReply reply;
    ASSERT_TRUE(ReadHardwareInfo(transport, reply));
    EXPECT_TRUE(reply.IsProgrammerModel());

    EXPECT_THAT(disk_.requests, ::testing::Contains(USBDEVFS_GETDRIVER));
    for (unsigned long r : {USBDEVFS_IOCTL, USBDEVFS_CLAIMINTERFACE, USBDEVFS_SUBMITURB}) {
      EXPECT_THAT(disk_.requests, ::testing::Not(::testing::Contains(r))) << std::hex << r;
    }
    EXPECT_EQ(disk_.urbs, 0);
    if (debug) {
      EXPECT_EQ(log,
                "quenlet: USB device 001/004 (1234:0a3d) passed over: a kernel driver holds its "
                "interface 0\n");
    } else {
      EXPECT_EQ(log, "");
    }
    EXPECT_TRUE(transport.CloseProgrammer());
  }
}

TEST_F(LibusbBackendTest, IdentificationAndParameterBlockThroughTheProtocol) {
  testing::LinkFixture f;  // its simulated backend stays unused here
  Transport& t = *transport_;
  ProgrammerLink link{t, f.state, f.device, f.messages, f.step_fail, f.steps, f.window};
  for (size_t i = 0; i < 128; ++i) f.device.Block.bytes[i] = static_cast<uint8_t>(255 - i);

  IdentifyProgrammer(link);
  EXPECT_EQ(f.state.ProgrammerIdentified, 1);
  EXPECT_TRUE(SendDeviceParams(link));
  EXPECT_EQ(unit().parameter_block(), f.device.Block.bytes);
  EXPECT_THAT(unit().log().Lines(),
              ElementsAre("IN 41 0000 0000 22", "OUT 47 0B00 0080 0", "bulk-out 128"));
  EXPECT_TRUE(f.events.empty());
}

TEST_F(LibusbBackendTest, APageOfTheAlgorithmImageSizeGoesThroughWhole) {
  ASSERT_TRUE(transport_->OpenProgrammer(kProgrammerProductId));
  std::vector<uint8_t> image = testing::Pattern(kAlgorithmImageSize, 0x5C);
  ASSERT_TRUE(SendRequest(*transport_, 0x43, 0, 0x000E));
  ASSERT_TRUE(SendRequest(*transport_, 0x4C, 0x8000, 0x8000));
  ASSERT_TRUE(transport_->UsbDataWrite(static_cast<uint32_t>(image.size()), image.data()));
  EXPECT_EQ(unit().algorithm_image(), image);
  EXPECT_EQ(unit().log().Lines().back(), "bulk-out 32768");

  // And back in: a 512-byte read of the raw memory area.
  std::vector<uint8_t> raw(512);
  std::iota(unit().raw_memory().begin(), unit().raw_memory().end(), uint8_t{0});
  ASSERT_TRUE(SendRequest(*transport_, 0x46, 0x0800, 0x0200));
  ASSERT_TRUE(transport_->UsbDataRead(512, raw.data()));
  EXPECT_TRUE(std::equal(raw.begin(), raw.end(), unit().raw_memory().begin()));
}

TEST_F(LibusbBackendTest, AnUnpluggedUnitFailsItsTransfers) {
  ASSERT_TRUE(transport_->OpenProgrammer(kProgrammerProductId));
  emulated_.unplugged = true;
  ProgrammerStatus status;
  EXPECT_FALSE(ReadProgrammerStatus(*transport_, status));
  uint8_t block[128] = {};
  EXPECT_FALSE(transport_->UsbVendorCmdWrite(0x47, 0x0B00, 0x0080, 0, nullptr));
  EXPECT_FALSE(transport_->UsbDataWrite(sizeof block, block));
  EXPECT_GE(emulated_.urbs, 3);
  EXPECT_TRUE(transport_->CloseProgrammer());
}

TEST_F(LibusbBackendTest, AStalledRequestFails) {
  ASSERT_TRUE(transport_->OpenProgrammer(kProgrammerProductId));
  unit().FailRequest(0x42);
  ProgrammerStatus status;
  EXPECT_FALSE(ReadProgrammerStatus(*transport_, status));
  EXPECT_TRUE(ReadProgrammerStatus(*transport_, status));
}

// The udev rule, applied the way udev applies it (shell patterns, GOTO and
// LABEL, the usb_id builtin) to what udev reads from a device's descriptors.
// Returns the MODE the rule sets, or "" when it leaves the device alone.
std::string UdevRuleMode(const std::string& rules, const std::string& descriptors_hex) {
  std::vector<uint8_t> d;
  for (size_t i = 0; i + 1 < descriptors_hex.size(); i += 2) {
    d.push_back(static_cast<uint8_t>(std::stoi(descriptors_hex.substr(i, 2), nullptr, 16)));
  }
  // usb_id: ":ccsspp" of each distinct interface descriptor, then ":".
  std::string interfaces;
  for (size_t pos = 0; pos + 2 <= d.size() && d[pos] > 0; pos += d[pos]) {
    if (d[pos + 1] != 4 || d[pos] < 9 || pos + 9 > d.size()) continue;
    char entry[8];
    std::snprintf(entry, sizeof entry, ":%02x%02x%02x", d[pos + 5], d[pos + 6], d[pos + 7]);
    if (interfaces.find(entry) == std::string::npos) interfaces += entry;
  }
  if (!interfaces.empty()) interfaces += ":";
  char product[5];
  std::snprintf(product, sizeof product, "%02x%02x", d[11], d[10]);
  std::map<std::string, std::string> values = {
      {"SUBSYSTEM", "usb"}, {"ENV{DEVTYPE}", "usb_device"}, {"ATTR{idProduct}", product}};

  const std::regex key(R"re(([A-Z]+(\{[^}]*\})?)(==|!=|=)"([^"]*)")re");
  std::string mode, jump;
  std::istringstream lines(rules);
  for (std::string line; std::getline(lines, line);) {
    if (line.empty() || line[0] == '#') continue;
    std::vector<std::smatch> keys;
    for (std::sregex_iterator k(line.begin(), line.end(), key), end; k != end; ++k) {
      keys.push_back(*k);
    }
    if (!jump.empty()) {
      if (keys.size() == 1 && keys[0][1] == "LABEL" && keys[0][4] == jump) jump.clear();
      continue;
    }
    bool matches = true;
    for (const std::smatch& k : keys) {
      if (k[3] == "=") continue;
      const bool equal = fnmatch(k[4].str().c_str(), values[k[1]].c_str(), 0) == 0;
      matches = matches && (k[3] == "==") == equal;
    }
    if (!matches) continue;
    for (const std::smatch& k : keys) {
      if (k[3] != "=") continue;
      if (k[1] == "GOTO") jump = k[4];
      if (k[1] == "MODE") mode = k[4];
      if (k[1] == "IMPORT{builtin}" && k[4] == "usb_id")
        values["ENV{ID_USB_INTERFACES}"] = interfaces;
    }
  }
  return mode;
}

TEST(UdevRuleTest, OpensTheUnitAndNothingElseThatSharesItsId) {
  std::ifstream in(std::string(QUENLET_FIXTURES) + "/../../packaging/60-quenlet.rules");
  ASSERT_TRUE(in);
  std::stringstream rules;
  rules << in.rdbuf();
  EXPECT_EQ(UdevRuleMode(rules.str(), Descriptors(kProgrammerProductId)), "0660");
  EXPECT_EQ(UdevRuleMode(rules.str(), Descriptors(kProgrammerProductId, "080650")), "");
  EXPECT_EQ(UdevRuleMode(rules.str(), Descriptors(0x1111)), "");
}

}  // namespace
}  // namespace quenlet
