#include "registry/hive_file.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <future>
#include <regex>
#include <sstream>

#include "platform/registry/registry_test_data.h"
#include "registry/hive_format.h"

namespace handheld::device::registry {
namespace {

namespace fs = std::filesystem;

class HiveFile : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string pattern = (fs::temp_directory_path() / "registry-test-XXXXXX").string();
    ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
    root_ = pattern;
  }
  void TearDown() override { fs::remove_all(root_); }

  std::vector<std::string> deviceFolder() const {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(root_ / ".device")) {
      names.push_back(entry.path().filename().string());
    }
    std::sort(names.begin(), names.end());
    return names;
  }

  void writeHiveText(const std::string& text) const {
    fs::create_directories(root_ / ".device");
    std::ofstream(hivePath(root_), std::ios::binary) << text;
  }

  static std::string readText(const fs::path& path) {
    std::ostringstream text;
    text << std::ifstream(path, std::ios::binary).rdbuf();
    return text.str();
  }

  fs::path root_;
};

TEST_F(HiveFile, SavesAtomicallyAndLoadsBack) {
  RegistryStore store;
  store.createKey(Root::CurrentUser, u"Empty");
  store.setValue(Root::LocalMachine, u"", u"Odd", REG_SZ,
                 test::unitsData(std::u16string(u"x\0\xD800", 3)));
  ASSERT_EQ(saveHive(root_, store), std::nullopt);
  ASSERT_EQ(saveHive(root_, store), std::nullopt);  // replacing works too

  EXPECT_EQ(deviceFolder(), std::vector<std::string>{"registry.reg"});  // no temporaries left
  struct stat info {};
  ASSERT_EQ(::stat(hivePath(root_).c_str(), &info), 0);
  EXPECT_EQ(info.st_mode & 0777, 0600u);

  LoadedHive loaded = loadHive(root_);
  EXPECT_EQ(loaded.source, LoadedHive::Source::File);
  EXPECT_TRUE(loaded.message.empty());
  EXPECT_EQ(writeHive(loaded.store), writeHive(store));
}

TEST_F(HiveFile, MissingHiveMeansTheDefaultHive) {
  LoadedHive loaded = loadHive(root_);
  EXPECT_EQ(loaded.source, LoadedHive::Source::Default);
  EXPECT_NE(loaded.message.find("default hive"), std::string::npos);
  EXPECT_EQ(loaded.store.openKey(Root::LocalMachine, u"System\\Device"), ERROR_SUCCESS);
}

TEST_F(HiveFile, DamagedHiveIsSetAsideAndTheDefaultUsed) {
  const std::string garbage = std::string(kHiveHeader) + "\n\n[HKEY_LOCAL_MACHINE\\A]\n\x01\x02\n";
  writeHiveText(garbage);

  LoadedHive loaded = loadHive(root_);
  EXPECT_EQ(loaded.source, LoadedHive::Source::Damaged);
  EXPECT_EQ(loaded.store.openKey(Root::LocalMachine, u"A"), ERROR_FILE_NOT_FOUND);
  EXPECT_EQ(loaded.store.openKey(Root::LocalMachine, u"System\\Device"), ERROR_SUCCESS);

  const std::vector<std::string> files = deviceFolder();
  ASSERT_EQ(files.size(), 1u);
  EXPECT_TRUE(std::regex_match(files[0], std::regex(R"(registry\.reg\.damaged-\d{8}-\d{6})")))
      << files[0];
  EXPECT_EQ(readText(root_ / ".device" / files[0]), garbage);
  EXPECT_NE(loaded.message.find("line 4"), std::string::npos) << loaded.message;
  EXPECT_NE(loaded.message.find(files[0]), std::string::npos) << loaded.message;
  EXPECT_NE(loaded.message.find("default hive"), std::string::npos) << loaded.message;

  // A second damaged hive does not replace the first one set aside.
  writeHiveText("garbage");
  EXPECT_EQ(loadHive(root_).source, LoadedHive::Source::Damaged);
  EXPECT_EQ(deviceFolder().size(), 2u);
}

// open() used to wait for a writer to the FIFO, forever.
TEST_F(HiveFile, FifoOrFolderAtTheHiveIsSetAsideWithoutWaiting) {
  fs::create_directories(root_ / ".device");
  ASSERT_EQ(::mkfifo(hivePath(root_).c_str(), 0600), 0);
  auto loading = std::async(std::launch::async, [this] { return loadHive(root_); });
  if (loading.wait_for(std::chrono::seconds(2)) != std::future_status::ready) {
    ADD_FAILURE() << "loading waits on the FIFO";
    ::close(::open(hivePath(root_).c_str(), O_WRONLY | O_NONBLOCK));  // let it go
  }
  LoadedHive loaded = loading.get();
  EXPECT_EQ(loaded.source, LoadedHive::Source::Damaged);
  EXPECT_NE(loaded.message.find("is not a regular file"), std::string::npos) << loaded.message;
  ASSERT_EQ(deviceFolder().size(), 1u);
  EXPECT_TRUE(fs::is_fifo(root_ / ".device" / deviceFolder()[0]));

  fs::create_directories(hivePath(root_));
  EXPECT_EQ(loadHive(root_).source, LoadedHive::Source::Damaged);
  EXPECT_EQ(deviceFolder().size(), 2u);
  EXPECT_EQ(saveHive(root_, loaded.store), std::nullopt);
  EXPECT_TRUE(fs::is_regular_file(hivePath(root_)));
}

TEST_F(HiveFile, TruncatedHiveIsDamaged) {
  RegistryStore store;
  store.createKey(Root::LocalMachine, u"A\\B");
  store.setValue(Root::LocalMachine, u"A", u"v", REG_BINARY, std::vector<uint8_t>(300, 0x5A));
  const std::string text = writeHive(store);
  for (std::size_t cut : {text.size() / 2, text.rfind("\n;") + 1}) {
    writeHiveText(text.substr(0, cut));
    LoadedHive loaded = loadHive(root_);
    EXPECT_EQ(loaded.source, LoadedHive::Source::Damaged) << cut;
    EXPECT_FALSE(fs::exists(hivePath(root_)));
  }
}

}  // namespace
}  // namespace handheld::device::registry
