// qrv image: image files through the runtime's own codecs.
//   qrv image convert IN OUT   decodes IN (BMP, PNG or JPEG) and saves it as OUT, whose
//                              ending picks the format (.png, ...jpg, else BMP)
#include <cctype>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>
#include <string_view>

#include "quorvia/graphics2d.h"
#include "tool_command.h"
#include "tool_files.h"

namespace {

uint32_t Le32(const std::string& bytes, size_t at) {
  uint32_t value = 0;
  for (size_t i = 4; i-- > 0;) value = value << 8 | static_cast<unsigned char>(bytes[at + i]);
  return value;
}

// Why the runtime refused a file it could read: what the first bytes show it to be.
std::string ImageRefusal(const std::string& path) {
  std::string head;
  std::string why;
  if (!qrv::tool::ReadFileStart(path, head, 64, why)) return why;
  if (head.size() >= 34 && head.compare(0, 2, "BM") == 0) {
    uint32_t header = Le32(head, 14);
    uint32_t compression = header >= 40 ? Le32(head, 30) : 0;
    if (header == 108) return "BMP with a V4 header: save it as BMP3 (40-byte header)";
    if (header == 124) return "BMP with a V5 header: save it as BMP3 (40-byte header)";
    if (header != 12 && header != 40) return "BMP with an unknown header size";
    if (compression == 1 || compression == 2) return "RLE-compressed BMP: save it uncompressed";
    if (compression == 4 || compression == 5) return "BMP holding a JPEG or PNG: not read";
    return "damaged BMP, or one of a kind it does not read (see docs/image-files.md)";
  }
  if (head.compare(0, 8, "\x89PNG\r\n\x1a\n") == 0) {
    return "damaged PNG, or one of a kind it does not read (see docs/image-files.md)";
  }
  if (head.compare(0, 3, "\xFF\xD8\xFF") == 0) return "damaged or truncated JPEG";
  return "neither a BMP, a PNG nor a JPEG file";
}

bool EndsWithNoCase(const std::string& name, std::string_view ending) {
  if (name.size() < ending.size()) return false;
  for (size_t i = 0, at = name.size() - ending.size(); i < ending.size(); ++i) {
    if (std::tolower(static_cast<unsigned char>(name[at + i])) != ending[i]) return false;
  }
  return true;
}

int RunImage(int argc, char** argv) {
  if (argc != 3 || std::strcmp(argv[0], "convert") != 0) {
    std::fprintf(stderr, "usage: qrv image convert IN OUT\n");
    return 2;
  }
  const std::string in = argv[1];
  const std::string out = argv[2];
  qrv::RgbaImage image;
  if (!qrv::LoadImageFile(image, in, qrv::kNoColourKey)) {
    std::fprintf(stderr, "qrv image: cannot read %s: %s\n", in.c_str(), ImageRefusal(in).c_str());
    return 1;
  }
  if (!qrv::SaveImageFile(out, image)) {
    std::string why = qrv::tool::WriteProblem(out);
    std::fprintf(stderr, "qrv image: cannot write %s: %s\n", out.c_str(),
                 why.empty() ? "the image cannot be encoded" : why.c_str());
    return 1;
  }
  // The name picks the format: anything but .png and ...jpg is a BMP, whatever it says.
  bool png = out.size() > 4 && EndsWithNoCase(out, ".png");
  if (!png && !EndsWithNoCase(out, "jpg") && !EndsWithNoCase(out, ".bmp")) {
    std::fprintf(stderr,
                 "qrv image: %s was written as a BMP (only names ending in .png or jpg "
                 "give another format)\n",
                 out.c_str());
  }
  std::printf("%s: %dx%d -> %s\n", in.c_str(), image.width, image.height, out.c_str());
  return 0;
}

}  // namespace

QRV_TOOL_COMMAND(image, "convert IN OUT", RunImage);
