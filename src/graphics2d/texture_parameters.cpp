// The remembered texture parameters, for the one GL context the runtime keeps.
#include "graphics2d/texture_parameters.h"

#include <unordered_map>
#include <unordered_set>

namespace qrv {
namespace {

struct ParameterRecords {
  std::unordered_map<uint32_t, KnownTextureParameters> known;
  std::unordered_set<uint32_t> handedOut;
  KnownTextureParameters unknown;  // handed out textures write here; reset on every use
};

ParameterRecords& Records() {
  static ParameterRecords records;
  return records;
}

}  // namespace

KnownTextureParameters& TextureParameters(uint32_t texture) {
  ParameterRecords& records = Records();
  if (records.handedOut.count(texture) != 0) {
    records.unknown = KnownTextureParameters();
    return records.unknown;
  }
  return records.known[texture];
}

void RecordNewTexture(uint32_t texture, int32_t wrap, int32_t filter) {
  Records().handedOut.erase(texture);
  Records().known[texture] = {wrap, filter};
}

void HandOutTexture(uint32_t texture) {
  if (texture == 0) return;
  Records().handedOut.insert(texture);
  Records().known.erase(texture);
}

}  // namespace qrv
