// 2D graphics on the OpenGLZozezezi device: image files, the sprite store, drawing,
// fonts and text, off-screen surfaces and shaders.
#pragma once

#include <cstdint>

#include "quorvia/rt_string.h"

namespace qrv {}  // namespace qrv
