// qrv image: image files through the runtime's own codecs.
//   qrv image convert IN OUT   decodes IN (BMP, PNG or JPEG) and saves it as OUT, whose
//                              ending picks the format (.png, ...jpg, else BMP)
#include <cstdio>
#include <cstring>

#include "quorvia/graphics2d.h"
#include "tool_command.h"

static int RunImage(int argc, char** argv) {
  if (argc != 3 || std::strcmp(argv[0], "convert") != 0) {
    std::fprintf(stderr, "usage: qrv image convert IN OUT\n");
    return 2;
  }
  qrv::RgbaImage image;
  if (!qrv::LoadImageFile(image, argv[1], qrv::kNoColourKey)) {
    std::fprintf(stderr, "qrv image: %s is not a BMP, PNG or JPEG file it can read\n", argv[1]);
    return 1;
  }
  if (!qrv::SaveImageFile(argv[2], image)) {
    std::fprintf(stderr, "qrv image: cannot write %s\n", argv[2]);
    return 1;
  }
  std::printf("%s: %dx%d -> %s\n", argv[1], image.width, image.height, argv[2]);
  return 0;
}

QRV_TOOL_COMMAND(image, "convert IN OUT", RunImage);
