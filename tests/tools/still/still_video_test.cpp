// driftglow-still --video: a short clip of each container read back with
// FFmpeg's own demuxer, bad video requests, and files that can't be written
// leaving nothing behind.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "tests/tools/still/still_tool_fixture.h"
#include "tools/common/binary_file.h"
#include "tools/pack/zip_writer.h"
#include "tools/tonepack/tone_track.h"

extern "C" {
#include <libavformat/avformat.h>
}

#ifdef DRIFTGLOW_STILL

namespace {

struct ClipFacts {
  std::string video;  // codec names as FFmpeg gives them
  std::string audio;
  int width = 0;
  int height = 0;
  AVRational frameRate{0, 1};
  int videoFrames = 0;
  double audioSeconds = 0;
  std::string title;  // the container's title tag
};

// What the demuxer finds in the file; false when it can't read it.
bool ReadClip(const fs::path& path, ClipFacts& facts) {
  av_log_set_level(AV_LOG_ERROR);
  AVFormatContext* input = nullptr;
  if (avformat_open_input(&input, path.c_str(), nullptr, nullptr) < 0) return false;
  bool ok = avformat_find_stream_info(input, nullptr) >= 0;
  if (const AVDictionaryEntry* title = av_dict_get(input->metadata, "title", nullptr, 0)) facts.title = title->value;
  for (unsigned i = 0; ok && i < input->nb_streams; ++i) {
    const AVStream* stream = input->streams[i];
    const AVCodecParameters* codec = stream->codecpar;
    if (codec->codec_type == AVMEDIA_TYPE_VIDEO) {
      facts.video = avcodec_get_name(codec->codec_id);
      facts.width = codec->width;
      facts.height = codec->height;
      facts.frameRate = stream->r_frame_rate;
    } else if (codec->codec_type == AVMEDIA_TYPE_AUDIO) {
      facts.audio = avcodec_get_name(codec->codec_id);
    }
  }
  AVPacket* packet = av_packet_alloc();
  while (ok && av_read_frame(input, packet) >= 0) {
    const AVStream* stream = input->streams[packet->stream_index];
    if (stream->codecpar->codec_type == AVMEDIA_TYPE_VIDEO) ++facts.videoFrames;
    if (stream->codecpar->codec_type == AVMEDIA_TYPE_AUDIO && packet->pts != AV_NOPTS_VALUE) {
      facts.audioSeconds =
          std::max(facts.audioSeconds, static_cast<double>(packet->pts + packet->duration) * av_q2d(stream->time_base));
    }
    av_packet_unref(packet);
  }
  av_packet_free(&packet);
  avformat_close_input(&input);
  return ok;
}

class StillVideoTool : public StillTool {
 protected:
  void SetUp() override {
    StillTool::SetUp();
    // Tones in place of the viewer's music; longer than any clip here.
    const std::vector<pack::ZipEntry> tracks = {{"sound/MoonGarden.mp3", EncodeToneMp3({440.0, 2.0, 0.3, 44100, 64})},
                                                {"sound/Kalliope.mp3", EncodeToneMp3({660.0, 2.0, 0.3, 44100, 64})}};
    std::vector<uint8_t> archive;
    std::string error;
    ASSERT_TRUE(pack::BuildZip(tracks, archive, error)) << error;
    ASSERT_TRUE(tools::WriteBinaryFile((folder_ / "Sound.paq").string(), archive));
  }

  // The names in the folder starting with prefix: outputs and leftovers.
  std::vector<std::string> Files(const std::string& prefix) const {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder_)) {
      const std::string name = entry.path().filename().string();
      if (name.rfind(prefix, 0) == 0) names.push_back(name);
    }
    return names;
  }
};

