#include "../support/converted_scene.h"

#include "../relativity/expect_vector.h"
#include "display/indexed_face_set.h"
#include "display/material.h"
#include "mesh/primitive_meshes.h"

#include <cmath>

namespace quillmere::test {
namespace {

constexpr double kPi = 3.14159265358979323846;

// Every triangle is wound counter-clockwise seen from the side its corners'
// normals point to, and no normal is degenerate.
void expectOutwardWinding(const DvIndexedFaceSet& faces) {
  const DvVertex* v = faces.vertices();
  for (long t = 0; t < faces.triangleCount(); ++t) {
    const int* c = faces.indices() + 3 * t;
    Vector3 geometric = cross(v[c[1]].position - v[c[0]].position, v[c[2]].position - v[c[0]].position);
    Vector3 normals = v[c[0]].normal + v[c[1]].normal + v[c[2]].normal;
    ASSERT_GT(dot(geometric, normals), 0) << "triangle " << t;
  }
  for (int i = 0; i < faces.vertexCount(); ++i) ASSERT_NEAR(v[i].normal.length(), 1, 1e-5f) << "vertex " << i;
}

double totalArea(const DvIndexedFaceSet& faces) {
  double area = 0;
  for (long t = 0; t < faces.triangleCount(); ++t) area += faces.triangleArea(t);
  return area;
}

// The area of a regular n-gon inscribed in a circle of radius r, and its perimeter.
double polygonArea(double r, int n) { return 0.5 * n * r * r * std::sin(2 * kPi / n); }
double polygonPerimeter(double r, int n) { return 2 * n * r * std::sin(kPi / n); }

TEST(PrimitiveMeshes, CubeFacesPointOutwardsAndCoverItsSurface) {
  const float w = 2, h = 3, d = 4;
  PrimitiveMesh mesh = cubeMesh(w, h, d);
  DvIndexedFaceSet faces(mesh.source());
  EXPECT_EQ(faces.triangleCount(), 6 * 2 * kCubeFaceDivisions * kCubeFaceDivisions);
  EXPECT_NEAR(totalArea(faces), 2 * (w * h + w * d + h * d), 1e-3);
  expectOutwardWinding(faces);
  // Each normal is an axis, and its vertex lies on the face across that axis.
  const float half[3] = {w / 2, h / 2, d / 2};
  for (int i = 0; i < faces.vertexCount(); ++i) {
    const DvVertex& v = faces.vertices()[i];
    int axis = std::fabs(v.normal.x) == 1 ? 0 : (std::fabs(v.normal.y) == 1 ? 1 : 2);
    ASSERT_EQ(std::fabs(v.normal[axis]), 1) << "vertex " << i;
    EXPECT_FLOAT_EQ(dot(v.position, v.normal), half[axis]) << "vertex " << i;
  }
}

TEST(PrimitiveMeshes, SphereVerticesLieOnItsRadiusWithRadialNormals) {
  const float r = 2.5f;
  PrimitiveMesh mesh = sphereMesh(r);
  DvIndexedFaceSet faces(mesh.source());
  EXPECT_EQ(faces.triangleCount(), 2 * kRoundSlices * (kSphereStacks - 1));
  expectOutwardWinding(faces);
  for (int i = 0; i < faces.vertexCount(); ++i) {
    const DvVertex& v = faces.vertices()[i];
    ASSERT_NEAR(v.position.length(), r, 1e-5f) << "vertex " << i;
    expectVector(v.normal, (1 / r) * v.position, 1e-5f);
    // t rises with the height: y = -r cos(pi t).
    EXPECT_NEAR(v.position.y, -r * std::cos(kPi * v.texCoord[1]), 1e-5f);
    // s runs from the back counter-clockwise seen from above: -z, -x, +z, +x.
    if (std::fabs(v.normal.y) < 0.99f) {
      double phi = 2 * kPi * v.texCoord[0];
      double along = std::hypot(v.position.x, v.position.z);
      EXPECT_NEAR(v.position.x, -along * std::sin(phi), 1e-4f);
      EXPECT_NEAR(v.position.z, -along * std::cos(phi), 1e-4f);
    }
  }
}

TEST(PrimitiveMeshes, CylinderPartsBuildOnlyWhatTheyName) {
  const float r = 1.5f, h = 4;
  DvIndexedFaceSet side(cylinderMesh(r, h, true, false, false).source());
  EXPECT_EQ(side.triangleCount(), 2 * kRoundSlices * kSideRings);
  expectOutwardWinding(side);
  for (int i = 0; i < side.vertexCount(); ++i) {
    const DvVertex& v = side.vertices()[i];
    ASSERT_EQ(v.normal.y, 0) << "vertex " << i; // no cap
    ASSERT_NEAR(std::hypot(v.position.x, v.position.z), r, 1e-5f);
    ASSERT_NEAR(v.position.y, h * (v.texCoord[1] - 0.5f), 1e-5f);
  }
  EXPECT_NEAR(totalArea(side), polygonPerimeter(r, kRoundSlices) * h, 1e-3);

  DvIndexedFaceSet all(cylinderMesh(r, h, true, true, true).source());
  expectOutwardWinding(all);
  EXPECT_NEAR(totalArea(all), totalArea(side) + 2 * polygonArea(r, kRoundSlices), 1e-3);
}

TEST(PrimitiveMeshes, ConeSideNormalsLeanByItsSlope) {
  const float r = 1, h = 3;
  DvIndexedFaceSet side(coneMesh(r, h, true, false).source());
  EXPECT_EQ(side.triangleCount(), kRoundSlices * (2 * kSideRings - 1));
  expectOutwardWinding(side);
  // The side's normal is perpendicular to the slope from the rim (r, -h/2) to the apex (0, h/2): cos = r / √(r² + h²).
  const float cosine = r / std::sqrt(r * r + h * h);
  for (int i = 0; i < side.vertexCount(); ++i) {
    const DvVertex& v = side.vertices()[i];
    ASSERT_NEAR(v.normal.y, cosine, 1e-5f) << "vertex " << i;
    ASSERT_NEAR(std::hypot(v.position.x, v.position.z), r * (0.5f - v.position.y / h), 1e-5f);
    // Horizontally the normal points away from the axis (at the apex, along its slice).
    if (v.position.y < h / 2) {
      ASSERT_GT(v.normal.x * v.position.x + v.normal.z * v.position.z, 0);
    }
  }
  // The side's area is that of the cone's slanted surface, cut into slices.
  double slant = std::sqrt(double(h) * h + std::pow(r * std::cos(kPi / kRoundSlices), 2));
  EXPECT_NEAR(totalArea(side), 0.5 * polygonPerimeter(r, kRoundSlices) * slant, 1e-3);

  DvIndexedFaceSet bottom(coneMesh(r, h, false, true).source());
  expectOutwardWinding(bottom);
  EXPECT_NEAR(totalArea(bottom), polygonArea(r, kRoundSlices), 1e-4);
  for (int i = 0; i < bottom.vertexCount(); ++i) expectVector(bottom.vertices()[i].normal, {0, -1, 0});
}

TEST(PrimitiveConversion, TransformAndMaterialsInForceApply) {
  ConvertedScene scene = convert("Separator { Transform { translation 0 5 0 scaleFactor 2 2 2 } "
                                 "Material { diffuseColor 1 0 0 } RELmaterialRGB { diffuseColor 0 1 0 } "
                                 "Sphere { radius 1.5 } }");
  ASSERT_TRUE(scene.result.ok);
  const DvIndexedFaceSet& sphere = faceSetAt(scene);
  ASSERT_GT(sphere.vertexCount(), 0);
  for (int i = 0; i < sphere.vertexCount(); ++i) {
    const DvVertex& v = sphere.vertices()[i];
    Vector3 fromCentre = v.position - Vector3(0, 5, 0);
    ASSERT_NEAR(fromCentre.length(), 3, 1e-4f);
    expectVector(v.normal, (1 / 3.0f) * fromCentre, 1e-4f);
  }
  EXPECT_FALSE(sphere.hasTextureCoordinates()); // no Texture2 in force
  ASSERT_NE(sphere.material(), nullptr);
  expectVector(sphere.material()->diffuseColour(), {1, 0, 0});
  EXPECT_NE(sphere.relMaterial(), nullptr);
  EXPECT_EQ(scene.result.summary.materials, 1);

  // A primitive is textured only where a Texture2 is in force for it: the
  // cube inside the texture's Separator, not the cone after it.
  ConvertedScene textured = convert("Separator { Separator { Texture2 { image 1 1 1 0xFF } Cube { } } Cone { } }");
  EXPECT_TRUE(faceSetAt(textured, kFirstConverted + 1).hasTextureCoordinates()); // the cube
  EXPECT_FALSE(faceSetAt(textured, kFirstConverted + 2).hasTextureCoordinates()); // the cone
}

TEST(PrimitiveMeshes, MaterialsPerPartGoToTheirFaces) {
  // One colour per cube face, front (+z), back, left (−x), right, top (+y),
  // bottom; the cylinder's parts sides, top, bottom, with two colours given.
  const std::string colours = "Material { diffuseColor [0 0 1, 0 0 0.5, 0.5 0 0, 1 0 0, 0 1 0, 0 0.5 0] } ";
  ConvertedScene cube = convert("Separator { " + colours + "MaterialBinding { value PER_FACE } Cube { } }");
  const DvIndexedFaceSet& faces = faceSetAt(cube);
  ASSERT_EQ(faces.vertexMaterials().size(), std::size_t(faces.vertexCount()));
  for (int i = 0; i < faces.vertexCount(); ++i) {
    const Vector3& n = faces.vertices()[i].normal;
    // The colour that names the direction: +z blue, −z half blue, −x half red, +x red, +y green, −y half green.
    const Vector3 expected = n.z > 0.5f ? Vector3(0, 0, 1) : n.z < -0.5f ? Vector3(0, 0, 0.5f)
                           : n.x < -0.5f ? Vector3(0.5f, 0, 0) : n.x > 0.5f ? Vector3(1, 0, 0)
                           : n.y > 0.5f ? Vector3(0, 1, 0) : Vector3(0, 0.5f, 0);
    expectVector(faces.vertexMaterials()[std::size_t(i)].diffuse, expected);
  }

  ConvertedScene cylinder = convert("Separator { Material { diffuseColor [1 0 0, 0 1 0] } "
                                    "MaterialBinding { value PER_PART } Cylinder { } }");
  EXPECT_NE(cylinder.output.find("Cylinder: 1 of its 3 parts have no material among the 2 given"), std::string::npos)
      << cylinder.output;
  const DvIndexedFaceSet& parts = faceSetAt(cylinder);
  for (int i = 0; i < parts.vertexCount(); ++i) {
    const float ny = parts.vertices()[i].normal.y;
    expectVector(parts.vertexMaterials()[std::size_t(i)].diffuse, ny > 0.5f ? Vector3(0, 1, 0) : Vector3(1, 0, 0));
  }
}

} // namespace
} // namespace quillmere::test
