// The libusb transport through its real loading code, against the libusb test double.
#include "LinkTestSupport.h"
#include "device/LibUsbLink.h"
#include "platform/LittleEndian.h"
#include "platform/TextPair.h"

#include <gtest/gtest.h>

#include <cerrno>

namespace grx {
namespace {

class LibUsbLinkTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_NE(usb.operator->(), nullptr);
    link.setLinkMessage([this](const QString& text) { messages << text; });
  }
  void TearDown() override { setCurrentLanguage(Language::Russian); }

  test::UsbDouble usb;
  TLibUsbLink link;
  QStringList messages;
};

TEST_F(LibUsbLinkTest, LoadResultDependsOnTheLibraryFile) {
  const struct {
    QString file;
    int result;
  } cases[] = {
      {QStringLiteral("/nonexistent/libusb.so"), 1},
      {test::UsbDouble::incompletePath(), 2},  // usb_bulk_read is missing
      {test::UsbDouble::path(), 0},
  };
  for (const auto& c : cases) {
    qputenv("GRX1_LIBUSB", c.file.toLocal8Bit());
    TLibUsbLink fresh;
    EXPECT_EQ(fresh.Load(), c.result) << c.file.toStdString();
    EXPECT_EQ(fresh.isLoaded(), c.result == 0);
  }
}

TEST_F(LibUsbLinkTest, LoadResolvesEveryEntryPointOnceAndInitialisesOnce) {
  EXPECT_EQ(TLibUsbLink::entryPointNames().size(), 43u);
  EXPECT_STREQ(TLibUsbLink::entryPointNames().front(), "usb_bulk_read");
  EXPECT_STREQ(TLibUsbLink::entryPointNames().back(), "usb_uninstall_service_np_rundll");
  EXPECT_EQ(link.Load(), 0);
  EXPECT_EQ(link.Load(), 0);
  EXPECT_EQ(usb->calls, std::vector<std::string>{"usb_init"});
}

TEST_F(LibUsbLinkTest, DefaultLibraryNameAndOverride) {
  qunsetenv("GRX1_LIBUSB");
  EXPECT_EQ(TLibUsbLink::libraryFileName(), QStringLiteral("libusb-0.1.so.4"));
  qputenv("GRX1_LIBUSB", "/opt/x/libusb.so");
  EXPECT_EQ(TLibUsbLink::libraryFileName(), QStringLiteral("/opt/x/libusb.so"));
}

TEST_F(LibUsbLinkTest, OpenConfiguresAndClaimsInThatOrderAndReusesTheHandle) {
  ASSERT_EQ(link.Load(), 0);
  usb->calls.clear();
  EXPECT_EQ(link.OpenDevice(), 0);
  EXPECT_EQ(usb->calls, (std::vector<std::string>{"usb_open 0", "usb_set_configuration 1", "usb_claim_interface 0"}));

  usb->calls.clear();
  EXPECT_EQ(link.OpenDevice(), 0);
  EXPECT_TRUE(usb->calls.empty()) << "nothing changed on the bus: the handle is kept, not reconfigured";

  usb->markBusChanged();
  EXPECT_EQ(link.OpenDevice(), 0);
  EXPECT_EQ(usb->calls, (std::vector<std::string>{"usb_close", "usb_open 0", "usb_set_configuration 1",
                                                   "usb_claim_interface 0"}));
  EXPECT_EQ(usb->openHandles, 1);
  EXPECT_TRUE(messages.isEmpty());
}

TEST_F(LibUsbLinkTest, FirstTesterInBusAndDeviceOrderIsUsed) {
  ASSERT_EQ(link.Load(), 0);
  usb->removeAllDevices();
  usb->addDevice(0, 0x1234, 0x0120);  // 0: another vendor
  usb->addDevice(1, 0x03EB, 0x0120);  // 1: a tester on the second bus
  usb->addDevice(0, 0x03EB, 0x0121);  // 2: another product
  usb->addDevice(0, 0x03EB, 0x0120);  // 3: a tester on the first bus
  usb->calls.clear();
  EXPECT_EQ(link.OpenDevice(), 0);
  ASSERT_FALSE(usb->calls.empty());
  EXPECT_EQ(usb->calls.front(), "usb_open 3");
}

