// Tests of hgeCreate and Release: versions, the factory and reference counting.
#include <gtest/gtest.h>

#include "engine/engine_factory.h"
#include "tests/support/recording_engine.h"

namespace {

int destroyed = 0;
class CountedEngine : public RecordingEngine {
 public:
  ~CountedEngine() override { ++destroyed; }
};

TEST(HgeCreate, SharesOneCountedInstanceAndDestroysItOnTheLastRelease) {
  destroyed = 0;
  hgeSetFactory([] { return std::make_unique<CountedEngine>(); });
  HGE* first = hgeCreate(kHgeVersion);
  HGE* second = hgeCreate(kHgeVersion);
  ASSERT_NE(first, nullptr);
  EXPECT_EQ(first, second);
  EXPECT_EQ(hgeReferenceCount(), 2);
  second->Release();
  EXPECT_EQ(destroyed, 0);
  first->Release();
  EXPECT_EQ(destroyed, 1);
  EXPECT_EQ(hgeReferenceCount(), 0);

  HGE* fresh = hgeCreate(kHgeVersion);
  EXPECT_NE(fresh, nullptr);
  fresh->Release();
  EXPECT_EQ(destroyed, 2);
  hgeSetFactory(nullptr);
}

TEST(HgeCreate, RefusesOtherVersionsAndWorksWithoutFactoryOnlyForABorrowedEngine) {
  hgeSetFactory(nullptr);
  EXPECT_EQ(hgeCreate(0x150), nullptr);
  EXPECT_EQ(hgeCreate(kHgeVersion), nullptr);
  {
    ScopedRecordingEngine engine;
    HGE* hge = hgeCreate(kHgeVersion);
    EXPECT_EQ(hge, &*engine);
    EXPECT_EQ(hgeCreate(0x150), nullptr);
    hge->Release();
    hge->Release();  // an extra release must not go negative or destroy the borrowed engine
    EXPECT_EQ(hgeReferenceCount(), 0);
  }
  EXPECT_EQ(hgeCreate(kHgeVersion), nullptr);
}

TEST(HgeCreate, LogFormatsOneBoundedLine) {
  ScopedRecordingEngine engine;
  HGE* hge = hgeCreate(kHgeVersion);
  hge->System_Log("font %s: line %d", "a.fnt", 7);
  std::string longText(5000, 'x');
  hge->System_Log("%s", longText.c_str());
  ASSERT_EQ(engine->logLines.size(), 2u);
  EXPECT_EQ(engine->logLines[0], "font a.fnt: line 7");
  EXPECT_EQ(engine->logLines[1].size(), 1023u);
  hge->Release();
}

}  // namespace
