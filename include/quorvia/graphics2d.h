// 2D graphics on the OpenGLZozezezi device: image files, the sprite store, drawing,
// fonts and text, off-screen surfaces and shaders.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>
#include <vector>

#include "quorvia/rt_array.h"
#include "quorvia/rt_string.h"

namespace qrv {

// --- Images --------------------------------------------------------------------------

// An image in memory: 4 bytes per pixel (red, green, blue, alpha), rows from the top, no
// row padding. The currency between the image codecs and the texture upload.
struct RgbaImage {
  int32_t width = 0;
  int32_t height = 0;
  std::vector<uint8_t> pixels;

  // Sizes the image to w x h with every byte zero, reusing the buffer when it is big enough.
  void Resize(int32_t w, int32_t h);
  // Empties the image and frees its buffer.
  void Clear();
  uint8_t* Row(int32_t y) { return pixels.data() + size_t(y) * size_t(width) * 4; }
  const uint8_t* Row(int32_t y) const { return pixels.data() + size_t(y) * size_t(width) * 4; }
  bool Empty() const { return width <= 0 || height <= 0; }
};

// A colour value: red in bits 0-7, green 8-15, blue 16-23. kNoColourKey keys nothing.
constexpr int32_t kNoColourKey = -1;

// The largest image the decoders accept: no side above 32767 (a sprite's size is 16-bit)
// and at most 2^26 pixels (256 MB of RGBA), so a small hostile file cannot ask for more.
constexpr int32_t kMaxImageSide = 32767;
constexpr int64_t kMaxImagePixels = int64_t(1) << 26;

// The decoders read a whole file held in memory. Each returns false on anything it
// does not accept and then leaves the image empty; none of them ever ends the program.
// A pixel whose red | green << 8 | blue << 16 equals the colour key becomes all zero
// (BMP always; PNG only when the file has no alpha of its own; JPEG never).
bool DecodeBmp(RgbaImage& image, std::span<const uint8_t> file, int32_t colourKey);
// name only appears in the messages printed for refused bit depths and colour types.
bool DecodePng(RgbaImage& image, std::span<const uint8_t> file, int32_t colourKey,
               std::string_view name = {});
bool DecodeJpeg(RgbaImage& image, std::span<const uint8_t> file);

// The encoders append a whole file to out; false when the image is empty or too big.
bool EncodeBmp(const RgbaImage& image, std::vector<uint8_t>& out);
bool EncodePng(const RgbaImage& image, std::vector<uint8_t>& out);
bool EncodeJpeg(const RgbaImage& image, std::vector<uint8_t>& out, int quality = 80);

// Decodes a file or a "mem://" name, trying BMP, then PNG, then JPEG, whatever the name.
bool LoadImageFile(RgbaImage& image, std::string_view name, int32_t colourKey);
// Writes PNG when the name ends in ".png", JPEG when it ends in "jpg" (either case), and
// 24-bit BMP otherwise. False when the file cannot be written; "mem://" names never can.
bool SaveImageFile(std::string_view name, const RgbaImage& image);

// --- Sprites -------------------------------------------------------------------------
// Sprite ids index the device's table of 65536 sprites; the top 32 hold the fonts. Colour
// values hold red in bits 0-7, green 8-15, blue 16-23; pixel arrays also alpha in 24-31.
// Without a graphics device, or for ids outside the table, the commands do nothing and
// return 0 / false.

// Loading clears the last error; when the file is missing or cannot be decoded the slot
// is left empty and error 3 is recorded. Pixels in the transparent colour become clear.
void LoadSprite(const RtString& name, int32_t id);
void LoadNormalMapSprite(const RtString& name, int32_t id);
void LoadAnimSprite(const RtString& name, int32_t id, int32_t frameWidth, int32_t frameHeight);
void FreeSprite(int32_t id);
// The colour keyed out of sprites and fonts loaded from now on (default 0x8000FF).
void SetTransparentColour(int32_t colour);
void SetFrameSize(int32_t id, int32_t frameWidth, int32_t frameHeight);
void SpriteSize(int32_t id, int32_t& width, int32_t& height);
void SpriteSize(int32_t id, double& width, double& height);
// The lowest free user id (0..65503), -1 when all are taken.
int32_t FirstFreeSprite();
// False, and nothing changed, unless pixels holds exactly width x height elements.
bool SpriteFromPixels(const RtArray<int32_t>& pixels, int32_t id, int32_t width, int32_t height);
bool SpriteToPixels(RtArray<int32_t>& pixels, int32_t id);
uint32_t SpriteTexture(int32_t id);
// Pixel-exact: true when an opaque pixel of one covers an opaque pixel of the other.
bool SpriteCollision(int32_t a, int32_t xA, int32_t yA, int32_t b, int32_t xB, int32_t yB);
bool FrameCollision(int32_t a, int32_t frameA, int32_t xA, int32_t yA, int32_t b, int32_t frameB,
                    int32_t xB, int32_t yB);

// --- Drawing -------------------------------------------------------------------------
// Screen pixels from the top-left corner; angles in degrees, counter-clockwise.

// 0: opaque; > 0: additive with alpha f; < 0: normal blending with alpha |f| (at most 1).
void SetAlphaMode(double factor);
// Linear (non-zero) or nearest filtering of sprites.
void SetSmoothing(int32_t flag);
void ClearScreen(int32_t colour);
void DrawSprite(int32_t id, int32_t x, int32_t y);
void DrawSpriteStretched(int32_t id, int32_t x, int32_t y, int32_t w, int32_t h);
// Scaled about the image's centre.
void DrawSpriteScaled(int32_t id, int32_t x, int32_t y, double sx, double sy);
// Turned and scaled about the centre the sprite has when drawn plainly at (x, y).
void DrawSpriteRotated(int32_t id, float x, float y, float angle, float zoom = 1.0f);
// Frames of an animation sprite, numbered left to right, top to bottom.
void DrawFrame(int32_t id, int32_t frame, int32_t x, int32_t y);
void DrawFrameRotated(int32_t id, int32_t frame, float x, float y, float angle, float zoom);
void DrawFrameStretched(int32_t id, int32_t frame, int32_t x, int32_t y, int32_t w, int32_t h);
// A polygon of sprite id (-1: untextured) as a fan (mode 0), triangles (1) or a strip (2).
// Texture positions are image pixels; colour 0xFFFFFF leaves a vertex uncoloured.
void BeginPolygon(int32_t id, int32_t mode);
void AddPolygonVertex(float x, float y, float tx, float ty, int32_t colour);
// Starts a new strip inside a strip polygon.
void BreakPolygonStrip();
// Draws the polygon; it stays and may be drawn again until the next BeginPolygon.
void EndPolygon();
void PlotPixel(int32_t x, int32_t y, int32_t colour);
void DrawLine(int32_t x1, int32_t y1, int32_t x2, int32_t y2, int32_t colour);
// Negative sizes extend to the left / upwards from (x, y).
void FillRect(int32_t x, int32_t y, int32_t w, int32_t h, int32_t colour);
// An ellipse centred on pixel (x, y), filled when filled is non-zero, else its outline; in
// the colour, alpha mode and target (screen or surface) that FillRect uses. The filled shape
// covers pixel (x + dx, y + dy) exactly when
//   (dx / (radiusX + 1/2))^2 + (dy / (radiusY + 1/2))^2 <= 1:
// the pixels whose centres lie in the ellipse through the outer edges of the pixels radiusX
// left and right of (x, y) and radiusY above and below it, so 2 radiusX + 1 pixels wide and
// 2 radiusY + 1 high. The outline is the pixels of that shape with a side on a pixel outside
// it: one pixel wide, on the filled shape's rim, joined side to side or corner to corner
// without gaps. Every pixel is drawn once, so blending does not darken any of them twice.
// A radius of 0 gives a line one pixel wide (both 0: one pixel); a negative radius draws
// nothing. Any radius is exact, and the work grows with the rows on screen, never with it.
void DrawEllipse(int32_t x, int32_t y, int32_t radiusX, int32_t radiusY, int32_t colour,
                 int32_t filled);
// DrawEllipse with both radii the radius.
void DrawCircle(int32_t x, int32_t y, int32_t radius, int32_t colour, int32_t filled);

// --- Fonts and text --------------------------------------------------------------------
// Fonts 0..31 are bitmaps of 16 character cells per row: 8 rows (codes 0..127, higher
// codes wrap) or, for a bitmap taller than wide, 16 rows (codes 0..255). Font 0 starts
// as the built-in 5 x 6 font unless "smalfont.png" or "smalfont.bmp" is found.

// Loads a font bitmap; black (or the transparent colour last set) is keyed out. The font
// becomes the selected one. A missing or undecodable file records error 3 and gives the
// font the built-in glyphs. An empty name empties the font and keeps the selection.
void LoadFont(const RtString& name, int32_t font);
// Numbers outside 0..31 are clamped.
void SelectFont(int32_t font);
// The cell size of the selected font (0, 0 when it is empty); for a TrueType font its widest
// advance and its line height.
void FontSize(int32_t& width, int32_t& height);
void FontSize(double& width, double& height);
// The lowest font number in 0..30 without a bitmap, -1 when all are taken.
int32_t FirstFreeFont();
// One line in fixed-width cells with the selected font; the text's first cell starts at
// (ceil(x), ceil(y)). Every byte is drawn, control codes included. (A TrueType font draws
// UTF-8 text instead: see LoadTrueTypeFont.) In the colour SetTextColour last set.
void PrintText(const RtString& text, float x, float y);

// TrueType (and OpenType) fonts, read by FreeType and drawn through the sprite batch.
// A font file (a disk file, a media pack member or a "mem://" name) into font slot n at
// pixelHeight pixels to the em (1..512). Like LoadFont: the number is clamped to 0..31, the
// font becomes the selected one, and a missing or damaged file, a file that is no scalable
// font or a height outside 1..512 records error 3 and gives the font the built-in glyphs; an
// empty name empties the font. PrintText (and every command that prints with the selected
// font) then draws its UTF-8 text: hinted glyphs with their kerning, each glyph origin on a
// whole pixel, the baseline at the font's ascent below ceil(y); invalid UTF-8 bytes show
// as U+FFFD. FontSize gives the widest advance and the line height. Glyphs are rendered
// once, when first printed, into the font's glyph page (its sprite slot); a glyph that finds
// no room on a full page (2048 x 2048) is left out.
void LoadTrueTypeFont(const RtString& name, int32_t font, int32_t pixelHeight);
// The colour every font draws in from now on (red in bits 0-7, green 8-15, blue 16-23).
// The default, 0xFFFFFF, draws text as it always was; another colour takes the place of
// white: it tints TrueType glyphs and the bitmap fonts' glyph bodies, and the built-in
// font's dark outline stays as it is.
void SetTextColour(int32_t colour);
// The width in pixels of the text as PrintText draws it with the selected font: a bitmap
// font's cell width for every byte, a TrueType font's advances and kerning (0 without a
// graphics device).
int32_t TextWidth(const RtString& text);

// --- Background images, grabs and off-screen surfaces ------------------------------------

// The background image drawn first in every frame (error 3 and a black screen when the
// file cannot be loaded).
void LoadBackground(const RtString& name);
// Drops the background image and clears the screen to the colour.
void ClearBackground(int32_t colour);
// The screen rectangle into a sprite; pixels of the transparent colour become clear.
bool GrabSprite(int32_t id, int32_t x, int32_t y, int32_t width, int32_t height);
// The colour value at a pixel of the frame being drawn (or of the active surface).
int32_t GetPixel(int32_t x, int32_t y);
// The frame last presented, or a sprite, as an image file (PNG, JPEG or BMP by the
// name's ending). False and error 3 when it cannot be written.
bool SaveScreen(const RtString& name);
bool SaveSprite(const RtString& name, int32_t id);
// Surface 0..31 draws into the sprite, which becomes a clear width x height image.
void CreateSurface(int32_t surface, int32_t id, int32_t width, int32_t height);
// Directs all drawing into the surface's sprite (its top-left pixel at (0, 0)) until the
// next UseSurface or present; a negative number draws on the screen again. Returns the
// surface's sprite id.
int32_t UseSurface(int32_t surface);

// --- Shaders -------------------------------------------------------------------------------
// GLSL vertex and fragment shader pairs in slots 0..254. Sources are files, media-pack
// members or "mem://" blocks. Compile and link logs go to the debug output while the
// debug flag is set.

// A message from the shader commands, one line without its line break.
using ShaderReport = void (*)(const char* message);

// False when the driver has no shaders or a source does not compile or link. A source
// that cannot be read is left out; with both left out the slot has no program.
bool LoadShader(int32_t slot, const RtString& vertexName, const RtString& fragmentName);
// Switches the slot's program on for what is drawn next; a number outside 0..254 switches
// shaders off. Present switches them off after every frame.
void UseShader(int32_t slot);
// Uniforms and vertex attributes of the program switched on, by name.
void SetShaderFloat(const RtString& name, double value);
void SetShaderInt(const RtString& name, int32_t value);
void SetShaderAttribute(const RtString& name, double value);

// --- Commands built on present ---------------------------------------------------------------

// Blends from the current screen to a new background image over the given time, one
// present per step; then the image is the background. Error 3 when it cannot be loaded.
void FadeToBackground(const RtString& name, int32_t milliseconds);
// A line typed at (x, y) over the frozen screen, with a blinking cursor, ended by Enter;
// Backspace removes the last character. text is both the start and the result.
void InputText(RtString& text, int32_t x, int32_t y);
// The same for numbers, starting empty; keys that cannot be part of a number are refused.
int32_t InputInteger(int32_t x, int32_t y);
double InputNumber(int32_t x, int32_t y);

}  // namespace qrv
