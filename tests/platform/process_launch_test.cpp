#include "platform/process_launch.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <fstream>

#include "recording_script.h"

namespace tessival::platform {
namespace {

using ::testing::ElementsAre;

using testing::RecordedArguments;
using testing::RecordingScript;

TEST(ProcessLaunch, HostileAddressArrivesAsOneArgumentWithoutAShell) {
  testing::TempTree tree;
  const std::string url = "http://h/?a=1;touch " + tree.Path("pwned") +
                          " $(touch x) `id` 'single' \"double\"\nsecond line & | > <";
  std::optional<ChildProcess> child = SpawnProcess({RecordingScript(tree), url, "-nohome"});
  ASSERT_TRUE(child.has_value());
  EXPECT_EQ(child->Wait(), 0);
  EXPECT_THAT(RecordedArguments(tree), ElementsAre(url, "-nohome"));
  EXPECT_FALSE(std::ifstream(tree.Path("pwned")).good());
}

TEST(ProcessLaunch, ProgramThatCannotStartIsReportedAsFailure) {
  testing::TempTree tree;
  EXPECT_EQ(SpawnProcess({tree.Path("no-such-program"), "x"}), std::nullopt);
  EXPECT_FALSE(LaunchDetached({"tessival-no-such-program-in-path"}));
  EXPECT_FALSE(LaunchDetached({}));
  const std::string not_executable = tree.Write("plain.txt", "text");
  EXPECT_FALSE(LaunchDetached({not_executable}));
}

TEST(ProcessLaunch, StartedProgramInheritsNoDescriptors) {
  testing::TempTree tree;
  int fds[2];
  ASSERT_EQ(pipe(fds), 0);  // without close-on-exec, as a careless layer might leave one
  const std::string script = tree.Write(
      "fds.sh", "#!/bin/sh\nif [ -e /proc/self/fd/$1 ]; then echo open; else echo closed; fi > " +
                    tree.Path("arg1") + "\n");
  chmod(script.c_str(), 0755);
  std::optional<ChildProcess> child = SpawnProcess({script, std::to_string(fds[1])});
  ASSERT_TRUE(child.has_value());
  child->Wait();
  close(fds[0]);
  close(fds[1]);
  EXPECT_THAT(RecordedArguments(tree), ElementsAre("closed\n"));
}

TEST(ProcessLaunch, DetachedLaunchSucceedsWhenTheProgramStarts) {
  EXPECT_TRUE(LaunchDetached({"true"}));
}

}  // namespace
}  // namespace tessival::platform
