// The graphics device the benchmarks draw on: a real window and GL context, made once.
#pragma once

#include "frame/runtime.h"
#include "graphics2d/opengl_device.h"
#include "platform/window_host.h"

namespace qrv::bench {

// The process's device, 640 x 480; null when there is no display.
inline OpenGLZozezezi* BenchDevice() {
  static OpenGLZozezezi* device = [] {
    if (!platform::InitVideo()) return static_cast<OpenGLZozezezi*>(nullptr);
    auto* d = new OpenGLZozezezi();
    if (!d->CreateWindowAndContext(640, 480, 0, 60, 0)) return static_cast<OpenGLZozezezi*>(nullptr);
    d->ShowWindowed();
    TheRuntime().device = d;
    return d;
  }();
  return device;
}

}  // namespace qrv::bench
