// What the program asks of Windows about the user and the system: the logon
// name, the version, the accent colour's registry value, the system's words
// for an error.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "platform/Exceptions.h"
#include "platform/os/SettingsStore.h"
#include "platform/os/SystemError.h"
#include "platform/os/SystemInfo.h"
#include "platform/os/windows/Win32.h"
#include "tests/common/TempProfile.h"

namespace {

TEST(SystemInfo, NamesTheUserAndTheVersion) {
  const std::string name = vark::os::LogonName();
  EXPECT_FALSE(name.empty());
  EXPECT_EQ(name.find('\0'), std::string::npos);
  if (const auto user = vark::testing::profile::Variable("VARK_TEST_USER")) {
    EXPECT_EQ(name, *user);
  }
  EXPECT_GE(vark::os::SystemVersion().Major, 6);
}

TEST(SystemError, IsTheSystemsTextOnOneLine) {
  const std::string text = vark::os::SystemErrorText(ERROR_SHARING_VIOLATION);
  EXPECT_FALSE(text.empty());
  EXPECT_EQ(text.find_first_of("\r\n"), std::string::npos) << text;
  EXPECT_NE(text.back(), ' ');
  try {
    vark::os::RaiseOSError(ERROR_ACCESS_DENIED);
  } catch (const EOSError& e) {
    EXPECT_EQ(e.ErrorCode(), ERROR_ACCESS_DENIED);
    EXPECT_EQ(e.Message(), "System Error.  Code: 5.\n" + vark::os::SystemErrorText(5));
  }
}

// The accent colour's value, written into this user's registry for a test
// and removed again.
class AccentValue : public ::testing::Test {
 protected:
  static constexpr const wchar_t* kKey = L"Software\\Microsoft\\Windows\\DWM";
  void SetUp() override {
    ASSERT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, kKey, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                              &key_, nullptr),
              ERROR_SUCCESS);
  }
  void TearDown() override {
    RegDeleteValueW(key_, L"AccentColor");
    RegCloseKey(key_);
  }
  void Write(DWORD type, const void* data, DWORD size) {
    ASSERT_EQ(RegSetValueExW(key_, L"AccentColor", 0, type, static_cast<const BYTE*>(data), size),
              ERROR_SUCCESS);
  }

  HKEY key_ = nullptr;
  std::unique_ptr<vark::os::SettingsStore> store_ = vark::os::OpenUserSettingsStore();
};

TEST_F(AccentValue, IsReadAsA32BitInteger) {
  const DWORD accent = 0xFF2020F0;
  Write(REG_DWORD, &accent, sizeof accent);
  ASSERT_TRUE(store_->OpenKeyReadOnly("Software\\Microsoft\\Windows\\DWM\\"));
  EXPECT_TRUE(store_->ValueExists("AccentColor"));
  EXPECT_EQ(static_cast<uint32_t>(store_->ReadInteger("AccentColor")), 0xFF2020F0u);
  EXPECT_FALSE(store_->ValueExists("ColorizationColor2"));
  store_->CloseKey();
  EXPECT_FALSE(store_->ValueExists("AccentColor"));
  EXPECT_FALSE(store_->OpenKeyReadOnly("Software\\Valdor\\NoSuchKey\\"));
}

TEST_F(AccentValue, OfAnotherTypeFailsToRead) {
  const wchar_t text[] = L"4280295664";
  const uint64_t wide = 0xFF2020F0;
  struct Case {
    DWORD type;
    const void* data;
    DWORD size;
  };
  const Case cases[] = {{REG_SZ, text, sizeof text}, {REG_QWORD, &wide, sizeof wide}};
  for (const Case& c : cases) {
    Write(c.type, c.data, c.size);
    ASSERT_TRUE(store_->OpenKeyReadOnly("Software\\Microsoft\\Windows\\DWM\\"));
    EXPECT_TRUE(store_->ValueExists("AccentColor"));
    try {
      store_->ReadInteger("AccentColor");
      ADD_FAILURE() << "type " << c.type;
    } catch (const ERegistryException& e) {
      EXPECT_EQ(e.Message(), "Invalid data type for 'AccentColor'");
    }
    store_->CloseKey();
  }
}

}  // namespace
