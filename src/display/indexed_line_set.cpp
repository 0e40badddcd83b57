#include "display/indexed_line_set.h"

#include "diagnostics/diagnostics.h"
#include "gl/draw_pass.h"
#include "gl/render_state.h"

#include <GL/gl.h>

#include <algorithm>

namespace quillmere {

namespace {

std::vector<DvVertex> pointVertices(const float (*points)[3], int pointCount) {
  std::vector<DvVertex> vertices(static_cast<std::size_t>(pointCount));
  for (int i = 0; i < pointCount; ++i) {
    vertices[std::size_t(i)].position = Vector3(points[i][0], points[i][1], points[i][2]);
    vertices[std::size_t(i)].normal = Vector3(0, 1, 0);
  }
  return vertices;
}

// Lines and points have no normals to light them by: a VRML browser draws
// them in their material's colour, diffuse plus emissive.
void sendUnlitColour(const Vector3& diffuse, const Vector3& emissive, float transparency) {
  const float rgba[4] = {std::min(1.0f, diffuse.x + emissive.x), std::min(1.0f, diffuse.y + emissive.y),
                         std::min(1.0f, diffuse.z + emissive.z), 1.0f - transparency};
  glColor4fv(rgba);
}

} // namespace

DvIndexedLineSet::DvIndexedLineSet(const float (*points)[3], int pointCount, const std::int32_t* coordIndex,
                                   long coordIndexCount)
    : DvVertexSet(pointVertices(points, pointCount), std::vector<int>(coordIndex, coordIndex + coordIndexCount)) {
  for (int& index : indices_)
    if (index != -1 && (index < 0 || index >= pointCount)) {
      index = -1;
      ++verticesLeftOut_;
    }
  if (verticesLeftOut_ > 0)
    printWarning("IndexedLineSet: %ld vertices left out, their indices are outside the %d points\n",
                 verticesLeftOut_, pointCount);
}

long DvIndexedLineSet::lineVertexCount() const {
  long count = 0;
  for (int index : indices_) count += index >= 0;
  return count;
}

void DvIndexedLineSet::relativisticTransform(const RelObserver& observer, const DvRenderState& state, const DrawPass& pass,
                                             FrameHolder& frameHolder) {
  transformVertices(observer, state, pass, frameHolder, false);
}

void DvIndexedLineSet::sendVertex(const DvVertex* array, int index, const Vector3* colours,
                                  const VertexMaterial* materials) const {
  if (colours) glColor3fv(&colours[index].x);
  if (materials) {
    const VertexMaterial& m = materials[index];
    sendUnlitColour(m.diffuse, m.emissive, m.transparency);
  }
  glVertex3fv(&array[index].position.x);
}

// A separator ends the strip and starts the next.
void DvIndexedLineSet::drawStrips(const DvVertex* array, const Vector3* colours,
                                  const VertexMaterial* materials) const {
  if (drawsPoints_) {
    float savedSize = 1.0f;
    glGetFloatv(GL_POINT_SIZE, &savedSize);
    glPointSize(3.0f);
    glBegin(GL_POINTS);
    for (int index : indices_) {
      if (index >= 0) sendVertex(array, index, colours, materials);
    }
    glEnd();
    glPointSize(savedSize);
    return;
  }
  glBegin(GL_LINE_STRIP);
  for (int index : indices_) {
    if (index < 0) {
      glEnd();
      glBegin(GL_LINE_STRIP);
      continue;
    }
    sendVertex(array, index, colours, materials);
  }
  glEnd();
}

void DvIndexedLineSet::render(const DvRenderState& state, const DrawPass& pass) {
  const DvVertex* array = eyeArray(state, pass);
  if (glGetError() != GL_NO_ERROR) printWarning("Error before vertex\n");
  if (DvMaterial* own = ownMaterial()) own->render(state, pass);
  glDisable(GL_TEXTURE_2D);
  if (pass.style >= RenderStyle::Textured && pass.style <= RenderStyle::Outline) {
    float savedWidth = 1.0f;
    glGetFloatv(GL_LINE_WIDTH, &savedWidth);
    glLineWidth(2.0f);
    const GLboolean lit = glIsEnabled(GL_LIGHTING);
    const DvMaterial* shapeMaterial = material();
    if (lit) glDisable(GL_LIGHTING);
    if (shapeMaterial && pass.style <= RenderStyle::Untextured)
      sendUnlitColour(shapeMaterial->diffuseColour(), shapeMaterial->emissiveColour(),
                      shapeMaterial->transparency());
    // A line has no area: its brightness factor for the searchlight-only
    // OpenGL path is 1, i.e. the material as it is.
    drawStrips(array, nullptr, vertexMaterials_.empty() || !shapeMaterial ? nullptr : vertexMaterials_.data());
    if (lit) glEnable(GL_LIGHTING);
    glLineWidth(savedWidth);
  }
  if (glGetError() != GL_NO_ERROR) printWarning("Error after vertex\n");
}

void DvIndexedLineSet::renderSoftware(const DvRenderState& state, const DrawPass& pass) {
  const DvVertex* array = eyeArray(state, pass);
  if (glGetError() != GL_NO_ERROR) printWarning("Error before vertex\n");
  switch (pass.style) {
  case RenderStyle::Textured:
  case RenderStyle::Untextured:
    glDisable(GL_TEXTURE_2D);
    computeSpectralColours(state, array);
    drawStrips(array, spectralColours().data());
    break;
  case RenderStyle::Wireframe:
  case RenderStyle::HiddenLine:
  case RenderStyle::Outline:
    drawStrips(array, nullptr);
    break;
  default:
    printFatal("DvIndexedLineSet::renderSoftware(): Unknown display mode\n");
  }
  if (glGetError() != GL_NO_ERROR) printWarning("Error after vertex\n");
}

} // namespace quillmere
