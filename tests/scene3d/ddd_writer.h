// A ".ddd" writer of the tests' own, written from the file layout alone, so that the
// reader is checked against files the project's saver did not make.
#pragma once

#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

namespace scene3d_test {

class DddBytes {
 public:
  template <typename T>
  DddBytes& Put(T value) {
    char bytes[sizeof value];
    std::memcpy(bytes, &value, sizeof value);
    text_.append(bytes, sizeof value);
    return *this;
  }
  DddBytes& Header(double version, uint32_t frames, uint32_t colours, uint32_t coordinates) {
    return Put(uint32_t{0x00C6B317}).Put(version).Put(frames).Put(colours).Put(coordinates);
  }
  // A version-2 vertex: float position, normal index, colour index.
  DddBytes& Vertex2(float x, float y, float z, uint8_t normal, uint8_t colour) {
    return Put(x).Put(y).Put(z).Put(normal).Put(colour);
  }
  // A version-1 vertex: quantised position bytes, normal index, colour index.
  DddBytes& Vertex1(uint8_t x, uint8_t y, uint8_t z, uint8_t normal, uint8_t colour) {
    return Put(x).Put(y).Put(z).Put(normal).Put(colour);
  }
  const std::string& Text() const { return text_; }

 private:
  std::string text_;
};

}  // namespace scene3d_test
