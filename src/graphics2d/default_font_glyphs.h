// The built-in 5 x 6 font: one 32-bit value per character code 32..127. Bit
// (5 x row + column) is set where the glyph has a pixel; row 0..5 from the top,
// column 0..4 from the left.
#pragma once

#include <cstdint>

namespace qrv {

inline constexpr int32_t kDefaultFontFirstCode = 32;

inline constexpr uint32_t kDefaultFontGlyphs[96] = {
    // 32-39
    0x00000000,
    0x08021080,
    0x00002940,
    0x15F57D40,
    0x08E619C4,
    0x14222140,
    0x0ED114E0,
    0x00001080,
    // 40-47
    0x08210880,
    0x04421040,
    0x09575480,
    0x08471080,
    0x04400000,
    0x00070000,
    0x08000000,
    0x04222100,
    // 48-55
    0x00E5294E,
    0x004210C4,
    0x00E1390E,
    0x00E4390E,
    0x0084394A,
    0x00E4384E,
    0x00E5384E,
    0x0042210E,
    // 56-63
    0x00E5394E,
    0x00E4394E,
    0x00020080,
    0x00220080,
    0x00820888,
    0x000701C0,
    0x00222082,
    0x0040310E,
    // 64-71
    0x00E0B526,
    0x00A5394E,
    0x00E5194E,
    0x00E5094E,
    0x00E52946,
    0x00E1384E,
    0x0021384E,
    0x00E5284E,
    // 72-79
    0x00A5394A,
    0x00E2108E,
    0x00E5210C,
    0x00A5194A,
    0x00E10842,
    0x015AD6BF,
    0x00A5294E,
    0x00E5294E,
    // 80-87
    0x0021394E,
    0x00F294A7,
    0x00A5194E,
    0x00E4384E,
    0x0042108E,
    0x00E5294A,
    0x0045294A,
    0x01FAD6B5,
    // 88-95
    0x00A5114A,
    0x0042394A,
    0x00E1110E,
    0x00610846,
    0x01041041,
    0x00621086,
    0x00000144,
    0x00E00000,
    // 96-103
    0x00000082,
    0x00E53000,
    0x00E53842,
    0x00E13800,
    0x00E53908,
    0x08273800,
    0x00423888,
    0x08873800,
    // 104-111
    0x00A51842,
    0x00421004,
    0x04421004,
    0x00A32842,
    0x00421084,
    0x015ABC00,
    0x00A51800,
    0x00E53800,
    // 112-119
    0x04E51800,
    0x10E53000,
    0x00253800,
    0x00E409C0,
    0x00C23884,
    0x00C52800,
    0x00452800,
    0x00EAD400,
    // 120-127
    0x00A22800,
    0x1C872800,
    0x00E121C0,
    0x00821888,
    0x00421084,
    0x00223082,
    0x0002A800,
    0x3F18C63F,
};

}  // namespace qrv
