// A real graphics device with its window on the virtual display, shared by the tests of
// one program, and pixel-by-pixel read-back of its back buffer.
#pragma once

#include <GL/gl.h>
#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "frame/runtime.h"
#include "graphics2d/opengl_device.h"
#include "platform/window_host.h"
#include "quorvia/graphics2d.h"

namespace qrv::test {

constexpr int32_t kScreenW = 96;
constexpr int32_t kScreenH = 64;

class DeviceTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    if (TheRuntime().device != nullptr) return;
    ASSERT_TRUE(platform::InitVideo());
    auto* device = new OpenGLZozezezi();
    ASSERT_TRUE(device->CreateWindowAndContext(kScreenW, kScreenH, 0, 60, 0));
    device->ShowWindowed();
    TheRuntime().device = device;
  }

  void SetUp() override {
    ASSERT_NE(TheRuntime().device, nullptr);
    Device().SetDefault2DState(0, 0, 0, 0);
    Device().SetTransparentColour(kDefaultTransparentColour);
    ClearScreen(0);
  }

  static OpenGLZozezezi& Device() { return *TheRuntime().device; }

  // The colour value (red | green << 8 | blue << 16) at screen pixel (x, y).
  static uint32_t Pixel(int32_t x, int32_t y) {
    uint8_t p[4] = {};
    Device().FlushBatch();
    glReadBuffer(GL_BACK);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(x, kScreenH - 1 - y, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, p);
    return p[0] | p[1] << 8 | p[2] << 16;
  }

  // Every screen pixel's colour value, rows from the top.
  static std::vector<uint32_t> ScreenColours() {
    std::vector<uint8_t> rows(size_t(kScreenW) * kScreenH * 4);
    Device().FlushBatch();
    glReadBuffer(GL_BACK);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(0, 0, kScreenW, kScreenH, GL_RGBA, GL_UNSIGNED_BYTE, rows.data());
    std::vector<uint32_t> colours;
    for (int32_t y = 0; y < kScreenH; ++y) {
      for (int32_t x = 0; x < kScreenW; ++x) {
        const uint8_t* p = rows.data() + (size_t(kScreenH - 1 - y) * kScreenW + x) * 4;
        colours.push_back(p[0] | p[1] << 8 | p[2] << 16);
      }
    }
    return colours;
  }

  // Screen pixels that are not black, as (x, y) pairs in reading order.
  static std::vector<std::pair<int32_t, int32_t>> LitPixels() {
    const std::vector<uint32_t> colours = ScreenColours();
    std::vector<std::pair<int32_t, int32_t>> lit;
    for (int32_t i = 0; i < kScreenW * kScreenH; ++i) {
      if (colours[size_t(i)] != 0) lit.emplace_back(i % kScreenW, i / kScreenW);
    }
    return lit;
  }

  // A sprite from colour values (alpha 255 unless given), rows from the top.
  static void MakeSprite(int32_t id, int32_t w, int32_t h, const std::vector<uint32_t>& colours) {
    std::vector<int32_t> pixels;
    for (uint32_t c : colours) pixels.push_back(int32_t(c >> 24 ? c : c | 0xFF000000u));
    ASSERT_TRUE(Device().SpriteFromPixels(pixels, id, w, h));
  }
};

}  // namespace qrv::test
