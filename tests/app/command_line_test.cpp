#include "app/command_line.h"
#include "render/display_manager.h"
#include "gl/render_state.h"
#include "scene/display_budget.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace quillmere {
namespace {

bool parse(std::vector<std::string> words, CommandLine& line, std::string& error) {
  std::vector<char*> argv{const_cast<char*>("quillmere")};
  for (std::string& word : words) argv.push_back(word.data());
  return parseCommandLine(int(argv.size()), argv.data(), line, error);
}

// The options the program tests run end to end (--frames, --record, --size,
// --style, --stereo, --antialias, --first-frame, --fps, --headless) are
// checked there by what they draw; here the rest, limits and refusals.
TEST(CommandLine, ReadsOptionsAndRefusesBadValuesByName) {
  CommandLine line;
  std::string error;
  ASSERT_TRUE(parse({"--frames", "3", "--motion-blur", "99", "--threads", "2", "--subdivide", "0.5", "--quality", "0",
                     "flight.par"},
                    line, error))
      << error;
  EXPECT_EQ(line.motionBlur, 99);
  EXPECT_EQ(line.path, "flight.par");
  EXPECT_EQ(line.threads, 2);
  EXPECT_EQ(line.subdivide, 0.5f);
  EXPECT_EQ(line.quality, 0);
  ASSERT_TRUE(parse({"--subdivide", "auto"}, line, error)) << error;
  EXPECT_EQ(line.subdivide, kAutomaticEdgeLength);

  struct Bad {
    std::vector<std::string> words;
    const char* message;
  } bad[] = {
      {{"--motion-blur", "100"}, "--motion-blur: bad value '100'"}, // the recorder holds 99
      {{"--frames"}, "--frames: needs a value"},
      {{"--frobnicate"}, "unknown option --frobnicate"}, // not "needs a value"
      {{"a.par", "b.par"}, "b.par: only one parameter file can be named"},
      {{"--benchmark"}, "--benchmark: needs --frames N"},
      {{"--first-frame", "0"}, "--first-frame: bad value '0'"}, // frames count from 1
      {{"--quality", "64"}, "--quality: bad value '64'"},       // VP9's scale ends at 63
  };
  for (Bad& b : bad) {
    CommandLine other;
    EXPECT_FALSE(parse(b.words, other, error));
    EXPECT_EQ(error, b.message);
  }
}

TEST(CommandLine, ColourModelOptionsReachThePipeline) {
  CommandLine line;
  std::string error;
  ASSERT_TRUE(parse({"--colour-model", "system", "--white-balance", "off", "--exposure", "-2.5", "--auto-exposure",
                     "--tone-map", "reinhard", "--uplift", "smooth"},
                    line, error))
      << error;
  ColourPipeline pipeline;
  DvRenderState state;
  state.colourPipeline = &pipeline;
  DvDisplayManager manager(state);
  applyRenderOptions(line, state, manager);
  EXPECT_EQ(pipeline.model, ColourModel::System);
  EXPECT_FALSE(pipeline.whiteBalance);
  EXPECT_EQ(pipeline.exposure.fixedEv, -2.5f);
  EXPECT_TRUE(pipeline.exposure.automatic);
  EXPECT_EQ(pipeline.toneMap, ToneMap::Reinhard);
  EXPECT_EQ(pipeline.uplift(), Uplift::Smooth);

  for (const auto& [words, message] : std::vector<std::pair<std::vector<std::string>, std::string>>{
           {{"--colour-model", "rgb"}, "--colour-model: bad value 'rgb'"},
           {{"--exposure", "100"}, "--exposure: bad value '100'"}}) {
    CommandLine other;
    EXPECT_FALSE(parse(words, other, error));
    EXPECT_EQ(error, message);
  }
}

// Every word of a setting's table is in --help, parses back to its own value
// and reaches the render state; a scene's own setting stays without the option.
TEST(CommandLine, EveryTableWordReachesTheRenderState) {
  const std::string help = commandLineHelp();
  auto check = [&](const char* option, const auto& names, auto field) {
    for (const auto& name : names) {
      SCOPED_TRACE(std::string(option) + " " + name.word);
      EXPECT_NE(help.find(name.word), std::string::npos);
      CommandLine line;
      std::string error;
      ASSERT_TRUE(parse({option, name.word}, line, error)) << error;
      DvRenderState state;
      DvDisplayManager manager(state);
      applyRenderOptions(line, state, manager);
      EXPECT_TRUE(state.*field == name.value);
    }
  };
  check("--style", kRenderStyleNames, &DvRenderState::renderStyle);
  check("--colour-shift", kColourShiftNames, &DvRenderState::colourShift);
  check("--transform", kTransformMethodNames, &DvRenderState::transformMethod);
  check("--stereo", kStereoModeNames, &DvRenderState::stereo);

  DvRenderState scene;
  scene.stereo = StereoMode::Anaglyph;
  scene.transformMethod = TransformMethod::Snapshot;
  DvDisplayManager manager(scene);
  applyRenderOptions(CommandLine{}, scene, manager);
  EXPECT_TRUE(scene.stereo == StereoMode::Anaglyph);
  EXPECT_TRUE(scene.transformMethod == TransformMethod::Snapshot);
}

} // namespace
} // namespace quillmere
