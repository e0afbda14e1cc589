// Runtime values: the string type, number/text conversions and comparisons,
// dynamic arrays, maths and random numbers, and the string functions.
#pragma once

#include <cstdint>

#include "quorvia/comparison.h"
#include "quorvia/rt_array.h"
#include "quorvia/rt_string.h"

namespace qrv {

// --- Number texts and conversions -------------------------------------------------------

// Decimal text of an int32 ("-12", "0").
RtString IntegerText(int32_t value);
// The runtime's text of a number: 10 significant digits, '1.e+020' exponent form.
RtString NumberText(double value);
int32_t NumberTextLength(double value);
int32_t IntegerTextLength(int32_t value);

// The number a text starts with (leading blanks skipped, 0 when there is none).
double TextToNumber(const char* text);
inline double TextToNumber(const RtString& text) {
  return TextToNumber(text.c_str());
}
// The integer a text starts with; values outside the int32 range wrap as the C library's.
int32_t TextToInteger(const char* text);
inline int32_t TextToInteger(const RtString& text) {
  return TextToInteger(text.c_str());
}

// A double truncated toward zero; values beyond the int32 range saturate, NaN gives 0.
int32_t TruncateToInteger(double value);

// Fixed-point text of value: right-aligned in at least width characters (a negative width
// aligns left), exactly `decimals` digits after the point (negative counts as 0). Width and
// decimals are truncated toward zero; the text is never cut, the buffer grows instead.
RtString FormatFixed(double width, double decimals, double value);

// --- Maths in degrees, and random numbers ------------------------------------------------

double SinDeg(double degrees);
double CosDeg(double degrees);
double TanDeg(double degrees);
double ATan2Deg(double y, double x);  // -180..180
double ASinDeg(double x);             // 90 / -90 outside -1..1
double ACosDeg(double x);             // 0 / 180 outside -1..1
double Power(double base, double exponent);
double FloatMod(double x, double y);   // 0 when y is 0
int32_t IntMod(int32_t a, int32_t b);  // 0 when b is 0; sign of a
double SquareRoot(double x);           // NaN for a negative x
double AbsNumber(double x);
int32_t AbsInteger(int32_t x);  // the int32 minimum comes back unchanged

// Re-initialises the ISAAC generator from a seed; equal seeds give equal sequences.
void SeedRandom(int32_t seed);
// 0 when n <= 0 (the generator does not advance); otherwise a value in 0..n inclusive.
int32_t Random(int32_t n);

// --- String functions ----------------------------------------------------------------------

// count bytes from start (0-based); a negative count means "to the end". Empty when out of range.
RtString Mid(const RtString& text, int32_t start, int32_t count);

// Position of the first occurrence of sought at or after start, or -1 (start past the end,
// or negative, gives -1; an empty sought text matches at start).
int32_t FindText(const char* text, const char* sought, int32_t start);
template <TextOperand T, TextOperand S>
int32_t InStr(const T& text, const S& sought, int32_t start) {
  return FindText(TextOf(text), TextOf(sought), start);
}

// Every occurrence of sought replaced, left to right; inserted text is not searched again.
// An empty sought text leaves the text unchanged.
RtString Replace(const RtString& text, const RtString& sought, const RtString& replacement);

// The text without its leading / trailing bytes that occur in set.
RtString TrimLeft(const RtString& text, const RtString& set);
RtString TrimRight(const RtString& text, const RtString& set);

// ASCII case conversion ("C" locale): copies, and in place on a block of bytes.
RtString UpperCase(const RtString& text);
RtString LowerCase(const RtString& text);
void UpperCaseInPlace(char* bytes, int32_t count);
void LowerCaseInPlace(char* bytes, int32_t count);

// Two hexadecimal digits per byte, high nibble first; count < 1 gives the empty string.
RtString HexBytes(const void* bytes, int32_t count, bool upperCase);
// A one-byte string of code's low 8 bits (code 0 gives a string holding one zero byte).
RtString Chr(int32_t code);
// The first byte as 0..255; 0 for the empty string.
int32_t Asc(const RtString& text);

// Blowfish (ECB, little-endian words) of the plain text padded with zero bytes to whole
// blocks, as lower-case hexadecimal text. An empty key acts as a key of one zero byte.
RtString Encrypt(const RtString& key, const RtString& plain);
// The inverse, up to the first zero byte of the plain text. Hex digits in either case;
// a trailing part shorter than a whole block (16 digits) is ignored.
RtString Decrypt(const RtString& key, const RtString& hex);

// The first character of text that occurs / does not occur in set, or null when none.
const char* FindFirstOf(const char* text, const char* set);
const char* FindFirstNotOf(const char* text, const char* set);

}  // namespace qrv
