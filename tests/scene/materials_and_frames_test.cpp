#include "../support/converted_scene.h"

#include "../relativity/expect_vector.h"
#include "display/indexed_face_set.h"
#include "display/material.h"

#include <vector>

namespace quillmere::test {
namespace {

const std::string kShape = pointsAndNormals("0 0 0, 1 0 0, 0 1 0", 3) + "IndexedFaceSet { coordIndex [0, 1, 2] } ";

TEST(DvMaterial, TakesTheFirstValueOfEachFieldTheFileSet) {
  ConvertedScene scene = convert("Separator { Material { diffuseColor [1 0 0, 0 1 0] shininess 0.5 "
                                 "transparency 0.3 ~ } " + kShape + "}");
  const DvMaterial* material = faceSetAt(scene).material();
  ASSERT_NE(material, nullptr);
  expectVector(material->diffuseColour(), {1, 0, 0});
  EXPECT_FALSE(material->isIgnored(DvMaterial::Diffuse));
  // Fields left at their default are applied with the default value.
  expectVector(material->ambientColour(), {0.2f, 0.2f, 0.2f});
  EXPECT_FALSE(material->isIgnored(DvMaterial::Ambient));
  EXPECT_FLOAT_EQ(material->shininess(), 0.5f);
  EXPECT_TRUE(material->isIgnored(DvMaterial::Transparency));
  EXPECT_FLOAT_EQ(material->transparency(), 0.3f);
}

// Each triangle corner's diffuse colour in triangle order; (−1, −1, −1) without vertex materials.
std::vector<Vector3> cornerColours(const DvIndexedFaceSet& faces) {
  std::vector<Vector3> colours;
  for (long k = 0; k < faces.indexCount(); ++k) {
    const int vertex = faces.indices()[k];
    colours.push_back(faces.vertexMaterials().empty() ? Vector3(-1, -1, -1)
                                                      : faces.vertexMaterials()[std::size_t(vertex)].diffuse);
  }
  return colours;
}

TEST(VertexMaterials, EveryBindingHandsTheRightMaterialToEachCorner) {
  // A quadrilateral and a triangle that share the edge 1–2, no normals.
  const std::string points = "Coordinate3 { point [0 0 0, 1 0 0, 1 1 0, 0 1 0, 2 0 0] } ";
  const std::string faces = "coordIndex [0, 1, 2, 3, -1, 1, 4, 2, -1] ";
  const std::string colours = "Material { diffuseColor [1 0 0, 0 1 0, 0 0 1] ambientColor 0.1 0.2 0.3 } ";
  const Vector3 red(1, 0, 0), green(0, 1, 0), blue(0, 0, 1);
  struct Case {
    const char* binding;
    std::string extra;
    std::vector<Vector3> expected; // per triangle corner: quad (0 1 2, 0 2 3), then triangle (1 4 2)
  };
  const Case cases[] = {
      {"PER_FACE", "", {red, red, red, red, red, red, green, green, green}},
      {"PER_PART", "", {red, red, red, red, red, red, green, green, green}},
      {"PER_FACE_INDEXED", "materialIndex [2, 0]", {blue, blue, blue, blue, blue, blue, red, red, red}},
      // Corners in list order get materials 0 1 2, and the first where the list has no more.
      {"PER_VERTEX", "", {red, green, blue, red, blue, red, red, red, red}},
      {"PER_VERTEX_INDEXED", "materialIndex [2, 2, 1, 0, -1, 0, 1, 0, -1]",
       {blue, blue, green, blue, green, red, red, green, red}},
      // Without a materialIndex the coordinate indices name the materials.
      {"PER_VERTEX_INDEXED", "", {red, green, blue, red, blue, red, green, red, blue}},
  };
  for (const Case& c : cases) {
    ConvertedScene scene = convert("Separator { " + colours + "MaterialBinding { value " + c.binding + " } " + points +
                                   "IndexedFaceSet { " + faces + c.extra + " } }");
    const DvIndexedFaceSet& shape = faceSetAt(scene);
    const std::vector<Vector3> got = cornerColours(shape);
    ASSERT_EQ(got.size(), c.expected.size()) << c.binding;
    for (std::size_t k = 0; k < got.size(); ++k)
      EXPECT_TRUE(got[k] == c.expected[k]) << c.binding << " " << c.extra << ", corner " << k;
    // A field with one value stands for every material.
    expectVector(shape.vertexMaterials().front().ambient, {0.1f, 0.2f, 0.3f});
  }

  // PER_VERTEX: list corners 3 to 6 lack a material (one triangle corner in the quad, three in
  // the triangle); points 1 and 2 differ between quad and triangle: 5 points, 7 vertices.
  ConvertedScene perVertex = convert("Separator { " + colours + "MaterialBinding { value PER_VERTEX } " + points +
                                     "IndexedFaceSet { " + faces + "} }");
  EXPECT_NE(perVertex.output.find("4 of 9 triangle corners have no material among the 3 given"), std::string::npos)
      << perVertex.output;
  EXPECT_EQ(faceSetAt(perVertex).vertexCount(), 7);
}

TEST(RelativisticMaterial, EveryKindBecomesASpectralMaterial) {
  // Sampled: n values spread evenly over 380..780 nm, linear between them.
  ConvertedScene sampled = convert("Separator { RELmaterialSampled { diffuse [1, 3] ambient [0.5] } " + kShape + "}");
  const RelMaterial* record = faceSetAt(sampled).relMaterial();
  ASSERT_NE(record, nullptr);
  EXPECT_NEAR(record->diffuseSpectrum->evaluate(580.0f), 2.0f, 1e-5f);
  EXPECT_NEAR(record->diffuseSpectrum->evaluate(380.0f), 1.0f, 1e-5f);
  EXPECT_NEAR(record->ambientSpectrum->evaluate(700.0f), 0.5f, 1e-6f);
  EXPECT_EQ(record->diffuseFactor, 1.0f);

  // Planck: the diffuse spectrum peaks at Wien's wavelength with the value 0.01.
  ConvertedScene planck = convert("Separator { RELmaterialPlanck { temperature 5000 strength 2 } " + kShape + "}");
  record = faceSetAt(planck).relMaterial();
  ASSERT_NE(record, nullptr);
  EXPECT_NEAR(record->diffuseSpectrum->evaluate(2897756.0f / 5000.0f), 0.01f, 1e-6f);
  EXPECT_EQ(record->diffuseFactor, 2.0f);
  EXPECT_EQ(record->ambientFactor, 0.0f);

  // Constant: 0.01 everywhere with the node's factors.
  ConvertedScene constant = convert("Separator { RELmaterialConstant { ambient 0.1 diffuse 0.7 } " + kShape + "}");
  record = faceSetAt(constant).relMaterial();
  ASSERT_NE(record, nullptr);
  EXPECT_FLOAT_EQ(record->diffuseSpectrum->evaluate(500.0f), 0.01f);
  EXPECT_FLOAT_EQ(record->ambientFactor, 0.1f);
  EXPECT_FLOAT_EQ(record->diffuseFactor, 0.7f);

  // RGB: three calibrated spectra, so a red target is strongest near 700 nm.
  ConvertedScene rgb = convert("Separator { RELmaterialRGB { diffuseColor 1 0 0 } " + kShape + "}");
  record = faceSetAt(rgb).relMaterial();
  ASSERT_NE(record, nullptr);
  EXPECT_GT(record->diffuseSpectrum->evaluate(700.0f), 10 * std::abs(record->diffuseSpectrum->evaluate(450.0f)));
}

} // namespace
} // namespace quillmere::test
