#include "display/indexed_face_set.h"

#include "diagnostics/diagnostics.h"
#include "mesh/face_triangulation.h"
#include "mesh/subdivision.h"
#include "gl/draw_pass.h"
#include "gl/render_state.h"

#include <GL/gl.h>
#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <utility>

namespace quillmere {

namespace {

std::vector<DvVertex> sourceVertices(const FaceSetSource& source) {
  std::vector<DvVertex> vertices(std::size_t(source.pointCount));
  for (int i = 0; i < source.pointCount; ++i) {
    DvVertex& v = vertices[std::size_t(i)];
    v.position = Vector3(source.points[i][0], source.points[i][1], source.points[i][2]);
    int n = source.overallNormal ? 0 : i;
    v.normal = n < source.normalCount ? Vector3(source.normals[n][0], source.normals[n][1], source.normals[n][2])
                                      : Vector3(0, 0, 1);
  }
  return vertices;
}

float determinant3(const Matrix4& m) {
  return m(0, 0) * (m(1, 1) * m(2, 2) - m(1, 2) * m(2, 1)) - m(0, 1) * (m(1, 0) * m(2, 2) - m(1, 2) * m(2, 0)) +
         m(0, 2) * (m(1, 0) * m(2, 1) - m(1, 1) * m(2, 0));
}

float triangleAreaOf(const Vector3& p0, const Vector3& p1, const Vector3& p2) {
  return 0.5f * cross(p1 - p0, p2 - p0).length();
}

} // namespace

DvIndexedFaceSet::DvIndexedFaceSet(const FaceSetSource& source)
    : DvVertexSet(sourceVertices(source), {}), lastTransformed_(nullptr) {
  FaceTriangulation faces = triangulateFaces(source.coordIndex, source.coordIndexCount, source.pointCount,
                                            source.convexFaces ? nullptr : source.points);
  indices_ = std::move(faces.triangles);
  facesLeftOut_ = faces.facesLeftOut;
  if (facesLeftOut_ > 0)
    printWarning("IndexedFaceSet: %ld faces left out, their vertex indices are outside the %d points\n",
                 facesLeftOut_, source.pointCount);

  if (source.texCoords && source.texCoordCount == source.pointCount) {
    hasTextureCoordinates_ = 1;
    for (int i = 0; i < source.pointCount; ++i) {
      vertices_[std::size_t(i)].texCoord[0] = source.texCoords[i][0];
      vertices_[std::size_t(i)].texCoord[1] = source.texCoords[i][1];
    }
  } else if (source.texCoords) {
    printWarning("#Texture Coordinates != #Coordinate\n");
    std::fprintf(stderr, "#Texture coordinates: %d\n#Coordinates: %d\n", source.texCoordCount, source.pointCount);
  }

  prepareTriangles();
}

DvIndexedFaceSet::DvIndexedFaceSet(FaceSetMesh mesh)
    : DvVertexSet(std::move(mesh.vertices), std::move(mesh.triangles)), lastTransformed_(nullptr) {
  hasTextureCoordinates_ = mesh.textured ? 1 : 0;
  facesLeftOut_ = mesh.facesLeftOut;
  prepareTriangles();
}

void DvIndexedFaceSet::prepareTriangles() {
  areas_.resize(std::size_t(triangleCount()));
  for (long t = 0; t < triangleCount(); ++t) {
    const int* corner = &indices_[std::size_t(3 * t)];
    areas_[std::size_t(t)] =
        triangleAreaOf(vertices_[std::size_t(corner[0])].position, vertices_[std::size_t(corner[1])].position,
                       vertices_[std::size_t(corner[2])].position);
  }
  areaRatios_.assign(vertices_.size(), 1.0f);
  areaCounts_.assign(vertices_.size(), 0);
  resetTransformedVertices();
}

bool DvIndexedFaceSet::subdivide(float maxEdgeLength, std::size_t maxVertices) {
  std::vector<std::array<int, 2>> madeBetween;
  bool complete = subdivideTriangles(vertices_, indices_, areas_, maxEdgeLength, maxVertices,
                                     vertexMaterials_.empty() ? nullptr : &madeBetween);
  for (const std::array<int, 2>& ends : madeBetween)
    vertexMaterials_.push_back(
        midpointOf(vertexMaterials_[std::size_t(ends[0])], vertexMaterials_[std::size_t(ends[1])]));
  areaRatios_.assign(vertices_.size(), 1.0f);
  areaCounts_.assign(vertices_.size(), 0);
  doppler_.assign(vertices_.size(), 1.0f);
  resetTransformedVertices();
  return complete;
}

void DvIndexedFaceSet::setTransformation(const Matrix4& modelling) {
  // Normals are covectors: they follow the inverse transpose, so they stay
  // perpendicular to the surface under non-uniform scaling.
  Matrix4 normalMatrix = modelling;
  normalMatrix.invert();
  normalMatrix.transpose();
  // A mirroring transform turns the winding round: turn the triangles back,
  // so that the sides culling and lighting take stay where the file put them.
  if (determinant3(modelling) < 0.0f)
    for (std::size_t k = 0; k + 2 < indices_.size(); k += 3) std::swap(indices_[k + 1], indices_[k + 2]);
  for (DvVertex& v : vertices_) {
    v.position = modelling.transformPoint(v.position);
    Vector3 n = v.normal;
    Vector3 carried(normalMatrix(0, 0) * n.x + normalMatrix(0, 1) * n.y + normalMatrix(0, 2) * n.z,
                    normalMatrix(1, 0) * n.x + normalMatrix(1, 1) * n.y + normalMatrix(1, 2) * n.z,
                    normalMatrix(2, 0) * n.x + normalMatrix(2, 1) * n.y + normalMatrix(2, 2) * n.z);
    // A singular modelling matrix (a zero scale) has no inverse: keep the normal.
    float length = carried.length();
    if (std::isfinite(length) && length > 0.0f) v.normal = (1.0f / length) * carried;
  }
  sourceChanged();
}

void DvIndexedFaceSet::windTowardsNormals() {
  for (std::size_t k = 0; k + 2 < indices_.size(); k += 3) {
    const DvVertex& a = vertices_[std::size_t(indices_[k])];
    const DvVertex& b = vertices_[std::size_t(indices_[k + 1])];
    const DvVertex& c = vertices_[std::size_t(indices_[k + 2])];
    const Vector3 winding = cross(b.position - a.position, c.position - a.position);
    if (dot(winding, a.normal + b.normal + c.normal) < 0.0f) std::swap(indices_[k + 1], indices_[k + 2]);
  }
}

void DvIndexedFaceSet::setTextureTransformation(const Matrix4& texture) {
  for (DvVertex& v : vertices_) {
    Vector4 st(v.texCoord[0], v.texCoord[1], v.texCoord[2], v.texCoord[3]);
    texture.transform4(st);
    v.texCoord[0] = st.x;
    v.texCoord[1] = st.y;
    v.texCoord[2] = st.z;
    v.texCoord[3] = st.t;
  }
}

void DvIndexedFaceSet::relativisticTransform(const RelObserver& observer, const DvRenderState& state, const DrawPass& pass,
                                             FrameHolder& frameHolder) {
  lastTransformed_ = transformVertices(observer, state, pass, frameHolder, state.transformNormals != 0);
  if (state.colourShift == ColourShift::Searchlight) computeAreaRatios();
}

void DvIndexedFaceSet::computeAreaRatios() {
  const DvVertex* array = lastTransformed_ ? lastTransformed_ : transformed_.data();
  std::fill(areaRatios_.begin(), areaRatios_.end(), 0.0f);
  std::fill(areaCounts_.begin(), areaCounts_.end(), 0);
  for (long t = 0; t < triangleCount(); ++t) {
    const int* corner = &indices_[std::size_t(3 * t)];
    float apparent = triangleAreaOf(array[corner[0]].position, array[corner[1]].position, array[corner[2]].position);
    float ratio = areas_[std::size_t(t)] / apparent;
    if (!(apparent > 0.0f) || !std::isfinite(ratio)) continue;
    for (int c = 0; c < 3; ++c) {
      areaRatios_[std::size_t(corner[c])] += ratio;
      ++areaCounts_[std::size_t(corner[c])];
    }
  }
  for (std::size_t i = 0; i < areaRatios_.size(); ++i)
    areaRatios_[i] = areaCounts_[i] > 0 ? areaRatios_[i] / float(areaCounts_[i]) : 1.0f;
}

void DvIndexedFaceSet::drawEdges(const DvVertex* array, const VertexMaterial* materials) const {
  for (std::size_t k = 0; k + 2 < indices_.size(); k += 3) {
    glBegin(GL_LINE_LOOP);
    for (std::size_t c = 0; c < 3; ++c) {
      const int index = indices_[k + c];
      if (materials) glColor4fv(&materials[index].diffuse.x);
      glVertex3fv(&array[index].position.x);
    }
    glEnd();
  }
}

void DvIndexedFaceSet::drawBareTriangles(const DvVertex* array) const {
  glBegin(GL_TRIANGLES);
  for (int index : indices_) glVertex3fv(&array[index].position.x);
  glEnd();
}

// The triangles in one call from the vertex arrays: the same vertices, in
// the same order, as one glVertex per index would send.
void DvIndexedFaceSet::drawTriangleArrays(const DvVertex* array, bool normals, bool textured,
                                          const Vector3* colours, const VertexMaterial* materials) const {
  if (indices_.empty()) return;
  const GLsizei stride = sizeof(DvVertex);
  glEnableClientState(GL_VERTEX_ARRAY);
  glVertexPointer(3, GL_FLOAT, stride, &array[0].position.x);
  if (normals) {
    glEnableClientState(GL_NORMAL_ARRAY);
    glNormalPointer(GL_FLOAT, stride, &array[0].normal.x);
  }
  if (textured) {
    glEnableClientState(GL_TEXTURE_COORD_ARRAY);
    glTexCoordPointer(2, GL_FLOAT, stride, array[0].texCoord);
  }
  if (colours) {
    glEnableClientState(GL_COLOR_ARRAY);
    glColorPointer(3, GL_FLOAT, sizeof(Vector3), &colours[0].x);
  }
  if (materials) {
    // The diffuse colour and transparency lie side by side: one RGBA per vertex.
    glColorMaterial(GL_FRONT_AND_BACK, GL_DIFFUSE);
    glEnable(GL_COLOR_MATERIAL);
    glEnableClientState(GL_COLOR_ARRAY);
    glColorPointer(4, GL_FLOAT, sizeof(VertexMaterial), &materials[0].diffuse.x);
  }
  glDrawElements(GL_TRIANGLES, GLsizei(indices_.size()), GL_UNSIGNED_INT, indices_.data());
  if (materials) glDisable(GL_COLOR_MATERIAL);
  glDisableClientState(GL_VERTEX_ARRAY);
  glDisableClientState(GL_NORMAL_ARRAY);
  glDisableClientState(GL_TEXTURE_COORD_ARRAY);
  glDisableClientState(GL_COLOR_ARRAY);
}

void DvIndexedFaceSet::drawTrianglesPerVertex(const DvVertex* array, bool textured, bool scaled) const {
  const DvMaterial* shapeMaterial = material();
  const VertexMaterial* materials = vertexMaterials_.empty() || !shapeMaterial ? nullptr : vertexMaterials_.data();
  glBegin(GL_TRIANGLES);
  for (int index : indices_) {
    const DvVertex& v = array[index];
    const float factor = scaled ? areaRatios_[std::size_t(index)] : 1.0f;
    if (materials)
      shapeMaterial->renderVertex(materials[index], factor);
    else if (scaled)
      shapeMaterial->renderScaled(factor);
    if (textured) glTexCoord2f(v.texCoord[0], v.texCoord[1]);
    glNormal3fv(&v.normal.x);
    glVertex3fv(&v.position.x);
  }
  glEnd();
}

bool DvIndexedFaceSet::drawUnlitStyle(RenderStyle style, const DvVertex* array, const VertexMaterial* materials) const {
  switch (style) {
  case RenderStyle::Wireframe:
  case RenderStyle::Outline:
    drawEdges(array, materials);
    return true;
  case RenderStyle::HiddenLine:
    drawBareTriangles(array);
    return true;
  default:
    return false;
  }
}

void DvIndexedFaceSet::render(const DvRenderState& state, const DrawPass& pass) {
  const DvVertex* array = eyeArray(state, pass);
  if (glGetError() != GL_NO_ERROR) printWarning("Error before vertex\n");
  if (DvMaterial* own = ownMaterial()) own->render(state, pass);
  beginTwoSided(state);

  switch (pass.style) {
  case RenderStyle::Textured:
  case RenderStyle::Untextured: {
    // The texture of the set's scope is bound before it; an untextured set
    // before it may have switched texturing off.
    const bool textured = pass.style == RenderStyle::Textured && hasTextureCoordinates_;
    if (textured)
      glEnable(GL_TEXTURE_2D);
    else
      glDisable(GL_TEXTURE_2D);
    const bool scaled = state.colourShift == ColourShift::Searchlight && material();
    const bool perVertex = !vertexMaterials_.empty() && material();
    if (perVertex && anyVertexTransparent_) glEnable(GL_BLEND);
    // The colour material carries one colour per vertex in the arrays; any
    // other material that changes per vertex goes one vertex at a time.
    const bool colourMaterial =
        perVertex && materialsDifferInDiffuseOnly_ && !material()->isIgnored(DvMaterial::Diffuse);
    if (state.vertexArrays && !scaled && (!perVertex || colourMaterial)) {
      drawTriangleArrays(array, true, textured, nullptr, perVertex ? vertexMaterials_.data() : nullptr);
      break;
    }
    drawTrianglesPerVertex(array, textured, scaled);
    break;
  }
  default: // the unlit styles; any other draws nothing
    drawUnlitStyle(pass.style, array, vertexMaterials_.empty() ? nullptr : vertexMaterials_.data());
  }
  endTwoSided(state);
  if (glGetError() != GL_NO_ERROR) printWarning("Error after vertex\n");
}

void DvIndexedFaceSet::renderSoftware(const DvRenderState& state, const DrawPass& pass) {
  const DvVertex* array = eyeArray(state, pass);
  if (glGetError() != GL_NO_ERROR) printWarning("Error before vertex\n");
  beginTwoSided(state);

  switch (pass.style) {
  case RenderStyle::Textured:
  case RenderStyle::Untextured: {
    // One colour per vertex for this eye, then emitted at every index that uses it.
    computeSpectralColours(state, array);
    const bool textured = pass.style == RenderStyle::Textured && hasTextureCoordinates_;
    if (textured)
      glEnable(GL_TEXTURE_2D);
    else
      glDisable(GL_TEXTURE_2D);
    const std::vector<Vector3>& colours = spectralColours();
    if (state.vertexArrays) {
      drawTriangleArrays(array, false, textured, colours.data());
      break;
    }
    glBegin(GL_TRIANGLES);
    for (int index : indices_) {
      const DvVertex& v = array[index];
      glColor3fv(&colours[std::size_t(index)].x);
      if (textured) glTexCoord2f(v.texCoord[0], v.texCoord[1]);
      glVertex3fv(&v.position.x);
    }
    glEnd();
    break;
  }
  default:
    if (!drawUnlitStyle(pass.style, array))
      printFatal("DvIndexedFaceSet::renderSoftware(): Unknown display mode\n");
  }
  endTwoSided(state);
  if (glGetError() != GL_NO_ERROR) printWarning("Error after vertex\n");
}

} // namespace quillmere
