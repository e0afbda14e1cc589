// Lighting vertices on the processor, as fixed-function GL lights them with the engine's light:
// one directional light of white diffuse and no specular, the scene's ambient level, the vertex
// colour standing for the material's ambient and diffuse colour, and normals normalised after
// the model-view matrix. For a GL whose lighting cannot take its material from the vertices
// (the browser's emulation of fixed-function GL).
#pragma once

#include <cstdint>

#include "quorvia/scene3d.h"

namespace qrv {

// The unit vector towards a light shining from `towards` (world space), in the eye space of
// the camera's model-view matrix; zero for a zero direction.
Vector3 LightInEyeSpace(const Matrix4& camera, Vector3 towards);

// Each vertex's lit colour, red, green, blue and alpha, into `rgba` (four floats a vertex).
// False when the list cannot hold them.
bool LightVertices(const MeshVertex* vertices, uint32_t count, const Matrix4& modelview,
                   Vector3 towardsEye, float ambient, GrowableList<float>& rgba);

}  // namespace qrv