TEST_F(LibUsbLinkTest, NoTesterGivesOneAndTheRussianMessageInEitherLanguage) {
  ASSERT_EQ(link.Load(), 0);
  usb->removeAllDevices();
  usb->addDevice(0, 0x1234, 0x5678);
  for (Language language : {Language::Russian, Language::English}) {
    setCurrentLanguage(language);
    messages.clear();
    EXPECT_EQ(link.OpenDevice(), 1);
    EXPECT_EQ(messages, QStringList{QString::fromUtf8(kTesterNotOnBus)});
    EXPECT_FALSE(link.hasDevice());
  }
  EXPECT_TRUE(messages.first().startsWith(QStringLiteral("Прибор не подключен к шине USB")));
}

TEST_F(LibUsbLinkTest, RefusedConfigurationOrClaimIsShownButTheOpenCountsAsDone) {
  setCurrentLanguage(Language::English);
  ASSERT_EQ(link.Load(), 0);
  usb->setConfigurationResult = -EACCES;
  usb->claimInterfaceResult = -EBUSY;
  EXPECT_EQ(link.OpenDevice(), 0);
  EXPECT_EQ(messages, (QStringList{"LibUsb: Permission denied", "LibUsb: strerror reports \"Resource device\""}));
}

TEST_F(LibUsbLinkTest, TransfersUseTheTesterEndpointsAndReturnLibUsbResults) {
  ASSERT_EQ(link.Load(), 0);
  ASSERT_EQ(link.OpenDevice(), 0);
  const std::uint8_t cmd[2] = {0x01, 0xFE};
  EXPECT_EQ(link.Write(cmd, 2), 2);
  std::uint8_t buffer[8] = {};
  EXPECT_EQ(link.Read(buffer, 4), 4);
  EXPECT_EQ(readU32(buffer), std::uint32_t(usb->device(0).versionBody().size()));
  EXPECT_EQ(link.Read(buffer, 0), 0) << "a read of 0 bytes is passed to libusb";
  EXPECT_EQ(usb->readSizes.back(), 0);
  usb->device(0).resetSession();
  EXPECT_EQ(link.Read(buffer, 4), -ETIMEDOUT) << "a silent tester";
  link.CloseDevice();
  EXPECT_EQ(usb->openHandles, 0);
  EXPECT_LT(link.Write(cmd, 2), 0) << "no device handle";
  link.CloseDevice();  // harmless when closed
  link.Unload();
  link.Unload();
  EXPECT_FALSE(link.isLoaded());
}

TEST(LibUsbErrorText, KeyedByTheCErrorNames) {
  const struct {
    int code;
    const char* ru;
    const char* en;
  } cases[] = {
      {-EPERM, "LibUsb: Операция запрещена", "LibUsb: Operation not permitted"},
      {-ENOENT, "LibUsb: Нет такого файла или папки", "LibUsb: No entry, ENOFILE, no such file or directory"},
      {-EIO, "LibUsb: Ошибка ввода/вывода", "LibUsb: I/O error"},
      {-EBUSY, "LibUsb: strerror reports \"Resource device\"", "LibUsb: strerror reports \"Resource device\""},
      {-EISDIR, "LibUsb: Is a directory", "LibUsb: Is a directory"},
      {-ESPIPE, "LibUsb: Invalid seek (seek on a pipe?)", "LibUsb: Invalid seek (seek on a pipe?)"},
      {-EPIPE, "LibUsb: Обрыв в канале", "LibUsb: Broken pipe"},
      {-EDOM, "LibUsb: Domain error (math functions)", "LibUsb: Domain error (math functions)"},
      {-ENAMETOOLONG, "LibUsb: Слишком длинное имя файла", "LibUsb: Filename too long"},
      {-ENOTEMPTY, "LibUsb: Папка не пуста", "LibUsb: Directory not empty"},
      {-ETIMEDOUT, "LibUsb: Тайм-аут", "LibUsb: Time-out"},
      {-35, "LibUsb: Error -35", "LibUsb: Error -35"},
      {-15, "LibUsb: Error -15", "LibUsb: Error -15"},
      {0, "", ""},
  };
  for (const auto& c : cases) {
    setCurrentLanguage(Language::Russian);
    EXPECT_EQ(ErrorText(c.code), QString::fromUtf8(c.ru)) << c.code;
    setCurrentLanguage(Language::English);
    EXPECT_EQ(ErrorText(c.code), QString::fromUtf8(c.en)) << c.code;
  }
  setCurrentLanguage(Language::Russian);
}

}  // namespace
}  // namespace grx
