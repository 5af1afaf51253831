// GetVersionExW: the handheld's version, and the size check of the structure.
#include <gtest/gtest.h>
#include <windows.h>

namespace {

TEST(SystemVersion, ReportsTheHandheldVersion) {
  EXPECT_EQ(sizeof(OSVERSIONINFOW), 276u);
  OSVERSIONINFOW info{};
  info.dwOSVersionInfoSize = sizeof info;
  info.szCSDVersion[0] = u'x';
  ASSERT_TRUE(GetVersionExW(&info));
  EXPECT_EQ(info.dwOSVersionInfoSize, 276u);
  EXPECT_EQ(info.dwMajorVersion, 4u);
  EXPECT_EQ(info.dwMinorVersion, 21u);
  EXPECT_EQ(info.dwBuildNumber, 1088u);
  EXPECT_EQ(info.dwPlatformId, 3u);
  EXPECT_EQ(VER_PLATFORM_WIN32_CE, 3);
  EXPECT_EQ(info.szCSDVersion[0], u'\0');
}

TEST(SystemVersion, RefusesAWrongSizeAndNull) {
  OSVERSIONINFOW info{};
  info.dwOSVersionInfoSize = sizeof info - 1;
  EXPECT_FALSE(GetVersionExW(&info));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INSUFFICIENT_BUFFER));
  EXPECT_EQ(info.dwMajorVersion, 0u);  // nothing written
  info.dwOSVersionInfoSize = 0;
  EXPECT_FALSE(GetVersionExW(&info));
  EXPECT_FALSE(GetVersionExW(nullptr));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
}

}  // namespace
