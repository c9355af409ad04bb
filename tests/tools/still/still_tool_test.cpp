// driftglow-still: its arguments, its JSON description, and the built tool
// run on a small catalogue (exit codes, identical output from equal seeds).
#include <sys/wait.h>

#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "app/screen_json.h"
#include "composition/screen_seeds.h"
#include "core/version.h"
#include "engine/sdl/headless_engine.h"
#include "tests/composition/composition_fixture.h"
#include "tests/tools/still/still_tool_fixture.h"
#include "tools/still/still_options.h"

namespace fs = std::filesystem;

namespace {

TEST(StillOptions, ArgumentsTable) {
  struct Case {
    std::vector<std::string> arguments;
    std::string error;  // a part of the expected message; empty for success
  };
  const Case cases[] = {
      {{"--seeds", "1,2,3", "--png", "a.png"}, ""},
      {{"--json", "-", "--seeds", "100000,1,2147483647"}, ""},
      {{"--seeds", "1,2,3", "--json", "a.json", "--size", "1920x1080", "--frames", "250", "--data", "d"}, ""},
      {{"--png", "a.png"}, "--seeds S,C,P is required"},
      {{"--seeds", "1,2,3"}, "nothing to write"},
      {{"--seeds", "1,2", "--png", "a.png"}, "--seeds wants"},
      {{"--seeds", "1,2,3,4", "--png", "a.png"}, "--seeds wants"},
      {{"--seeds", "0,2,3", "--png", "a.png"}, "--seeds wants"},
      {{"--seeds", "-1,2,3", "--png", "a.png"}, "--seeds wants"},
      {{"--seeds", "1,2,2147483648", "--png", "a.png"}, "--seeds wants"},
      {{"--seeds", "1,,3", "--png", "a.png"}, "--seeds wants"},
      {{"--seeds", "1,2,3x", "--png", "a.png"}, "--seeds wants"},
      {{"--seeds", "1,2,3", "--png", "a.png", "--size", "960"}, "--size wants"},
      {{"--seeds", "1,2,3", "--png", "a.png", "--size", "0x960"}, "--size wants"},
      {{"--seeds", "1,2,3", "--png", "a.png", "--size", "960x8193"}, "--size wants"},
      {{"--seeds", "1,2,3", "--png", "a.png", "--size", "960X960"}, "--size wants"},
      {{"--seeds", "1,2,3", "--png", "a.png", "--frames", "0"}, "--frames wants"},
      {{"--seeds", "1,2,3", "--png", "a.png", "--frames", "ten"}, "--frames wants"},
      {{"--seeds", "1,2,3", "--png"}, "--png needs a value"},
      {{"--seeds", "1,2,3", "--png", ""}, "--png needs a non-empty value"},
      {{"--seeds", "1,2,3", "--png", "a.png", "--fast"}, "unknown argument '--fast'"},
      {{"1,2,3"}, "unknown argument"},
      {{"--seeds", "1,2,3", "--video", "a.webm", "--audio"}, ""},
      {{"--seeds", "1,2,3", "--video", "dir.v/a.MP4", "--audio", "kalliope", "--png", "a.png"}, ""},
      {{"--seeds", "1,2,3", "--video", "a.avi"}, "--video FILE must end in .webm, .mkv or .mp4"},
      {{"--seeds", "1,2,3", "--video", "a.mkv/webm"}, "must end in"},
      {{"--seeds", "1,2,3", "--png", "a.png", "--audio"}, "--audio needs --video FILE"},
      {{"--seeds", "1,2,3", "--video", "a.mp4", "--audio", ""}, "--audio wants a track name"},
      {{"--seeds", "1,2,3", "--video", "a.mp4", "--size", "961x960"}, "even width and height"},
      {{"--seeds", "1,2,3", "--video", "a.webm", "--size", "62x960"}, "at least 64"},
      {{"--seeds", "1,2,3", "--png", "a.png", "--renderer", "vulkan"}, "--renderer wants auto, opengl or software"},
      // A picture is written only under a name that says what it is.
      {{"--seeds", "1,2,3", "--png", "dir/A.PNG"}, ""},
      {{"--seeds", "1,2,3", "--png", "a.jpg"}, "--png FILE must end in .png: 'a.jpg'"},
      {{"--seeds", "1,2,3", "--png", "a.png/b"}, "must end in .png"},
      {{"--seeds", "1,2,3", "--png", "dir/.png"}, ""},
      {{"--seeds", "1,2,3", "--png", "png"}, "must end in .png"},
  };
  for (const Case& c : cases) {
    StillOptions options;
    const std::string error = parseStillOptions(c.arguments, options);
    if (c.error.empty()) {
      EXPECT_EQ(error, "") << c.arguments[0];
    } else {
      EXPECT_NE(error.find(c.error), std::string::npos) << error;
      EXPECT_EQ(error.find('\n'), std::string::npos);
    }
  }

  StillOptions options;
  ASSERT_EQ(parseStillOptions({"--seeds", "7,8,9", "--json", "-", "--size", "1152x648", "--frames", "3"}, options), "");
  EXPECT_EQ(options.seeds[0], 7);
  EXPECT_EQ(options.seeds[2], 9);
  EXPECT_EQ(options.width, 1152);
  EXPECT_EQ(options.height, 648);
  EXPECT_EQ(options.frames, 3);
  EXPECT_EQ(options.jsonPath, "-");
  EXPECT_TRUE(options.pngPath.empty());
  ASSERT_EQ(parseStillOptions({"--help"}, options), "");
  EXPECT_TRUE(options.help);

  // A video is five seconds unless told otherwise; the track name is optional.
  StillOptions video;
  ASSERT_EQ(parseStillOptions({"--seeds", "1,2,3", "--audio", "--video", "a.webm"}, video), "");
  EXPECT_EQ(video.frames, 250);
  EXPECT_TRUE(video.audio);
  EXPECT_EQ(video.audioTrack, "");
  StillOptions track;
  ASSERT_EQ(parseStillOptions({"--seeds", "1,2,3", "--video", "a.mp4", "--audio", "Mercury", "--frames", "7"}, track),
            "");
  EXPECT_EQ(track.audioTrack, "Mercury");
  EXPECT_EQ(track.frames, 7);
}

TEST(StillJson, FloatsCarryNineSignificantDigitsAndNamesForNonFiniteValues) {
  struct Case {
    float value;
    const char* text;
  };
  const Case cases[] = {
      {0.1f, "0.100000001"},
      {-889.983582f, "-889.983582"},
      {1, "1"},
      {0.05f, "0.0500000007"},
      {1e10f, "1e+10"},
      {-0.0f, "-0"},
      {INFINITY, "\"inf\""},
      {-INFINITY, "\"-inf\""},
      {NAN, "\"nan\""},
  };
  for (const Case& c : cases) EXPECT_EQ(jsonFloat(c.value), c.text);
  // Nine digits give every float back exactly.
  for (uint32_t bits = 0x33000000; bits < 0x4B000000; bits += 0x1234F) {
    float v;
    std::memcpy(&v, &bits, sizeof v);
    ASSERT_EQ(std::strtof(jsonFloat(v).c_str(), nullptr), v) << jsonFloat(v);
    ASSERT_EQ(std::strtof(jsonFloat(-v).c_str(), nullptr), -v);
  }
}

using StillDescription = CompositionTest;

TEST_F(StillDescription, DescribesTheScreenAsGeneratedWithFiguresInCreationOrder) {
  AddGraphics(4);
  ResetScreen();
  buildScreenFromSeeds(context_, 1, 2, 3);
  const int32_t seeds[3] = {1, 2, 3};
  const std::string json = screenJson(&Scene(), seeds, 960, 960);
  EXPECT_EQ(json.rfind("{\"seeds\":[1,2,3],\"canvas\":[960,960],\"graphics\":4,", 0), 0u) << json.substr(0, 80);
  for (int v = 0; v < 10; ++v) EXPECT_NE(json.find("\"" + composition.formulas[v] + "\""), std::string::npos);
  EXPECT_NE(json.find("\"base_colour\":" + std::to_string(composition.baseColour) + ","), std::string::npos);
  EXPECT_NE(json.find("\"params\":{\"a\":" + jsonFloat(composition.a) + ",\"b\":"), std::string::npos);
  EXPECT_NE(json.find("\"zoom\":" + jsonFloat(composition.zoom)), std::string::npos);

  // One line per figure, in the order the scene made them.
  std::istringstream lines(json.substr(json.find("\"figures\":[")));
  std::string line;
  std::getline(lines, line);
  int count = 0;
  while (std::getline(lines, line) && line != "]}") {
    const SPIX_OBJECT* object = Scene().objectsById.ItemAt(count++);
    ASSERT_NE(object, nullptr);
    float x = 0, y = 0, rotation = 0, scale = 0;
    int g = -1;
    unsigned long tint = 0;
    ASSERT_EQ(std::sscanf(line.c_str(), "{\"x\":%g,\"y\":%g,\"g\":%d,\"rotation\":%g,\"scale\":%g,\"tint\":%lu}", &x,
                          &y, &g, &rotation, &scale, &tint),
              6)
        << line;
    EXPECT_EQ(x, object->x);
    EXPECT_EQ(y, object->y);
    EXPECT_EQ(Scene().GraphicsAt(g), object->graphics);
    EXPECT_EQ(rotation, object->rotation);
    EXPECT_EQ(scale, object->scale);
    EXPECT_EQ(tint, object->tint);
  }
  EXPECT_EQ(count, 1600);
  EXPECT_EQ(line, "]}");
}

#ifdef DRIFTGLOW_STILL

TEST_F(StillTool, BadArgumentsAndAMissingDataFolderEndWithCodeTwoAndOneLine) {
  const std::string cases[] = {"", "--seeds 1,2 --png a.png", "--seeds 1,2,3 --png a.png --size 5",
                               "--seeds 1,2,3 --json - --data " + (folder_ / "missing").string(),
                               "--seeds 1,2,3 --json - --data " + (folder_ / "pix").string()};
  for (const std::string& arguments : cases) {
    std::string errors;
    EXPECT_EQ(RunStill(arguments, nullptr, &errors), 2) << arguments;
    EXPECT_EQ(errors.rfind("driftglow-still: ", 0), 0u) << errors;
    EXPECT_EQ(std::count(errors.begin(), errors.end(), '\n'), 1) << errors;
  }
  std::string usage;
  EXPECT_EQ(RunStill("--help", &usage), 0);
  EXPECT_NE(usage.find("--seeds S,C,P"), std::string::npos);
}

TEST_F(StillTool, OpenGlThatCannotStartIsRefusedWhenAskedForAndPassedOverOnAuto) {
  // SDL's "dummy" video driver has no OpenGL.
  ::setenv("SDL_VIDEODRIVER", "dummy", 1);
  std::string errors;
  const int asked = RunStill("--seeds 1,2,3 --json - --renderer opengl" + Data(), nullptr, &errors);
  const int automatic = RunStill("--seeds 1,2,3 --json - --renderer auto" + Data());
  ::unsetenv("SDL_VIDEODRIVER");
  EXPECT_EQ(asked, 2);
  EXPECT_NE(errors.find("OpenGL"), std::string::npos) << errors;
  EXPECT_EQ(automatic, 0);
}

TEST_F(StillTool, EqualSeedsGiveIdenticalFiles) {
  const fs::path a = folder_ / "a", b = folder_ / "b";
  const std::string seeds = " --seeds 1,2,3 --frames 3" + Data();
  ASSERT_EQ(RunStill(seeds + " --png " + a.string() + ".png --json " + a.string() + ".json"), 0);
  ASSERT_EQ(RunStill(seeds + " --png " + b.string() + ".png --json " + b.string() + ".json"), 0);
  const std::string json = ReadFile(a.string() + ".json");
  EXPECT_EQ(json.rfind("{\"seeds\":[1,2,3],\"canvas\":[960,960],\"graphics\":3,", 0), 0u);
  EXPECT_EQ(std::count(json.begin(), json.end(), '\n'), 4 + 1600 + 1);
  EXPECT_EQ(json, ReadFile(b.string() + ".json"));
  const std::string png = ReadFile(a.string() + ".png");
  EXPECT_EQ(png.substr(1, 3), "PNG");
  EXPECT_EQ(png, ReadFile(b.string() + ".png"));

  // Standard output carries the same description; other seeds another one.
  std::string output;
  ASSERT_EQ(RunStill("--seeds 1,2,3 --json -" + Data(), &output), 0);
  EXPECT_EQ(output, json);
  ASSERT_EQ(RunStill("--seeds 1,2,4 --json -" + Data(), &output), 0);
  EXPECT_NE(output, json);
}

TEST_F(StillTool, AFailedWriteIsReportedWithCodeOneAndLeavesNoPartialFile) {
  {
    std::string errors;
    EXPECT_EQ(RunStill("--seeds 1,2,3 --json /dev/full" + Data(), nullptr, &errors), 1);
    EXPECT_NE(errors.find("can't write '/dev/full'"), std::string::npos) << errors;
  }
  {
    // A folder where the picture should go: the finished file cannot take its name.
    const fs::path taken = folder_ / "taken.png";
    fs::create_directory(taken);
    std::string errors;
    EXPECT_EQ(RunStill("--seeds 1,2,3 --png " + taken.string() + Data(), nullptr, &errors), 1);
    EXPECT_NE(errors.find("can't write '" + taken.string() + "'"), std::string::npos) << errors;
    fs::remove(taken);
  }
  ASSERT_EQ(RunStill("--seeds 1,2,3 --png " + (folder_ / "a.png").string() + Data()), 0);
  std::vector<std::string> names;
  for (const auto& entry : fs::directory_iterator(folder_)) names.push_back(entry.path().filename().string());
  std::sort(names.begin(), names.end());
  EXPECT_EQ(names, (std::vector<std::string>{"a.png", "pix"}));
}

TEST_F(StillTool, AnyCanvasSizeGivesAnImageOfThatSize) {
  const fs::path png = folder_ / "wide.png";
  std::string output;
  ASSERT_EQ(RunStill("--seeds 5,6,7 --size 320x200 --png " + png.string() + " --json -" + Data(), &output), 0);
  EXPECT_EQ(output.rfind("{\"seeds\":[5,6,7],\"canvas\":[320,200],", 0), 0u);
  const std::string bytes = ReadFile(png);
  ASSERT_GT(bytes.size(), 24u);
  auto bigEndian = [&bytes](size_t at) {
    return (static_cast<uint32_t>(static_cast<unsigned char>(bytes[at])) << 24) |
           (static_cast<uint32_t>(static_cast<unsigned char>(bytes[at + 1])) << 16) |
           (static_cast<uint32_t>(static_cast<unsigned char>(bytes[at + 2])) << 8) |
           static_cast<unsigned char>(bytes[at + 3]);
  };
  EXPECT_EQ(bigEndian(16), 320u);  // IHDR width
  EXPECT_EQ(bigEndian(20), 200u);  // IHDR height
  EXPECT_EQ(bytes[25], 2);         // RGB: an always-opaque alpha channel would only take room
  // What made the picture is in its text chunks, and the version in the description.
  for (const std::string& text : {"Seeds" + std::string(1, '\0') + "5,6,7", "Size" + std::string(1, '\0') + "320x200",
                                  "Frames" + std::string(1, '\0') + "1"})
    EXPECT_NE(bytes.find("tEXt" + text), std::string::npos) << text.substr(0, 6);
  EXPECT_NE(output.find(std::string("\"version\":\"") + driftglowVersion() + "\""), std::string::npos);
}

#endif

}  // namespace
