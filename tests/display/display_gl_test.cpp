// Draws small converted scenes into a real OpenGL context and looks at the pixels.
#include "display_gl_fixture.h"

#include "colour/planck_spectrum.h"

#include <algorithm>
#include <cmath>
#include <fstream>
#include <memory>
#include <sstream>

namespace quillmere::test {
namespace {

TEST_F(DisplayGL, VertexAppearsWhereAberrationPutsIt) {
  // A small triangle 45° off the axis; the observer flies along +z at 0.9c.
  const Vector3 corners[3] = {{4.5f, -0.5f, 5}, {5.5f, -0.5f, 5}, {5, 0.5f, 5}};
  ConvertedScene scene = convert("Separator { Coordinate3 { point [4.5 -0.5 5, 5.5 -0.5 5, 5 0.5 5] } "
                                 "Normal { vector [0 0 -1, 0 0 -1, 0 0 -1] } IndexedFaceSet { coordIndex [0, 1, 2] } }");
  const float beta = 0.9f;
  RelObserver observer = observerAlongZ(beta);
  DvRenderState state;
  state.renderStyle = RenderStyle::Untextured;
  Frame frame = draw(*scene.root, observer, state);
  frame.saveForInspection("aberration");

  // Light left each corner along n = P/|P|; the observer sees it along
  // n'_z = (n_z + β)/(1 + β n_z), n'_⊥ = n_⊥/(γ(1 + β n_z)).
  const float gamma = 1.0f / std::sqrt(1.0f - beta * beta);
  float expectedX = 0, expectedY = 0;
  for (const Vector3& p : corners) {
    Vector3 n = p.normalized();
    float shrink = 1.0f / (gamma * (1.0f + beta * n.z));
    Vector3 seen(n.x * shrink, n.y * shrink, (n.z + beta) / (1.0f + beta * n.z));
    float x, y;
    project(observer, seen, x, y);
    expectedX += x / 3;
    expectedY += y / 3;
  }
  float drawnX = 0, drawnY = 0;
  ASSERT_TRUE(frame.centroidOfDrawn(kBlack, drawnX, drawnY));
  EXPECT_NEAR(drawnX, expectedX, 1.5f);
  EXPECT_NEAR(drawnY, expectedY, 1.5f);
  // Without relativity the same corner would stand at x_ndc = ±1, the frame's edge.
  EXPECT_GT(std::abs(expectedX - kGLTestSize / 2), 10.0f);
  EXPECT_LT(std::abs(expectedX - kGLTestSize / 2), 40.0f);
}

TEST_F(DisplayGL, PerFaceColoursLandOnTheirFaces) {
  // Two squares at z = 5 with generated normals; looking along +z, world +x
  // is on the left: the left square takes material 2 (blue), the right 0 (red).
  ConvertedScene scene = convert("Separator { Material { diffuseColor [1 0 0, 0 1 0, 0 0 1] } "
                                 "MaterialBinding { value PER_FACE_INDEXED } "
                                 "Coordinate3 { point [2 -2 5, 0 -2 5, 0 2 5, 2 2 5, -2 -2 5, -2 2 5] } "
                                 "IndexedFaceSet { coordIndex [0, 1, 2, 3, -1, 1, 4, 5, 2, -1] materialIndex [2, 0] } }");
  SunLights lights;
  struct Way {
    const char* name;
    int vertexArrays, spectral;
  };
  for (const Way& way : {Way{"colour material", 1, 0}, Way{"per vertex", 0, 0}, Way{"spectral", 1, 1}}) {
    DvRenderState state;
    state.vertexArrays = way.vertexArrays;
    state.softwareShading = way.spectral;
    lights.attach(state);
    Frame frame = draw(*scene.root, observerAlongZ(0), state, way.spectral != 0);
    frame.saveForInspection(std::string("per_face_colours_") + (way.vertexArrays ? "arrays" : "calls") +
                            (way.spectral ? "_spectral" : ""));
    const Pixel left = frame.at(70, 100), right = frame.at(130, 100);
    EXPECT_GT(left.b, 150) << way.name;
    EXPECT_LT(left.r + left.g, 40) << way.name;
    EXPECT_GT(right.r, 150) << way.name;
    EXPECT_LT(right.g + right.b, 40) << way.name;
  }
}

TEST_F(DisplayGL, BacksShowWhereTheFileLeavesTheWindingOpen) {
  // A square wound clockwise as the observer sees it: its back faces the
  // observer, with back faces culled as the program draws.
  cullBackFaces_ = true;
  const std::string square = "Coordinate3 { point [-2 -2 5, 2 -2 5, 2 2 5, -2 2 5] } ";
  const std::string faces = "IndexedFaceSet { coordIndex [0, 1, 2, 3, -1] } ";
  const std::string backNormals = "Normal { vector [0 0 1, 0 0 1, 0 0 1, 0 0 1] } ";
  SunLights lights;
  struct Case {
    const char* name;
    std::string scene;
    bool shows;
  };
  const Case cases[] = {
      // No ShapeHints and no normals: the exporter said nothing of the winding.
      {"no hints, no normals", square + faces, true},
      {"not solid", "ShapeHints { vertexOrdering COUNTERCLOCKWISE } " + square + faces, true},
      {"solid, unknown ordering", "ShapeHints { shapeType SOLID } " + square + faces, true},
      {"solid and counter-clockwise", "ShapeHints { shapeType SOLID vertexOrdering COUNTERCLOCKWISE } " + square + faces,
       false},
      // Normals given and no ShapeHints: both sides show, as a VRML browser draws them.
      {"normals, no hints", square + backNormals + faces, true},
  };
  for (const Case& c : cases) {
    ConvertedScene scene = convert("Separator { Material { diffuseColor 1 1 1 } " + c.scene + "}");
    for (int spectral : {0, 1}) {
      DvRenderState state;
      state.softwareShading = spectral;
      lights.attach(state);
      Frame frame = draw(*scene.root, observerAlongZ(0), state, spectral != 0);
      const Pixel centre = frame.at(100, 100);
      if (c.shows) // lit on the side the observer sees, by the light from the eye
        EXPECT_GT(centre.r + centre.g + centre.b, 300) << c.name << (spectral ? ", spectral" : "");
      else
        EXPECT_EQ(centre.r + centre.g + centre.b, 0) << c.name << (spectral ? ", spectral" : "");
    }
  }
}

// The example scenes as files, without their header line (convert adds it).
std::string exampleBody(const std::string& name) {
  std::ifstream file(std::string(QUILLMERE_EXAMPLES) + "/" + name);
  std::stringstream text;
  text << file.rdbuf();
  std::string body = text.str();
  return body.substr(body.find('\n') + 1);
}

TEST_F(DisplayGL, VertexArraysDrawTheSamePixelsAsOneCallPerVertex) {
  PlanckSpectrum sunlight(1.0f, 5762.0f);
  SpectralLight light = directionalLight(&sunlight, {0.3f, 0.4f, -1});
  for (const char* name : {"lattice.wrl", "planck.wrl"}) {
    ConvertedScene scene = convert(exampleBody(name));
    ASSERT_TRUE(scene.result.ok) << name;
    RelObserver observer(2, 2, 6, 0, 0.9f, 0.1f, 0, 1); // inside the lattice, between the spheres
    for (int spectral : {0, 1}) {
      DvRenderState state;
      state.softwareShading = spectral;
      state.colourShift = spectral ? ColourShift::DopplerAndSearchlight : ColourShift::None;
      state.setSpectralLight(1, &light);
      state.vertexArrays = 1;
      Frame arrays = draw(*scene.root, observer, state, spectral);
      state.vertexArrays = 0;
      Frame calls = draw(*scene.root, observer, state, spectral);
      arrays.saveForInspection(std::string("arrays_") + name + (spectral ? "_spectral" : ""));
      int worst = 0, lit = 0;
      for (int y = 0; y < kGLTestSize; ++y)
        for (int x = 0; x < kGLTestSize; ++x) {
          Pixel a = arrays.at(x, y), b = calls.at(x, y);
          worst = std::max({worst, std::abs(a.r - b.r), std::abs(a.g - b.g), std::abs(a.b - b.b)});
          lit += a.r + a.g + a.b > 0;
        }
      EXPECT_LE(worst, 1) << name << (spectral ? " spectral" : " OpenGL");
      EXPECT_GT(lit, 100) << name; // something was drawn
    }
  }
}

// A quadrilateral facing the observer at z = 5, from x0 to x1 and y −1 to 1.
std::string facingQuad(float x0, float x1) {
  const std::string a = std::to_string(x0), b = std::to_string(x1);
  return "Coordinate3 { point [" + a + " -1 5, " + b + " -1 5, " + b + " 1 5, " + a + " 1 5] } " + kFacingNormals +
         "IndexedFaceSet { coordIndex [0, 1, 2, 3, -1] } ";
}

// One white directional light of intensity 1; `towardsLight` in eye coordinates.
void addLight(DvRenderState& state, const Vector3& towardsLight) {
  auto light = std::make_unique<DvGLLight>();
  light->setDirection(towardsLight.x, towardsLight.y, towardsLight.z);
  state.setGLLight(0, std::move(light));
}

TEST_F(DisplayGL, LightsAddNoAmbientAndShapesWithoutMaterialAreDefaultGrey) {
  // Lit along the normal: emissive + 0.2·ambient + diffuse·cos θ per channel;
  // outside the Separator VRML's default material: 0.2·0.2 + 0.8 = 0.84.
  programLights_ = true;
  DvRenderState state;
  addLight(state, {0, 0, 1});
  ConvertedScene scene = convert("Separator { Material { diffuseColor 0.5 0.1 0.1 } " + facingQuad(-3, -1) + "} " +
                                 facingQuad(1, 3));
  Frame frame = draw(*scene.root, observerAlongZ(0), state);
  frame.saveForInspection("vrml_lighting");
  // Seen along +z with +y up, world −x lies to the right.
  const Pixel red = frame.at(140, 100), grey = frame.at(60, 100);
  EXPECT_NEAR(red.r, 255 * 0.54, 3);
  EXPECT_NEAR(red.g, 255 * 0.14, 3);
  EXPECT_NEAR(red.b, 255 * 0.14, 3);
  EXPECT_NEAR(grey.r, 255 * 0.84, 3);
  EXPECT_NEAR(grey.g, 255 * 0.84, 3);
  EXPECT_NEAR(grey.b, 255 * 0.84, 3);

  // Shininess 1 is the exponent 128: the half-way vector 18° off gives cos¹²⁸ 18° ≈ 0.0016,
  // no highlight; the ambient 0.04 remains.
  addLight(state, {0, 0.6f, 0.8f});
  ConvertedScene shiny =
      convert("Separator { Material { diffuseColor 0 0 0 specularColor 1 1 1 shininess 1 } " + facingQuad(-1, 1) + "}");
  const Pixel dull = draw(*shiny.root, observerAlongZ(0), state).at(100, 100);
  EXPECT_NEAR(dull.r, 255 * 0.04, 3);
  EXPECT_NEAR(dull.b, 255 * 0.04, 3);
}

TEST_F(DisplayGL, LinesShowTheirMaterialsColourUnlit) {
  // Lighting is on and the light grazes the lines; they still show diffuse
  // plus emissive: (0, 0, 1) + (0.5, 0, 0).
  programLights_ = true;
  DvRenderState state;
  addLight(state, {0, 1, 0});
  ConvertedScene scene = convert("Separator { Material { diffuseColor 0 0 1 emissiveColor 0.5 0 0 } "
                                 "Coordinate3 { point [-2 -0.05 5, 2 -0.05 5, -2 0.05 5, 2 0.05 5] } "
                                 "IndexedLineSet { coordIndex [0, 1, -1, 2, 3, -1] } }");
  Frame frame = draw(*scene.root, observerAlongZ(0), state);
  frame.saveForInspection("unlit_lines");
  Pixel line = frame.at(100, 99);
  if (line.b == 0) line = frame.at(100, 100);
  EXPECT_NEAR(line.r, 128, 3);
  EXPECT_EQ(line.g, 0);
  EXPECT_NEAR(line.b, 255, 3);
}

TEST_F(DisplayGL, TextureStaysInsideItsSeparator) {
  // A red texture on the left quad; the right quad has texture coordinates
  // of its own but no Texture2 in scope: untextured, default grey.
  const std::string texCoords = "TextureCoordinate2 { point [0 0, 1 0, 1 1, 0 1] } ";
  ConvertedScene scene = convert("Separator { Texture2 { image 1 1 3 0xff0000 } " + texCoords +
                                 facingQuad(-3, -1) + "} " + texCoords + facingQuad(1, 3));
  DvRenderState state;
  state.buildMipmaps = 0;
  scene.root->compileTexture(state);
  Frame frame = draw(*scene.root, observerAlongZ(0), state);
  frame.saveForInspection("texture_scope");
  const Pixel textured = frame.at(140, 100), plain = frame.at(60, 100); // world −x on the right
  EXPECT_GT(textured.r, 150);
  EXPECT_LT(textured.g, 10);
  EXPECT_GT(plain.g, 150);
  EXPECT_NEAR(plain.r, plain.g, 2);
  EXPECT_NEAR(plain.b, plain.g, 2);
}

TEST_F(DisplayGL, CieColourModelShowsWhiteAsDisplayWhite) {
  // cie: white (1, 1, 1) and pure colours facing the first light head-on at
  // rest come out as written, within 1/255 (clip leaves values ≤ 1 alone).
  SunLights lights;
  ColourPipeline cie;
  cie.toneMap = ToneMap::Clip;
  cie.setReferenceLight(&lights.sunlight, 1.0f);
  ConvertedScene scene = convert("Separator { Material { diffuseColor [1 1 1, 0 0 1, 1 0 0] } "
                                 "MaterialBinding { value PER_FACE_INDEXED } "
                                 "Coordinate3 { point [2 -2 5, 0 -2 5, 0 2 5, 2 2 5, -2 -2 5, -2 2 5] } " +
                                 std::string("Normal { vector [0 0 -1] } NormalBinding { value OVERALL } ") +
                                 "IndexedFaceSet { coordIndex [0, 1, 2, 3, -1, 1, 4, 5, 2, -1] materialIndex [0, 1] } }");
  ConvertedScene whole = convert("Separator { Material { diffuseColor 1 1 1 } " + facingQuad(-2, 2) + "}");
  DvRenderState state;
  state.softwareShading = 1;
  state.colourPipeline = &cie;
  lights.attach(state);
  Frame white = draw(*whole.root, observerAlongZ(0), state, true);
  white.saveForInspection("cie_white");
  const Pixel w = white.at(100, 100);
  EXPECT_GE(std::min({w.r, w.g, w.b}), 254);
  Frame faces = draw(*scene.root, observerAlongZ(0), state, true);
  faces.saveForInspection("cie_per_face");
  const Pixel left = faces.at(70, 100), right = faces.at(130, 100);
  EXPECT_GE(std::min({left.r, left.g, left.b}), 254);  // white
  EXPECT_GE(right.b, 254);                             // blue
  EXPECT_LE(std::max(right.r, right.g), 1);

  // A RELmaterialRGB's bands are aimed through the cie conversion too.
  ConvertedScene bands = convert("Separator { RELmaterialRGB { diffuseColor 0.2 0.6 1 } " + facingQuad(-2, 2) + "}");
  const Pixel b = draw(*bands.root, observerAlongZ(0), state, true).at(100, 100);
  EXPECT_NEAR(b.r, 51, 1);
  EXPECT_NEAR(b.g, 153, 1);
  EXPECT_NEAR(b.b, 255, 1);
}

} // namespace
} // namespace quillmere::test
