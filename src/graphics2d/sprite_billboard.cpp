// A sprite standing in the 3D scene and facing the camera: a quad along the camera's right
// and up vectors, read from the model-view matrix the scene has in force.
#include <GL/gl.h>
#include <GL/glext.h>

#include "graphics2d/opengl_device.h"

namespace qrv {

void OpenGLZozezezi::DrawSpriteBillboard(int32_t id, float x, float y, float z, float scale) {
  if (!IsSpriteId(id) || sprites[size_t(id)].width <= 0) return;
  const SpriteRecord& s = sprites[size_t(id)];
  GLfloat m[16];
  glGetFloatv(GL_MODELVIEW_MATRIX, m);
  const float hw = float(s.width >> 2) * scale, hh = float(s.height >> 1) * scale;
  const float r[3] = {m[0] * hw, m[4] * hw, m[8] * hw}, u[3] = {m[1] * hh, m[5] * hh, m[9] * hh};
  const float s1 = (float(s.width) - 0.5f) / float(s.texWidth);
  const float t1 = (float(s.height) - 0.5f) / float(s.texHeight);
  // A, B on the ground line either side of the point, C and D above them.
  auto corner = [&](float across, float up, float sc, float tc) {
    return TextVertex{x + across * r[0] + up * u[0], y + across * r[1] + up * u[1],
                      z + across * r[2] + up * u[2], sc, tc};
  };
  textVertices.resize(4);
  textVertices[0] = corner(-1, 0, 0, 0);
  textVertices[1] = corner(1, 0, s1, 0);
  textVertices[2] = corner(1, 1, s1, t1);
  textVertices[3] = corner(-1, 1, 0, t1);
  Bind(id);
  ApplyFilters();
  SetWrap(GL_CLAMP_TO_EDGE);
  HandOverArrays();
  DrawTextVertices(textVertices, GL_TRIANGLE_FAN);
}

}  // namespace qrv
