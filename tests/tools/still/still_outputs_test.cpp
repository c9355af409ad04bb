// driftglow-still's outputs under hostile conditions: interrupted at several
// moments of each container, past a file size limit, a link planted beside
// the output, a missing folder, a canvas too large for the memory.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

#include "tests/tools/still/still_tool_fixture.h"

extern char** environ;

#ifdef DRIFTGLOW_STILL

namespace {

using Clock = std::chrono::steady_clock;

class StillOutputs : public StillTool {
 protected:
  // The names in the folder other than pix/ and the planted victim.
  std::vector<std::string> Outputs() const {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder_)) {
      const std::string name = entry.path().filename().string();
      if (name != "pix" && name != "victim.txt") names.push_back(name);
    }
    std::sort(names.begin(), names.end());
    return names;
  }
};

struct Ending {
  int exitCode = -1;    // -1 when ended by a signal or still running
  double seconds = -1;  // from the first signal to the end
};

// True once the process holds SIGTERM blocked: its own handling is in place.
// Before that, while the program is still being loaded, a signal simply
// ends it (and there is nothing to clean up yet).
bool HandlesSignals(pid_t pid) {
  std::ifstream status("/proc/" + std::to_string(pid) + "/status");
  std::string line;
  while (std::getline(status, line))
    if (line.rfind("SigBlk:", 0) == 0) return (std::stoull(line.substr(7), nullptr, 16) >> (SIGTERM - 1)) & 1;
  return false;
}

// Starts the tool, sends signals delaySeconds after its signal handling is
// in place (the second, if any, 50 ms after the first) and waits for it; a
// tool still running 10 s after the signal is killed and reported as running.
Ending Interrupt(const std::vector<std::string>& arguments, double delaySeconds, const std::vector<int>& signals) {
  std::vector<char*> argv;
  std::string program = DRIFTGLOW_STILL;
  argv.push_back(program.data());
  std::vector<std::string> copies = arguments;
  for (std::string& argument : copies) argv.push_back(argument.data());
  argv.push_back(nullptr);
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
  pid_t pid = 0;
  const int spawned = posix_spawn(&pid, program.c_str(), &actions, nullptr, argv.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  Ending ending;
  if (spawned != 0) return ending;
  for (int wait = 0; wait < 1000 && !HandlesSignals(pid); ++wait)
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  std::this_thread::sleep_for(std::chrono::duration<double>(delaySeconds));
  const Clock::time_point sent = Clock::now();
  for (size_t i = 0; i < signals.size(); ++i) {
    if (i) std::this_thread::sleep_for(std::chrono::milliseconds(50));
    ::kill(pid, signals[i]);
  }
  int status = 0;
  while (::waitpid(pid, &status, WNOHANG) == 0) {
    if (Clock::now() - sent > std::chrono::seconds(10)) {
      ::kill(pid, SIGKILL);
      ::waitpid(pid, &status, 0);
      return ending;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  ending.seconds = std::chrono::duration<double>(Clock::now() - sent).count();
  if (WIFEXITED(status)) ending.exitCode = WEXITSTATUS(status);
  return ending;
}

TEST_F(StillOutputs, AnInterruptedClipEndsSoonWithItsSignalAndLeavesNothing) {
  struct Case {
    const char* file;
    double delaySeconds;  // the early ones fall in the encoder's first second
    std::vector<int> signals;
  };
  const Case cases[] = {
      {"clip.webm", 0.3, {SIGTERM}}, {"clip.webm", 0.7, {SIGHUP}}, {"clip.webm", 1.5, {SIGINT}},
      {"clip.mkv", 0.05, {SIGINT}},  {"clip.mkv", 0.9, {SIGTERM}}, {"clip.mkv", 1.2, {SIGTERM, SIGINT}},
      {"clip.mp4", 0.05, {SIGHUP}},  {"clip.mp4", 0.8, {SIGINT}},  {"clip.mp4", 1.5, {SIGTERM, SIGTERM}}};
  for (const Case& c : cases) {
    const Ending ending = Interrupt({"--seeds", "1,2,3", "--size", "256x256", "--frames", "5000", "--video",
                                     (folder_ / c.file).string(), "--data", folder_.string()},
                                    c.delaySeconds, c.signals);
    const std::string label = std::string(c.file) + " at " + std::to_string(c.delaySeconds) + " s";
    EXPECT_EQ(ending.exitCode, 128 + c.signals[0]) << label;
    // A second is the aim; the margin is for a loaded machine.
    EXPECT_GE(ending.seconds, 0) << label << ": still running after 10 s";
    EXPECT_LT(ending.seconds, 3) << label;
    EXPECT_EQ(Outputs(), std::vector<std::string>{}) << label;
  }
}

TEST_F(StillOutputs, AFileSizeLimitFailsWithItsReasonAndLeavesNoTemporaryFile) {
  // No trap: the tool must keep SIGXFSZ from ending it by itself.
  const std::string limit = "ulimit -f 20; ";
  for (const std::string& output :
       {" --png " + (folder_ / "out.png").string(), " --json " + (folder_ / "out.json").string(),
        " --frames 50 --video " + (folder_ / "out.mp4").string()}) {
    std::string errors;
    EXPECT_EQ(RunStill("--seeds 12,34,56 --size 512x512" + output + Data(), nullptr, &errors, limit), 1) << output;
    EXPECT_NE(errors.find("File too large"), std::string::npos) << errors;
    EXPECT_EQ(Outputs(), std::vector<std::string>{}) << output;
  }
}

TEST_F(StillOutputs, ALinkPlantedBesideTheOutputIsLeftAlone) {
  const fs::path victim = folder_ / "victim.txt";
  std::ofstream(victim) << "keep";
  const fs::path png = folder_ / "evil.png";
  fs::create_symlink(victim, png.string() + ".part");
  ASSERT_EQ(RunStill("--seeds 1,2,3 --png " + png.string() + Data()), 0);
  EXPECT_EQ(ReadFile(victim), "keep");
  EXPECT_EQ(ReadFile(png).substr(1, 3), "PNG");
  EXPECT_TRUE(fs::is_symlink(png.string() + ".part"));
}

TEST_F(StillOutputs, AMissingFolderIsAnErrorForEveryOutput) {
  const fs::path missing = folder_ / "missing";
  for (const std::string& output :
       {" --png " + (missing / "a.png").string(), " --json " + (missing / "a.json").string(),
        " --frames 3 --video " + (missing / "a.webm").string()}) {
    std::string errors;
    EXPECT_EQ(RunStill("--seeds 1,2,3 --size 128x96" + output + Data(), nullptr, &errors), 1) << output;
    EXPECT_NE(errors.find("No such file or directory"), std::string::npos) << errors;
    EXPECT_FALSE(fs::exists(missing)) << output;
  }
}

TEST_F(StillOutputs, ACanvasTooLargeForTheMemoryIsRefusedBeforeDrawing) {
  for (const char* output : {" --video big.webm --frames 10", " --video big.mp4 --frames 10"}) {
    std::string errors;
    const Clock::time_point start = Clock::now();
    EXPECT_EQ(RunStill("--seeds 12,34,56 --size 8000x8000" + std::string(output) + Data(), nullptr, &errors), 2);
    EXPECT_NE(errors.find("8000x8000 video would need about "), std::string::npos) << errors;
    EXPECT_NE(errors.find(" GiB of memory"), std::string::npos) << errors;
    EXPECT_LT(std::chrono::duration<double>(Clock::now() - start).count(), 10) << "refused before any work";
  }
  EXPECT_EQ(Outputs(), std::vector<std::string>{});
}

}  // namespace

#endif
