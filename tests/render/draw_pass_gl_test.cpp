// The passes of one frame as the scene sees them: per-eye stereo with motion blur, hidden lines.
#include "../support/gl_test_window.h"

#include "display/group.h"
#include "relativity/observer.h"
#include "render/display_manager.h"
#include "gl/draw_pass.h"
#include "gl/render_state.h"

#include <gtest/gtest.h>

#include <vector>

namespace quillmere {
namespace {

// A node that notes the passes it is drawn and transformed in.
class PassLog : public DvGroup {
public:
  struct Drawn {
    int eye;
    RenderStyle passStyle;
    RenderStyle settingsStyle;
  };
  std::vector<Drawn> drawn;
  std::vector<int> transformedEyes;

  void render(const DvRenderState& state, const DrawPass& pass) override {
    drawn.push_back({pass.eye, pass.style, state.renderStyle});
  }
  void renderSoftware(const DvRenderState& state, const DrawPass& pass) override { render(state, pass); }
  void relativisticTransform(const RelObserver&, const DvRenderState&, const DrawPass& pass, FrameHolder&) override {
    transformedEyes.push_back(pass.eye);
  }
};

struct Frame {
  DvRenderState state;
  DvDisplayManager manager{state};
  RelObserver observer{0, 0, 0, 0, 0.5f, 0, 0, 1}; // at the origin, 0.5c along +z
  PassLog scene;

  Frame() {
    manager.setObserver(&observer);
    manager.setScene(&scene);
  }
};

TEST(DrawPass, PerEyeStereoDrawsEachEyeInEveryMotionBlurPass) {
  if (!test::openGLTestWindow()) GTEST_SKIP() << "no OpenGL context";
  Frame f;
  f.state.stereo = StereoMode::PerEye; // without stereo buffers drawn as an anaglyph, per eye still
  f.state.motionBlur = 1;
  f.state.motionSamples = 2;
  f.manager.advanceTime();
  EXPECT_EQ(f.scene.transformedEyes, (std::vector<int>{0, 1}));
  f.scene.transformedEyes.clear();

  f.manager.display();
  // Each eye replays both sub-frames, transforming both eyes each time and drawing its own.
  std::vector<int> eyes;
  for (const PassLog::Drawn& d : f.scene.drawn) eyes.push_back(d.eye);
  EXPECT_EQ(eyes, (std::vector<int>{0, 0, 1, 1}));
  EXPECT_EQ(f.scene.transformedEyes, (std::vector<int>{0, 1, 0, 1, 0, 1, 0, 1}));
  EXPECT_TRUE(f.state.stereo == StereoMode::PerEye);
}

TEST(DrawPass, HiddenLineDrawsFacesThenOutlineWithTheSettingsUnchanged) {
  if (!test::openGLTestWindow()) GTEST_SKIP() << "no OpenGL context";
  Frame f;
  f.state.renderStyle = RenderStyle::HiddenLine;
  f.manager.showObserverAsItStands();
  f.manager.display();
  ASSERT_EQ(f.scene.drawn.size(), 2u);
  EXPECT_TRUE(f.scene.drawn[0].passStyle == RenderStyle::HiddenLine);
  EXPECT_TRUE(f.scene.drawn[1].passStyle == RenderStyle::Outline);
  for (const PassLog::Drawn& d : f.scene.drawn) {
    EXPECT_TRUE(d.settingsStyle == RenderStyle::HiddenLine);
    EXPECT_EQ(d.eye, 0);
  }
  EXPECT_TRUE(f.state.renderStyle == RenderStyle::HiddenLine);
}

} // namespace
} // namespace quillmere
