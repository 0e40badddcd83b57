#include "app/window/placeholder.h"

#include <GL/gl.h>

namespace quillmere {

void drawPlaceholderCube() {
  glClearColor(0, 0, 0, 0);
  glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
  const float ambient[4] = {0.1f, 0.1f, 0.1f, 0.1f}, diffuse[4] = {0.7f, 0.7f, 0.7f, 0.7f};
  const float specular[4] = {0, 0, 0, 0.1f}, position[4] = {5, 5, 5, 0};
  glLightfv(GL_LIGHT0, GL_AMBIENT, ambient);
  glLightfv(GL_LIGHT0, GL_DIFFUSE, diffuse);
  glLightfv(GL_LIGHT0, GL_SPECULAR, specular);
  glLightfv(GL_LIGHT0, GL_POSITION, position);
  glEnable(GL_LIGHT0);
  glEnable(GL_LIGHTING);
  glEnable(GL_DEPTH_TEST);
  glPushMatrix();
  glTranslatef(0, 0, -8);
  // +x red, −x green, the other four blue (ambient colours).
  struct Face {
    float normal[3];
    float corners[4][3];
    float colour[4];
  };
  const Face faces[6] = {
      {{1, 0, 0}, {{1, -1, -1}, {1, 1, -1}, {1, 1, 1}, {1, -1, 1}}, {1, 0, 0, 1}},
      {{-1, 0, 0}, {{-1, -1, 1}, {-1, 1, 1}, {-1, 1, -1}, {-1, -1, -1}}, {0, 1, 0, 1}},
      {{0, 1, 0}, {{-1, 1, -1}, {-1, 1, 1}, {1, 1, 1}, {1, 1, -1}}, {0, 0, 1, 1}},
      {{0, -1, 0}, {{-1, -1, -1}, {1, -1, -1}, {1, -1, 1}, {-1, -1, 1}}, {0, 0, 1, 1}},
      {{0, 0, 1}, {{-1, -1, 1}, {1, -1, 1}, {1, 1, 1}, {-1, 1, 1}}, {0, 0, 1, 1}},
      {{0, 0, -1}, {{-1, -1, -1}, {-1, 1, -1}, {1, 1, -1}, {1, -1, -1}}, {0, 0, 1, 1}},
  };
  for (const Face& face : faces) {
    glMaterialfv(GL_FRONT_AND_BACK, GL_AMBIENT, face.colour);
    glBegin(GL_POLYGON);
    glNormal3fv(face.normal);
    for (const auto& corner : face.corners) glVertex3fv(corner);
    glEnd();
  }
  glPopMatrix();
  glFlush();
}

} // namespace quillmere