TEST_F(StillVideoTool, EveryContainerHoldsEachFrameAndTheSound) {
  struct Case {
    const char* file;
    const char* track;
    const char* video;
    const char* audio;
  };
  const Case cases[] = {{"clip.webm", "", "av1", "opus"},
                        {"clip.mkv", " Kalliope", "av1", "opus"},
                        {"clip.mp4", " moongarden.mp3", "h264", "aac"}};
  for (const Case& c : cases) {
    const fs::path clip = folder_ / c.file;
    std::string errors;
    ASSERT_EQ(RunStill("--seeds 1,2,3 --size 128x96 --frames 12 --video " + clip.string() + " --audio" + c.track +
                           " --png " + (folder_ / "last.png").string() + Data(),
                       nullptr, &errors),
              0)
        << errors;
    // Not a terminal: no progress, one summary line.
    EXPECT_EQ(std::count(errors.begin(), errors.end(), '\n'), 1) << errors;
    EXPECT_NE(errors.find("12 frames"), std::string::npos) << errors;

    ClipFacts facts;
    ASSERT_TRUE(ReadClip(clip, facts)) << c.file;
    EXPECT_EQ(facts.video, c.video) << c.file;
    EXPECT_EQ(facts.width, 128);
    EXPECT_EQ(facts.height, 96);
    EXPECT_EQ(av_cmp_q(facts.frameRate, AVRational{50, 1}), 0) << facts.frameRate.num << "/" << facts.frameRate.den;
    EXPECT_EQ(facts.videoFrames, 12) << c.file;
    EXPECT_EQ(facts.audio, c.audio) << c.file;
    EXPECT_EQ(facts.title, "Driftglow 1,2,3") << c.file << ": the seeds travel with the clip";
    EXPECT_NEAR(facts.audioSeconds, 12 / 50.0, 0.03) << c.file << ": the sound is cut at the last frame";
    EXPECT_EQ(ReadFile(folder_ / "last.png").substr(1, 3), "PNG") << "the picture is still written";
  }
  EXPECT_EQ(Files("clip").size(), 3u) << "no temporary files left";
}

TEST_F(StillVideoTool, UnknownTracksAndMissingPacksEndWithCodeTwoBeforeAnyFile) {
  const fs::path clip = folder_ / "clip.webm";
  const std::string video = "--seeds 1,2,3 --size 128x96 --frames 3 --video " + clip.string() + Data();
  std::string errors;
  EXPECT_EQ(RunStill(video + " --audio Mercury", nullptr, &errors), 2) << "a name of the viewer's, not in this pack";
  EXPECT_NE(errors.find("Mercury"), std::string::npos) << errors;
  EXPECT_EQ(RunStill(video + " --audio ../Sound.paq", nullptr, &errors), 2);
  EXPECT_NE(errors.find("MoonGarden, Kalliope or Mercury"), std::string::npos) << errors;
  EXPECT_EQ(std::count(errors.begin(), errors.end(), '\n'), 1) << errors;
  fs::remove(folder_ / "Sound.paq");
  EXPECT_EQ(RunStill(video + " --audio", nullptr, &errors), 2);
  EXPECT_NE(errors.find("Sound.paq"), std::string::npos) << errors;
  EXPECT_TRUE(Files("clip").empty());
}

TEST_F(StillVideoTool, AnUnwritablePathOrAFullDiskFailsAndLeavesNothingBehind) {
  std::string errors;
  const fs::path missing = folder_ / "missing" / "clip.mp4";
  EXPECT_EQ(RunStill("--seeds 1,2,3 --size 128x96 --frames 3 --video " + missing.string() + Data(), nullptr, &errors),
            1);
  EXPECT_NE(errors.find("can't write '" + missing.string() + "'"), std::string::npos) << errors;
  EXPECT_EQ(std::count(errors.begin(), errors.end(), '\n'), 1) << errors;
  const fs::path folder = folder_ / "folder.webm";
  fs::create_directory(folder);
  EXPECT_EQ(RunStill("--seeds 1,2,3 --size 128x96 --frames 3 --video " + folder.string() + Data(), nullptr, &errors),
            1);
  EXPECT_NE(errors.find("Is a directory"), std::string::npos) << errors;
  EXPECT_TRUE(fs::is_empty(folder));

  // A file size limit stands in for a full disk: writes past it fail (the
  // signal that would end the tool instead is ignored by the shell).
  for (const char* name : {"clip.mp4", "clip.webm"}) {
    const fs::path clip = folder_ / name;
    EXPECT_EQ(RunStill("--seeds 1,2,3 --size 256x256 --frames 25 --audio --video " + clip.string() + Data(), nullptr,
                       &errors, "trap '' XFSZ; ulimit -f 16; "),
              1)
        << name;
    EXPECT_NE(errors.find("File too large"), std::string::npos) << errors;
    EXPECT_EQ(std::count(errors.begin(), errors.end(), '\n'), 1) << errors;
  }
  EXPECT_TRUE(Files("clip").empty());
  EXPECT_FALSE(fs::exists(folder_ / "missing"));
}

}  // namespace

#endif
