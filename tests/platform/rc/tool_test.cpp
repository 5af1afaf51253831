// The handheld-rc command line: output written on success, nothing and exit status 1 with the
// error on stderr on failure.
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <stdlib.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

namespace {

using ::testing::HasSubstr;

struct ToolRun {
  int status;
  std::string output;
};

ToolRun runTool(const std::string& arguments) {
  std::string command = std::string(HANDHELD_BUILD_DIR) + "/bin/handheld-rc " + arguments + " 2>&1";
  ToolRun run{-1, {}};
  FILE* pipe = popen(command.c_str(), "r");
  if (!pipe) return run;
  char buffer[256];
  while (size_t got = fread(buffer, 1, sizeof buffer, pipe)) run.output.append(buffer, got);
  int status = pclose(pipe);
  run.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  return run;
}

class Tool : public ::testing::Test {
 protected:
  void SetUp() override {
    char pattern[] = "/tmp/handheld-rc-XXXXXX";
    ASSERT_NE(mkdtemp(pattern), nullptr);
    dir_ = pattern;
  }
  void TearDown() override { std::filesystem::remove_all(dir_); }
  void write(const std::string& name, const std::string& content) {
    std::ofstream(dir_ / name) << content;
  }
  std::string path(const std::string& name) const { return (dir_ / name).string(); }
  std::string read(const std::string& name) const {
    std::ifstream in(dir_ / name);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
  }

  std::filesystem::path dir_;
};

TEST_F(Tool, WritesTableAndDepfile) {
  write("app.rc", "#include \"ids.h\"\nID RCDATA { 1 }\n");
  write("ids.h", "#define ID 3\n");
  ToolRun run = runTool("--depfile " + path("app.d") + " -o " + path("app.cpp") + " " + path("app.rc"));
  EXPECT_EQ(run.status, 0) << run.output;
  EXPECT_THAT(read("app.cpp"), HasSubstr("handheld_module_resources"));
  EXPECT_THAT(read("app.d"), HasSubstr(path("ids.h")));
}

TEST_F(Tool, FailsWithTheLocation) {
  write("bad.rc", "1 RCDATA {\n 1,\n");
  ToolRun run = runTool("-o " + path("bad.cpp") + " " + path("bad.rc"));
  EXPECT_EQ(run.status, 1);
  EXPECT_THAT(run.output, HasSubstr(path("bad.rc") + ":1: error: BEGIN without END"));
  EXPECT_FALSE(std::filesystem::exists(path("bad.cpp")));
  EXPECT_EQ(runTool("-o " + path("x.cpp") + " " + path("none.rc")).status, 1);
  EXPECT_EQ(runTool(path("bad.rc")).status, 2);  // no output given
}

TEST_F(Tool, ExportsAndLinkOptions) {
  write("lib.def", "EXPORTS\n  Init @240\n  Named\n");
  ToolRun run = runTool("--exports " + path("lib.def") + " -o " + path("exports.cpp") +
                    " --link-options " + path("exports.ld"));
  EXPECT_EQ(run.status, 0) << run.output;
  EXPECT_EQ(read("exports.ld"), "-Wl,--require-defined=Init\n-Wl,--require-defined=Named\n");
}

}  // namespace
